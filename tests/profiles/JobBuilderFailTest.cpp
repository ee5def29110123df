// Rows that cannot be converted: the row reads "Fail", no task is left behind, and the
// driver either moves on or, on the last row, has the batch ended already.
#include "JobBuilderTestSupport.h"

#include <chrono>
#include <thread>

namespace tavrin::test {
namespace {

class JobBuilderFailTest : public JobBuilderTest {
protected:
    void ExpectMovesOn()
    {
        TBatchState& batch = Window.Batch();
        EXPECT_FALSE(batch.Converting);
        EXPECT_EQ(batch.IdleTicks, 0);
        EXPECT_FALSE(batch.BatchFinished);
        EXPECT_TRUE(Window.Messages().empty());
        EXPECT_FALSE(Window.DriverTimerStopped());
        EXPECT_EQ(TaskCount(), 0);
    }
    void ExpectBatchEnded()
    {
        TBatchState& batch = Window.Batch();
        EXPECT_FALSE(batch.Converting);
        EXPECT_TRUE(batch.BatchFinished);
        EXPECT_TRUE(Window.DriverTimerStopped());
        EXPECT_EQ(Window.Messages(), std::vector<std::string>{"All Conversions Completed"});
        EXPECT_EQ(Window.EnableControlsCount(), 1);
        EXPECT_EQ(Window.ProgressBarPosition(), 0);
        EXPECT_EQ(TaskCount(), 0);
    }
    // A stopped task would report its end some time later; give it the chance.
    void LetLateEventsArrive() { std::this_thread::sleep_for(std::chrono::milliseconds(300)); }
};

TEST_F(JobBuilderFailTest, InputTheEngineRejectsOnAMiddleRow)
{
    AddFile(Fixture("notmedia.avi"));
    AddFile(Fixture("short.avi"));
    Window.Batch().IdleTicks = 1;
    Build();
    EXPECT_EQ(Progress(0), "Fail");
    EXPECT_FALSE(Builder.LastJob().FailText.empty());
    EXPECT_EQ(Builder.LastJob().TaskIndex, -1);
    ExpectMovesOn();
    EXPECT_EQ(Window.EnableControlsCount(), 0);
}

TEST_F(JobBuilderFailTest, InputTheEngineRejectsOnTheLastRow)
{
    AddFile(Fixture("short.avi"), false);
    AddFile(Fixture("truncated.mp4"));
    Window.SetProgressBar(40);
    Build();
    EXPECT_EQ(Progress(1), "Fail");
    ExpectBatchEnded();
}

TEST_F(JobBuilderFailTest, OutputThatCannotBeSetUpOnAMiddleRow)
{
    AddFile(Fixture("short.avi"));
    AddFile(Fixture("short.mov"));
    Window.OutputFolder = (Work / "missing").string();
    Build();
    EXPECT_EQ(Progress(0), "Fail");
    EXPECT_FALSE(Builder.LastJob().FailText.empty());
    EXPECT_FALSE(Builder.LastJob().Started);
    ExpectMovesOn();
    LetLateEventsArrive();
    EXPECT_EQ(Progress(0), "Fail");
}

TEST_F(JobBuilderFailTest, OutputThatCannotBeSetUpOnTheLastRow)
{
    AddFile(Fixture("short.avi"));
    Window.Settings.VideoSize.Clear();
    Window.Settings.VideoSize.Add("321 x 240");  // odd widths are refused by the engine
    Window.Settings.VideoSize.SetItemIndex(0);
    Build();
    EXPECT_EQ(Progress(0), "Fail");
    ExpectBatchEnded();
    LetLateEventsArrive();
    EXPECT_EQ(Progress(0), "Fail");
}

// A setting text that is not a number fails after the row's task was added. The row stays
// "Fail": the task is removed, so no late end report can turn it into "Done".
TEST_F(JobBuilderFailTest, UnexpectedErrorOnAMiddleRowLeavesTheRowFailed)
{
    AddFile(Fixture("short.avi"));
    AddFile(Fixture("short.mov"));
    Window.Settings.VideoBitrate.Clear();
    Window.Settings.VideoBitrate.Add("lots Kbps");
    Window.Settings.VideoBitrate.SetItemIndex(0);
    Window.SetProgressBar(70);
    Window.Batch().IdleTicks = 1;
    Build();
    EXPECT_EQ(Progress(0), "Fail");
    EXPECT_NE(Builder.LastJob().FailText.find("lots000"), std::string::npos);
    EXPECT_EQ(Window.ProgressBarPosition(), 0);
    EXPECT_FALSE(Builder.LastJob().Started);
    ExpectMovesOn();
    LetLateEventsArrive();
    EXPECT_EQ(Progress(0), "Fail");
    EXPECT_FALSE(std::filesystem::exists(Out / "short.mp4"));
}

TEST_F(JobBuilderFailTest, UnexpectedErrorOnTheLastRowFinishesTheBatch)
{
    AddFile(Fixture("short.avi"));
    Window.Settings.SampleRate.Clear();
    Window.Settings.SampleRate.Add("many Hz");
    Window.Settings.SampleRate.SetItemIndex(0);
    Build();
    EXPECT_EQ(Progress(0), "Fail");
    TBatchState& batch = Window.Batch();
    EXPECT_FALSE(batch.Converting);
    EXPECT_TRUE(batch.BatchFinished);
    // The driver's next tick shows the completion box.
    EXPECT_TRUE(Window.Messages().empty());
    EXPECT_EQ(TaskCount(), 0);
    LetLateEventsArrive();
    EXPECT_EQ(Progress(0), "Fail");
}

}  // namespace
}  // namespace tavrin::test
