// The run's stages: order, bounded queues and failures of the stage itself; and whole runs
// on their own threads writing exactly what a run on one thread writes.
#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <memory>
#include <stdexcept>
#include <thread>

#include "TranscodeTestSupport.h"
#include "run/Stage.h"

namespace tavrin::test {
namespace {

class StageKinds : public ::testing::TestWithParam<bool> {};

TEST_P(StageKinds, JobsRunInOrderAndTheFirstFailureEndsEveryHandOver) {
    TRunFailure failure;
    TStage downstream(failure, 2, GetParam());
    TStage stage(failure, 2, GetParam());
    std::vector<int> ran;  // only the stage's own thread appends
    for (int i = 0; i < 50; ++i)
        stage.Post([&ran, i] { ran.push_back(i); });
    stage.Finish();
    ASSERT_EQ(ran.size(), 50u);
    for (int i = 0; i < 50; ++i)
        EXPECT_EQ(ran[static_cast<size_t>(i)], i);

    // A failure two stages down comes back up through every hand-over with its own text,
    // and nothing handed over after it runs.
    std::string said;
    try {
        stage.Post([&downstream] { downstream.Post([] { throw std::runtime_error("disk gone"); }); });
        for (int i = 0; i < 1000; ++i)
            stage.Post([&downstream, &ran, i] {
                ran.push_back(100 + i);
                downstream.Post([] {});
            });
        stage.Finish();
    } catch (const std::runtime_error& e) {
        said = e.what();
    }
    stage.Abandon();
    EXPECT_EQ(said, "disk gone");
    EXPECT_LT(ran.size(), 60u) << "the stage went on after the failure";
    EXPECT_THROW(downstream.Finish(), std::runtime_error);
}

INSTANTIATE_TEST_SUITE_P(Stage, StageKinds, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "OnItsThread" : "OnTheCallersThread"; });

// A slow stage holds the one handing over to it at its queue's depth, and letting it go
// drops what waits without running it.
TEST(Stage, ABusyStageHoldsItsQueueToItsDepthAndAbandonDropsIt) {
    TRunFailure failure;
    auto stage = std::make_unique<TStage>(failure, 3, true);
    std::mutex m;
    std::condition_variable cv;
    bool release = false;
    std::atomic<int> posted{0}, ran{0};
    std::thread producer([&] {
        for (int i = 0; i < 20; ++i) {
            stage->Post([&] {
                std::unique_lock lock(m);
                cv.wait(lock, [&] { return release; });
                ++ran;
            });
            ++posted;
        }
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_EQ(posted.load(), 4) << "one running and three waiting";
    {
        std::lock_guard lock(m);
        release = true;
    }
    cv.notify_all();
    producer.join();
    stage->Finish();
    EXPECT_EQ(ran.load(), 20);
    EXPECT_GT(stage->WaitSeconds(), 0.1);
    stage->Abandon();
    stage.reset();
}

struct TimelineCase {
    const char* name;
    const char* input;
    const char* lines;
};

// (pts, duration) of every packet of the first stream of that type.
std::vector<std::pair<int64_t, int64_t>> Timeline(const std::string& path, const char* type) {
    const std::string cmd = std::string("ffprobe -v error -select_streams ") + type +
                            ":0 -show_entries packet=pts,duration -of csv=p=0 '" + path + "' 2>/dev/null";
    std::vector<std::pair<int64_t, int64_t>> packets;
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(cmd.c_str(), "r"), pclose);
    char line[128];
    long long pts = 0, duration = 0;
    while (pipe && std::fgets(line, sizeof line, pipe.get()))
        if (std::sscanf(line, "%lld,%lld", &pts, &duration) == 2)
            packets.emplace_back(pts, duration);
    return packets;
}

class Timelines : public ::testing::TestWithParam<TimelineCase> {};

// The stages change nothing but the pace: the same packets at the same times in every
// stream, limits and frame-rate changes included. A size limit keeps a run on its own
// thread; one far beyond the output's size gives the one-thread run to compare with, with
// the same codec threads.
TEST_P(Timelines, ARunOnItsStagesWritesTheTimesOfARunOnOneThread) {
    const TimelineCase& c = GetParam();
    const auto dir = TempDir();
    std::string outputs[2];
    for (int staged : {0, 1}) {
        const std::string out = (dir / (std::string("staged") + std::to_string(staged) + ".mkv")).string();
        const Conversion run = Convert(Job(Fixture(c.input), out, "", std::string(c.lines) + (staged ? "" : "\nfs=1000000000")));
        ASSERT_TRUE(run.finished) << run.message;
        outputs[staged] = out;
    }
    for (const char* type : {"v", "a"}) {
        const auto one = Timeline(outputs[0], type), staged = Timeline(outputs[1], type);
        EXPECT_FALSE(one.empty() && *type == 'a');
        EXPECT_EQ(staged, one) << "stream " << type;
    }
}

INSTANTIATE_TEST_SUITE_P(Pipeline, Timelines,
                         ::testing::Values(TimelineCase{"Plain", "clip.mp4", "vcodec=mpeg4\nacodec=aac\nab=128000"},
                                           TimelineCase{"TimeLimit", "clip.mp4", "vcodec=mpeg4\nacodec=libmp3lame\nt=1.3"},
                                           TimelineCase{"ScaledAndRateChanged", "clip.avi",
                                                        "vcodec=mpeg4\ns=176x144\nr=15\nacodec=ac3\nar=48000"},
                                           TimelineCase{"CopiedAndEncoded", "clip.mp4", "vcodec=copy\nacodec=flac"}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tavrin::test
