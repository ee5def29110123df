// Nothing slips in between two rows of a batch: drops are refused for the whole batch and
// say so, closing asks and waits for the running task's file, and "Exit" while files are
// being added ends without probing the rest.
#include "WindowTestSupport.h"

#include "MediaInfo.h"
#include "list/SourceList.h"

#include <QAction>
#include <QFileInfo>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>

namespace tavrin::test {
namespace {

const QString kCompleted = QStringLiteral("All Conversions Completed");

// The 200-400 ms between a row's end and the next row's start.
bool WaitForGapAfterRow(TForm1& form, int row)
{
    return WaitUntil([&] {
        return form.List().Cell(row, scProgress) == "Done" && !form.Batch().State().Converting &&
               Find<QTimer>(form, "TimerConvertAgain")->isActive();
    });
}

TEST_F(WindowTest, DropsAreRefusedForTheWholeBatchAndSaySo)
{
    UseOutputFolder();
    const QStringList clips = MakeClips({"a.avi", "b.avi", "late.avi"});
    AddFiles(clips.mid(0, 2));
    Find<QToolButton>(*form, "ButtonConvert")->click();

    DropFiles({clips[2]});  // while the first row converts
    EXPECT_EQ(form->List().RowCount(), 2);
    EXPECT_TRUE(StatusNote().contains("cannot be added")) << StatusNote().toStdString();

    ASSERT_TRUE(WaitForGapAfterRow(*form, 0));
    Find<QStatusBar>(*form, "StatusBar1")->clearMessage();
    DropFiles({clips[2]});  // between the two rows
    EXPECT_EQ(form->List().RowCount(), 2);
    EXPECT_EQ(Progress(0), "Done");
    EXPECT_TRUE(StatusNote().contains("cannot be added")) << StatusNote().toStdString();

    ASSERT_TRUE(WaitUntil([&] { return !form->Batch().Running(); }));
    EXPECT_EQ(Progress(0), "Done");
    EXPECT_EQ(Progress(1), "Done");
    EXPECT_EQ(form->List().RowCount(), 2);

    DropFiles({clips[2]});  // after the batch
    EXPECT_EQ(form->List().RowCount(), 3);
    EXPECT_EQ(Progress(0), "Done");
}

enum class TCloseMoment { whileRowConverts, betweenRows };

struct TCloseCase {
    const char* Name;
    TCloseMoment Moment;
    bool Answer;
};
void PrintTo(const TCloseCase& c, std::ostream* out)
{
    *out << c.Name;
}


class ClosingDuringABatch : public WindowTest, public ::testing::WithParamInterface<TCloseCase> {};

TEST_P(ClosingDuringABatch, AsksAndQuitsOnlyOnYesWithTheFileFinished)
{
    const TCloseCase& c = GetParam();
    const QString out = UseOutputFolder();
    // Long enough that the first row is still converting when the window is closed.
    const QString longClip = Path("long.avi");
    ASSERT_FALSE(MakeClip(longClip, c.Moment == TCloseMoment::whileRowConverts ? 30.0 : 1.0).empty());
    AddFiles(QStringList{longClip} + MakeClips({"b.avi"}));
    int saves = 0;
    form->OnSaveSettings = [&] { ++saves; };

    Find<QToolButton>(*form, "ButtonConvert")->click();
    if (c.Moment == TCloseMoment::whileRowConverts)
        ASSERT_TRUE(WaitUntil([&] { return Progress(0).endsWith('%'); }));
    else
        ASSERT_TRUE(WaitForGapAfterRow(*form, 0));

    dialogs.Answers = {c.Answer};
    const bool closed = form->close();
    EXPECT_EQ(dialogs.Questions, QStringList({"Stop all conversions and quit?"}));
    EXPECT_EQ(closed, c.Answer);
    EXPECT_EQ(form->isVisible(), !c.Answer);
    if (!c.Answer) {
        // The batch goes on to its end.
        ASSERT_TRUE(WaitUntil([&] { return dialogs.Shown(kCompleted) > 0; }, 120000));
        EXPECT_EQ(Progress(0), "Done");
        EXPECT_EQ(Progress(1), "Done");
        EXPECT_EQ(saves, 0);
        return;
    }
    EXPECT_EQ(saves, 1);
    // The running task has ended before the window went: its file is complete.
    EXPECT_EQ(form->Engine().Tasks().Count(), 0);
    const MediaInfo first = ProbeMedia((out + "/long.mp4").toStdString());
    EXPECT_TRUE(first.ok);
    EXPECT_GT(first.duration, 0.0);
    QTest::qWait(700);
    EXPECT_FALSE(QFileInfo::exists(out + "/b.mp4"));
    EXPECT_EQ(dialogs.Shown(kCompleted), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Window, ClosingDuringABatch,
    ::testing::Values(TCloseCase{"NoWhileConverting", TCloseMoment::whileRowConverts, false},
                      TCloseCase{"YesWhileConverting", TCloseMoment::whileRowConverts, true},
                      TCloseCase{"YesBetweenRows", TCloseMoment::betweenRows, true}),
    [](const ::testing::TestParamInfo<TCloseCase>& info) { return info.param.Name; });

TEST_F(WindowTest, ExitWhileAddingEndsWithoutProbingTheRest)
{
    const QStringList clips = MakeClips({"a.avi", "b.avi", "c.avi", "d.avi"});
    // Runs between the first and the second file.
    QTimer::singleShot(0, form.get(), [&] { Find<QAction>(*form, "Exit1")->trigger(); });
    AddFiles(clips);
    EXPECT_EQ(form->List().RowCount(), 1);
    EXPECT_FALSE(form->List().Adding());
}

}  // namespace
}  // namespace tavrin::test
