// tavrin-converter: the converter window.
#include "dialogs/Dialogs.h"
#include "window/MainWindow.h"
#include "window/StartUp.h"

#include <QApplication>

#include <csignal>

int main(int argc, char* argv[])
{
    // Beyond a file-size limit a write fails and the row says so, instead of the program dying.
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tavrin Apple TV Converter"));
    QApplication::setApplicationDisplayName(QStringLiteral("Tavrin Apple TV Converter"));
    // Lets the desktop match the window to its menu entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("tavrin-converter"));

    tavrin::TQtDialogs dialogs;
    tavrin::TConverterWindows windows(dialogs);
    if (!windows.Created())
        return 1;  // the codec libraries are missing; the user has been told
    windows.Form1().show();
    return QApplication::exec();
}
