// The batch that converts several rows at once, over real engines and real files: rows run
// side by side and each ends in its own state, Stop aborts them all with finished files,
// a failing row leaves the others alone, and rows that would write one file take turns.
#include "JobBuilderTestSupport.h"

#include "CodecThreads.h"
#include "MediaInfo.h"
#include "ParallelBatch.h"

#include <chrono>
#include <map>
#include <thread>

namespace tavrin::test {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono;

class ParallelBatchTest : public JobBuilderTest {
protected:
    // Records what the batch reports, in order: "start 0", "end 0 Done" ...
    void Watch(TParallelBatch& batch)
    {
        batch.OnRowStarted = [this](int row, const TJobRecord&) {
            Events.push_back("start " + std::to_string(row));
        };
        batch.OnRowEnded = [this](int row, const std::string& status, const std::string& reason) {
            Events.push_back("end " + std::to_string(row) + " " + status);
            Reasons[row] = reason;
        };
    }
    // The driver timer until the batch ends itself; false when it does not.
    bool RunToTheEnd(TParallelBatch& batch)
    {
        const auto deadline = steady_clock::now() + seconds(120);
        while (!Window.DriverTimerStopped() && steady_clock::now() < deadline) {
            std::this_thread::sleep_for(milliseconds(20));
            batch.Tick();
        }
        return Window.DriverTimerStopped();
    }
    // A clip long enough to be stopped halfway.
    std::string LongClip(const std::string& name)
    {
        const std::string path = (Work / name).string();
        EXPECT_EQ(Shell("ffmpeg -hide_banner -loglevel error -f lavfi -i testsrc2=size=320x240:rate=25:duration=40 "
                        "-f lavfi -i sine=duration=40 -c:v mpeg4 -q:v 8 -c:a mp3 -shortest '" + path + "'"),
                  0);
        return path;
    }
    void ExpectClip(const fs::path& file, double seconds)
    {
        const MediaInfo info = ProbeMedia(file.string());
        ASSERT_TRUE(info.ok) << file;
        EXPECT_EQ(info.Count("video"), 1) << file;
        EXPECT_EQ(info.Count("audio"), 1) << file;
        EXPECT_NEAR(info.duration, seconds, 0.15) << file;
    }
    void ExpectBatchCompleted()
    {
        EXPECT_EQ(Window.Messages(), std::vector<std::string>{"All Conversions Completed"});
        EXPECT_EQ(Window.EnableControlsCount(), 1);
        EXPECT_FALSE(Window.Batch().Converting);
        EXPECT_TRUE(Window.Batch().BatchFinished);
    }

