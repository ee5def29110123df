// The job builder's walk over the rows and the batch flags it leaves for the driver.
#include "JobBuilderTestSupport.h"

#include "MediaInfo.h"

#include <chrono>
#include <thread>

namespace tavrin::test {
namespace {

TEST_F(JobBuilderTest, ConvertsCheckedRowsAndSkipsUncheckedOnes)
{
    AddFile(Fixture("short.avi"));
    AddFile(Fixture("short.mkv"), false);
    AddFile(Fixture("short.mov"));
    TBatchState& batch = Window.Batch();

    Build();
    EXPECT_EQ(batch.CurrentRow, 0);
    EXPECT_FALSE(batch.IsLastRow);
    EXPECT_FALSE(batch.BatchFinished);
    EXPECT_TRUE(Builder.LastJob().Started);
    EXPECT_EQ(TaskCount(), 1);
    ASSERT_TRUE(WaitUntilIdle());
    EXPECT_EQ(Progress(0), "Done");

    Build();
    EXPECT_EQ(batch.CurrentRow, 2);
    EXPECT_TRUE(batch.IsLastRow);
    EXPECT_TRUE(batch.BatchFinished);
    ASSERT_TRUE(WaitUntilIdle());
    EXPECT_EQ(Progress(2), "Done");
    EXPECT_EQ(Progress(1), "");
    EXPECT_TRUE(Window.Messages().empty());

    const MediaInfo first = ProbeMedia((Out / "short.mp4").string());
    ASSERT_TRUE(first.ok);
    EXPECT_EQ(first.Count("video"), 1);
    EXPECT_TRUE(ProbeMedia((Out / "short-1.mp4").string()).ok);
    EXPECT_FALSE(std::filesystem::exists(Out / "short-2.mp4"));
}

TEST_F(JobBuilderTest, UncheckedLastRowEndsTheBatchWithoutATask)
{
    AddFile(Fixture("short.avi"));
    AddFile(Fixture("short.mkv"), false);
    AddFile(Fixture("short.mov"), false);
    TBatchState& batch = Window.Batch();
    batch.CurrentRow = 0;

    Build();
    EXPECT_EQ(batch.CurrentRow, 2);
    EXPECT_TRUE(batch.IsLastRow);
    EXPECT_TRUE(batch.BatchFinished);
    EXPECT_FALSE(batch.Converting);
    EXPECT_EQ(TaskCount(), 0);
    EXPECT_FALSE(Builder.LastJob().Started);
    for (int row = 0; row < 3; ++row)
        EXPECT_EQ(Progress(row), "") << row;
    // The driver, not the builder, reports the end of such a batch.
    EXPECT_TRUE(Window.Messages().empty());
    EXPECT_TRUE(std::filesystem::is_empty(Out));
}

// A whole batch driven by the timer steps, as the window runs it.
TEST_F(JobBuilderTest, DriverRunsEveryCheckedRowAndReportsCompletion)
{
    AddFile(Fixture("short.avi"), false);
    AddFile(Fixture("notmedia.avi"));
    AddFile(Fixture("short.mov"));
    StartBatch(Window, Builder, Engine);
    for (int tick = 0; tick < 600 && !Window.DriverTimerStopped(); ++tick) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        DriverTimerTick(Window, Builder, Engine);
    }
    ASSERT_TRUE(Window.DriverTimerStopped());
    EXPECT_EQ(Progress(0), "");
    EXPECT_EQ(Progress(1), "Fail");
    EXPECT_EQ(Progress(2), "Done");
    EXPECT_EQ(Window.Messages(), std::vector<std::string>{"All Conversions Completed"});
    EXPECT_EQ(Window.EnableControlsCount(), 1);
    EXPECT_FALSE(Window.Batch().Converting);
}

}  // namespace
}  // namespace tavrin::test
