// tavrin-window-picture OUTPUT.png: draws the converter window with sample rows, without a
// display, and saves the picture.
#include "dialogs/Dialogs.h"
#include "window/MainWindow.h"
#include "window/WindowPicture.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: tavrin-window-picture OUTPUT.png\n");
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    tavrin::TQtDialogs dialogs;
    tavrin::TForm1 form(dialogs);
    if (!form.Created())
        return 1;
    form.show();
    tavrin::StageSampleBatch(form);
    const QImage picture = tavrin::RenderWindowPicture(form);
    if (picture.isNull() || !picture.save(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "tavrin-window-picture: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
