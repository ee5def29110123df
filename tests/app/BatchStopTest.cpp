// Stop during a batch: No lets the batch go on, Yes ends it with "Abort" and no completion
// box; Stop while idle asks nothing.
#include "WindowTestSupport.h"

#include "list/SourceList.h"

#include <QFileInfo>
#include <QProgressBar>
#include <QTimer>
#include <QToolButton>

namespace tavrin::test {
namespace {

const QString kCompleted = QStringLiteral("All Conversions Completed");

TEST_F(WindowTest, StopAnsweredNoLetsTheBatchGoOn)
{
    UseOutputFolder();
    AddFiles(MakeClips({"a.avi", "b.avi"}));
    Find<QToolButton>(*form, "ButtonConvert")->click();
    ASSERT_TRUE(form->Batch().State().Converting);

    dialogs.Answers = {false};
    Find<QToolButton>(*form, "ButtonStopConvert")->click();
    EXPECT_EQ(dialogs.Questions, QStringList({"Stop all conversions?"}));
    EXPECT_TRUE(form->Batch().State().Converting);
    EXPECT_FALSE(form->Batch().State().UserAborted);
    EXPECT_TRUE(Find<QTimer>(*form, "TimerConvertAgain")->isActive());

    ASSERT_TRUE(WaitUntil([&] { return dialogs.Shown(kCompleted) > 0; }));
    EXPECT_EQ(Progress(0), "Done");
    EXPECT_EQ(Progress(1), "Done");
    EXPECT_EQ(dialogs.Shown(kCompleted), 1);
}

TEST_F(WindowTest, StopAnsweredYesAbortsTheRowAndShowsNoCompletion)
{
    const QString out = UseOutputFolder();
    AddFiles(MakeClips({"a.avi", "b.avi"}));
    Find<QToolButton>(*form, "ButtonConvert")->click();
    ASSERT_TRUE(form->Batch().State().Converting);

    dialogs.Answers = {true};
    Find<QToolButton>(*form, "ButtonStopSmall")->click();  // the small Stop clicks the big one
    EXPECT_EQ(dialogs.Questions.size(), 1);
    EXPECT_TRUE(form->Batch().State().UserAborted);
    EXPECT_TRUE(form->Batch().State().BatchFinished);
    EXPECT_FALSE(form->Batch().State().Converting);
    EXPECT_FALSE(Find<QTimer>(*form, "TimerConvertAgain")->isActive());
    EXPECT_TRUE(Find<QToolButton>(*form, "ButtonConvert")->isEnabled());
    EXPECT_EQ(Find<QProgressBar>(*form, "ProgressBar1")->value(), 0);

    ASSERT_TRUE(WaitUntil([&] { return Progress(0) == "Abort"; }, 30000));
    QTest::qWait(700);
    EXPECT_EQ(dialogs.Shown(kCompleted), 0);
    EXPECT_EQ(Progress(1), "");
    EXPECT_FALSE(QFileInfo::exists(out + "/b.mp4"));
    // The final notification emptied the engine's list.
    EXPECT_TRUE(WaitUntil([&] { return form->Engine().Tasks().Count() == 0; }, 5000));
}

TEST_F(WindowTest, StopWhileIdleAsksNothing)
{
    Find<QToolButton>(*form, "ButtonStopConvert")->click();
    EXPECT_TRUE(dialogs.Questions.isEmpty());
    EXPECT_FALSE(form->Batch().State().Converting);
    EXPECT_FALSE(Find<QTimer>(*form, "TimerConvertAgain")->isActive());
    EXPECT_TRUE(Find<QToolButton>(*form, "ButtonConvert")->isEnabled());
}

}  // namespace
}  // namespace tavrin::test