    std::vector<std::string> Events;
    std::map<int, std::string> Reasons;
};

TEST_F(ParallelBatchTest, TwoRowsConvertAtOnceAndBothEndDone)
{
    AddFile(CopyFixture("clip.avi", "a.avi"));
    AddFile(CopyFixture("clip.mkv", "b.mkv"));
    TParallelBatch batch(Window, Builder, 2);
    Watch(batch);

    batch.Start();
    // Both rows were handed to a lane before either ended, and they share the cores.
    EXPECT_EQ(Events, (std::vector<std::string>{"start 0", "start 1"}));
    batch.ForEachEngine([](TCustomFFmpegEngine& engine) {
        EXPECT_EQ(engine.CodecThreads(), std::max(1, MachineCores() / 2)) << "the cores are not shared out";
    });
    EXPECT_TRUE(Window.Batch().Converting);
    ASSERT_TRUE(RunToTheEnd(batch));

    EXPECT_EQ(Progress(0), "Done");
    EXPECT_EQ(Progress(1), "Done");
    EXPECT_EQ(Window.RowCell(0, rcFrames), "75");
    ExpectBatchCompleted();
    ExpectClip(Out / "a.mp4", 3.0);
    ExpectClip(Out / "b.mp4", 3.0);
}

// Stop while both rows convert: both end "Abort", each file is finished and readable, the
// row behind them never starts, and no completion message is shown.
TEST_F(ParallelBatchTest, StopDuringATwoRowRunAbortsBothWithPlayableFiles)
{
    AddFile(LongClip("first.avi"));
    AddFile(LongClip("second.avi"));
    AddFile(CopyFixture("short.avi", "third.avi"));
    TParallelBatch batch(Window, Builder, 2);
    Watch(batch);
    batch.Start();
    const auto deadline = steady_clock::now() + seconds(90);
    auto converting = [&](int row) { return Progress(row).ends_with("%") && Progress(row) != "0%"; };
    while (!(converting(0) && converting(1)) && steady_clock::now() < deadline) {
        std::this_thread::sleep_for(milliseconds(20));
        batch.Tick();
    }
    ASSERT_TRUE(converting(0) && converting(1)) << Progress(0) << " " << Progress(1);

    batch.Stop();
    EXPECT_TRUE(Window.DriverTimerStopped());
    EXPECT_FALSE(Window.Batch().Converting);
    while (batch.Busy() && steady_clock::now() < deadline + seconds(30)) {
        std::this_thread::sleep_for(milliseconds(20));
        batch.Pump();
    }
    ASSERT_FALSE(batch.Busy());
    EXPECT_EQ(Progress(0), "Abort");
    EXPECT_EQ(Progress(1), "Abort");
    EXPECT_EQ(Progress(2), "");
    EXPECT_TRUE(Window.Messages().empty());
    for (const char* name : {"first.mp4", "second.mp4"}) {
        const MediaInfo info = ProbeMedia((Out / name).string());
        ASSERT_TRUE(info.ok) << name << " was not finished";
        EXPECT_GT(info.duration, 0.0) << name;
        EXPECT_LT(info.duration, 39.0) << name;
    }
    EXPECT_FALSE(fs::exists(Out / "third.mp4"));
}

// One row fails while it runs (its output cannot be written), one cannot even start (not
// media); the rows beside them convert as usual.
TEST_F(ParallelBatchTest, FailingRowsEndFailWhileTheOthersEndDone)
{
    Window.Overwrite = true;
    AddFile(CopyFixture("short.avi", "good.avi"));
    AddFile(CopyFixture("short.avi", "full.avi"));
    fs::create_symlink("/dev/full", Out / "full.mp4");
    AddFile(CopyFixture("notmedia.avi", "text.avi"));
    AddFile(CopyFixture("short.mov", "other.mov"));
    TParallelBatch batch(Window, Builder, 2);
    Watch(batch);
    batch.Start();
    ASSERT_TRUE(RunToTheEnd(batch));

    EXPECT_EQ(Progress(0), "Done");
    EXPECT_EQ(Progress(1), "Fail");
    EXPECT_EQ(Progress(2), "Fail");
    EXPECT_EQ(Progress(3), "Done");
    EXPECT_NE(Reasons[1].find("Could not write header"), std::string::npos) << Reasons[1];
    EXPECT_FALSE(Reasons[2].empty());
    EXPECT_TRUE(Reasons[0].empty());
    ExpectBatchCompleted();
    ExpectClip(Out / "good.mp4", 1.0);
    ExpectClip(Out / "other.mp4", 1.0);
    EXPECT_FALSE(fs::exists(Out / "text.mp4"));
}

// With overwriting on, two sources of one name would make one output name; within a
// batch no row replaces what another row wrote, so the second gets the numbered name and
// both convert at once.
TEST_F(ParallelBatchTest, RowsOfOneNameWriteTwoFiles)
{
    Window.Overwrite = true;
    AddFile(CopyFixture("short.avi", "one/clip.avi"));
    AddFile(CopyFixture("clip.avi", "two/clip.avi"));
    TParallelBatch batch(Window, Builder, 2);
    Watch(batch);
    batch.Start();
    ASSERT_TRUE(RunToTheEnd(batch));
    EXPECT_EQ(Progress(0), "Done");
    EXPECT_EQ(Progress(1), "Done");
    ExpectClip(Out / "clip.mp4", 1.0);
    ExpectClip(Out / "clip-1.mp4", 3.0);
}

TEST_F(ParallelBatchTest, UncheckedRowsAreSkippedAndAnEmptyBatchEndsAtOnce)
{
    AddFile(CopyFixture("short.avi", "a.avi"), false);
    AddFile(CopyFixture("short.mov", "b.mov"));
    AddFile(CopyFixture("short.mkv", "c.mkv"), false);
    TParallelBatch batch(Window, Builder, 3);
    Watch(batch);
    batch.Start();
    // The only row has every core: the other lanes stay idle.
    int automatic = 0;
    batch.ForEachEngine([&](TCustomFFmpegEngine& engine) { automatic += engine.CodecThreads() == 0; });
    EXPECT_EQ(automatic, 3);
    ASSERT_TRUE(RunToTheEnd(batch));
    EXPECT_EQ(Events, (std::vector<std::string>{"start 1", "end 1 Done"}));
    EXPECT_EQ(batch.OverallPercent(), 100);
    ExpectBatchCompleted();

    TMemoryJobWindow empty;
    TJobBuilder builder(empty, Engine);
    TParallelBatch none(empty, builder, 2);
    none.Start();
    EXPECT_TRUE(empty.DriverTimerStopped());
    EXPECT_EQ(empty.Messages(), std::vector<std::string>{"All Conversions Completed"});
    EXPECT_FALSE(empty.Batch().Converting);
}

}  // namespace
}  // namespace tavrin::test
