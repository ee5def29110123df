// tavrin-converter: the converter window.
#include "Dialogs.h"
#include "MainWindow.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tavrin Apple TV Converter"));
    QApplication::setApplicationDisplayName(QStringLiteral("Tavrin Apple TV Converter"));

    tavrin::TQtDialogs dialogs;
    tavrin::TForm1 form(dialogs);
    if (!form.Created())
        return 1;  // the codec libraries are missing; the user has been told
    form.show();
    return QApplication::exec();
}
