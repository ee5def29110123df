#include "WindowTestSupport.h"

#include "MediaInfo.h"
#include "list/SourceList.h"

#include <QDir>
#include <QMessageBox>
#include <QPainter>
#include <QDropEvent>
#include <QMimeData>
#include <QStatusBar>
#include <QUrl>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>
#include <QTreeWidgetItem>

namespace tavrin::test {

void TScriptedDialogs::Information(QWidget*, const QString& text)
{
    Informations << text;
    if (OnInformation)
        OnInformation(text);
}

bool TScriptedDialogs::Confirm(QWidget*, const QString& text)
{
    Questions << text;
    if (Answers.empty())
        return false;
    const bool answer = Answers.front();
    Answers.pop_front();
    return answer;
}

QStringList TScriptedDialogs::OpenFiles(QWidget*, const QString& filter)
{
    ++OpenCount;
    LastFilter = filter;
    return FilesToOpen;
}

QString TScriptedDialogs::ChooseFolder(QWidget*, const QString& caption, const QString&)
{
    FolderCaptions << caption;
    return FolderToChoose;
}

void TScriptedDialogs::About(QWidget*, const QString&, const QString& text)
{
    AboutTexts << text;
}

bool WaitUntil(const std::function<bool()>& cond, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!cond()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QTest::qWait(20);
    }
    return true;
}

void SaveShot(QWidget& window, const QString& name, const QString& boxText)
{
    const QString folder = qEnvironmentVariable("TAVRIN_SHOTS");
    if (folder.isEmpty())
        return;
    QApplication::processEvents();
    QImage picture = window.grab().toImage();
    if (!boxText.isEmpty()) {
        QMessageBox box(QMessageBox::Information, QStringLiteral("Information"), boxText,
                        QMessageBox::Ok, &window);
        box.show();
        QApplication::processEvents();
        const QImage shown = box.grab().toImage();
        QPainter painter(&picture);
        const QPoint at((picture.width() - shown.width()) / 2, (picture.height() - shown.height()) / 2);
        painter.drawImage(at, shown);
        painter.setPen(Qt::black);
        painter.drawRect(QRect(at, shown.size()).adjusted(-1, -1, 0, 0));
    }
    const QString suffix = qEnvironmentVariable("TAVRIN_SHOT_SUFFIX", QStringLiteral("now"));
    picture.save(QDir(folder).filePath(name + "-" + suffix + ".png"));
}

std::string MakeClip(const QString& path, double seconds, int width, int height)
{
    const std::string d = std::to_string(seconds);
    std::string command = "ffmpeg -hide_banner -loglevel error -nostats -y ";
    if (width > 0)
        command += "-f lavfi -i testsrc2=size=" + std::to_string(width) + "x" +
                   std::to_string(height) + ":rate=25:duration=" + d + " ";
    command += "-f lavfi -i sine=frequency=440:sample_rate=44100:duration=" + d + " -ac 2 ";
    if (width > 0)
        command += "-c:v mpeg4 -q:v 5 ";
    command += "-shortest '" + path.toStdString() + "'";
    if (Shell(command) != 0)
        return {};
    return path.toStdString();
}

void WindowTest::SetUp()
{
    ASSERT_TRUE(dir.isValid());
    form = std::make_unique<TForm1>(dialogs);
    ASSERT_TRUE(form->Created());
    form->show();
    QApplication::processEvents();
}

void WindowTest::TearDown()
{
    // A batch still running when a test fails must not outlive the window.
    form.reset();
}

QString WindowTest::UseOutputFolder()
{
    const QString out = Path(QStringLiteral("out"));
    QDir().mkpath(out);
    Find<QLineEdit>(*form, "EditOutputFolder")->setText(out);
    return out;
}

void WindowTest::AddFiles(const QStringList& paths)
{
    dialogs.FilesToOpen = paths;
    Find<QToolButton>(*form, "ButtonAddFile")->click();
}

void WindowTest::DropFiles(const QStringList& paths)
{
    QMimeData data;
    QList<QUrl> urls;
    for (const QString& path : paths)
        urls << QUrl::fromLocalFile(path);
    data.setUrls(urls);
    QWidget* viewport = Find<QTreeWidget>(*form, "ListView1")->viewport();
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &enter);
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &drop);
}

QString WindowTest::StatusNote() const
{
    return Find<QStatusBar>(*form, "StatusBar1")->currentMessage();
}

QStringList WindowTest::MakeClips(const QStringList& names, double seconds)
{
    QStringList paths;
    for (const QString& name : names) {
        const QString path = Path(name);
        EXPECT_FALSE(MakeClip(path, seconds).empty()) << name.toStdString();
        paths << path;
    }
    return paths;
}

QString WindowTest::Progress(int row) const
{
    return form->List().Cell(row, scProgress);
}

QString WindowTest::Frames(int row) const
{
    return form->List().Cell(row, scFrames);
}

void WindowTest::SetChecked(int row, bool checked)
{
    form->List().Row(row)->setCheckState(scFileName, checked ? Qt::Checked : Qt::Unchecked);
}

}  // namespace tavrin::test
