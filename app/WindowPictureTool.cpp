// tavrin-window-picture OUTPUT.png OUTPUT-FOLDER FILE...: converts the files in the window,
// without a display, and saves a picture of it once one file is done, one has failed and
// one is being converted. scripts/window-picture.sh makes the clips and the README picture.
#include "dialogs/Dialogs.h"
#include "window/MainWindow.h"
#include "window/WindowPicture.h"

#include <QApplication>

#include <cstdio>

namespace {

// No box may wait for a click: nobody is there to give it.
class TSilentDialogs final : public tavrin::TDialogs {
public:
    void Information(QWidget*, const QString& text) override
    {
        std::fprintf(stderr, "tavrin-window-picture: %s\n", qPrintable(text));
    }
    bool Confirm(QWidget*, const QString&) override { return true; }
    QStringList OpenFiles(QWidget*, const QString&) override { return {}; }
    QString ChooseFolder(QWidget*, const QString&, const QString&) override { return {}; }
    void About(QWidget*, const QString&, const QString&) override {}
};

}  // namespace

int main(int argc, char* argv[])
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: tavrin-window-picture OUTPUT.png OUTPUT-FOLDER FILE...\n");
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    TSilentDialogs dialogs;
    tavrin::TForm1 form(dialogs);
    if (!form.Created())
        return 1;
    form.show();
    QStringList files;
    for (int i = 3; i < argc; ++i)
        files << QString::fromLocal8Bit(argv[i]);
    if (!tavrin::RunSampleBatch(form, files, QString::fromLocal8Bit(argv[2]))) {
        std::fprintf(stderr, "tavrin-window-picture: the batch did not reach a done, a failed "
                             "and a converting row\n");
        return 1;
    }
    const QImage picture = tavrin::RenderWindowPicture(form);
    if (picture.isNull() || !picture.save(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "tavrin-window-picture: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
