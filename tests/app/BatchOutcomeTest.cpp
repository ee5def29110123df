// The end of a batch tells the truth: the final box and the status bar say what became of
// the rows, a Stop leaves nothing of the stopped task in the status bar, and a Start with
// nothing checked starts nothing.
#include "WindowTestSupport.h"

#include "list/SourceList.h"

#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>
#include <QToolButton>

namespace tavrin::test {
namespace {

QString Panel(TForm1& form, int index)
{
    return Find<QLabel>(form, index == 0 ? "StatusPanel0" : "StatusPanel1")->text();
}

void WriteNotMedia(const QString& path)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(4000, 'x'));
}

struct TOutcomeCase {
    const char* Name;
    QStringList Files;  // "*" marks a file that is not media
    QString Outcome;
};
void PrintTo(const TOutcomeCase& c, std::ostream* out)
{
    *out << c.Name;
}


class BatchOutcome : public WindowTest, public ::testing::WithParamInterface<TOutcomeCase> {};

TEST_P(BatchOutcome, TheBoxAndTheStatusBarSayWhatBecameOfTheRows)
{
    const TOutcomeCase& c = GetParam();
    UseOutputFolder();
    QStringList paths;
    for (const QString& file : c.Files) {
        if (file.startsWith('*'))
            WriteNotMedia(Path(file.mid(1)));
        else
            MakeClips({file});
        paths << Path(file.startsWith('*') ? file.mid(1) : file);
    }
    AddFiles(paths);
    QString panelsAtBox;
    dialogs.OnInformation = [&](const QString&) {
        panelsAtBox = Panel(*form, 0) + " | " + Panel(*form, 1);
        SaveShot(*form, QStringLiteral("item4-%1").arg(c.Name), dialogs.Informations.last());
    };

    Find<QToolButton>(*form, "ButtonConvert")->click();
    ASSERT_TRUE(WaitUntil([&] { return !dialogs.Informations.isEmpty(); }));
    QTest::qWait(500);
    EXPECT_EQ(dialogs.Informations, QStringList({c.Outcome}));
    // While the box is open the status bar already shows the end, not the last task.
    EXPECT_EQ(panelsAtBox, "Ready | " + c.Outcome);
    EXPECT_EQ(Panel(*form, 0), "Ready");
    EXPECT_EQ(Panel(*form, 1), c.Outcome);
}

INSTANTIATE_TEST_SUITE_P(
    Window, BatchOutcome,
    ::testing::Values(
        TOutcomeCase{"AllDone", {"a.avi", "b.avi"}, "All Conversions Completed"},
        TOutcomeCase{"SomeFailed", {"*notes.avi", "a.avi", "*more.avi"}, "1 file converted, 2 failed"},
        TOutcomeCase{"LastRowFails", {"a.avi", "b.avi", "*notes.avi"}, "2 files converted, 1 failed"},
        TOutcomeCase{"AllFailed", {"*notes.avi"}, "0 files converted, 1 failed"}),
    [](const ::testing::TestParamInfo<TOutcomeCase>& info) { return info.param.Name; });

TEST_F(WindowTest, StartWithNothingCheckedStartsNothingAndSaysSo)
{
    const QString out = UseOutputFolder();
    AddFiles(MakeClips({"a.avi", "b.avi"}));
    form->List().UncheckAllItems1Click();

    Find<QToolButton>(*form, "ButtonConvert")->click();
    EXPECT_EQ(dialogs.Informations,
              QStringList({"No file is checked. Check the files to convert, then press Start."}));
    EXPECT_FALSE(form->Batch().State().Converting);
    EXPECT_FALSE(Find<QTimer>(*form, "TimerConvertAgain")->isActive());
    EXPECT_TRUE(Find<QToolButton>(*form, "ButtonConvert")->isEnabled());
    QTest::qWait(600);
    EXPECT_EQ(dialogs.Informations.size(), 1);
    EXPECT_EQ(form->Engine().Tasks().Count(), 0);
    EXPECT_TRUE(QDir(out).isEmpty());
    EXPECT_EQ(Panel(*form, 0), "Ready");
}

TEST_F(WindowTest, AfterAStopTheStatusBarShowsTheOutcomeAndNothingOfTheTask)
{
    UseOutputFolder();
    const QString longClip = Path("long.avi");
    ASSERT_FALSE(MakeClip(longClip, 30.0).empty());
    AddFiles(QStringList{longClip} + MakeClips({"b.avi"}));
    Find<QToolButton>(*form, "ButtonConvert")->click();
    ASSERT_TRUE(WaitUntil([&] { return Panel(*form, 1).startsWith("File Size"); }));

    dialogs.Answers = {true};
    Find<QToolButton>(*form, "ButtonStopConvert")->click();
    ASSERT_TRUE(WaitUntil([&] { return Progress(0) == "Abort"; }, 30000));
    // Reports the stopping task sent late have been handled by now.
    QTest::qWait(800);
    SaveShot(*form, QStringLiteral("item6"));
    EXPECT_EQ(Panel(*form, 0), "Ready");
    EXPECT_EQ(Panel(*form, 1), "0 files converted, 1 stopped");
    EXPECT_EQ(Find<QProgressBar>(*form, "ProgressBar1")->value(), 0);
    EXPECT_TRUE(dialogs.Informations.isEmpty());
}

}  // namespace
}  // namespace tavrin::test
