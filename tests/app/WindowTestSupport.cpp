#include "WindowTestSupport.h"

#include "MediaInfo.h"
#include "list/SourceList.h"

#include <QDir>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>
#include <QTreeWidgetItem>

namespace tavrin::test {

void TScriptedDialogs::Information(QWidget*, const QString& text)
{
    Informations << text;
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
