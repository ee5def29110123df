// Tasks are freed safely from any thread, and AddInputTask reports open failures.
#include "EngineTestSupport.h"

namespace tavrin::test {
namespace {

TEST(TaskLife, ClearingTheListInsideTheTerminateEventOfThatTaskIsSafe) {
    EventRecorder rec;  // outlives the engine, whose threads call it
    TFFmpegEngine engine;
    rec.Attach(engine);
    std::weak_ptr<ScriptedTask> weak;
    {
        auto task = MakeScriptedTask(3);
        weak = task;
        engine.AdoptTask(task);
    }
    std::thread::id clearedOn;
    rec.onTerminate = [&](int index) {
        if (index == 0) {
            clearedOn = std::this_thread::get_id();
            engine.ClearTaskList();
        }
    };
    engine.StartTasks(1);
    ASSERT_TRUE(rec.WaitForFinal());
    EXPECT_NE(clearedOn, std::this_thread::get_id());
    // The task goes once its own thread has left it.
    EXPECT_TRUE(WaitUntil([&] { return weak.expired(); }));
    EXPECT_EQ(engine.Tasks().Count(), 0);
}

TEST(TaskLife, ClearingFromTheCallerWaitsForARunningTaskToEnd) {
    EventRecorder rec;  // outlives the engine, whose threads call it
    TFFmpegEngine engine;
    rec.Attach(engine);
    std::weak_ptr<ScriptedTask> weak;
    {
        auto task = MakeScriptedTask();
        weak = task;
        engine.AdoptTask(task);
    }
    engine.StartTasks(1);
    ASSERT_TRUE(WaitUntil([&] { auto t = weak.lock(); return t && t->iterations > 0; }));
    engine.ClearTaskList();
    EXPECT_TRUE(weak.expired());
    EXPECT_EQ(engine.Concurrency(), 0);
}

TEST(TaskLife, ClearingInsideAnotherTasksEventDoesNotWaitAndStopsTheOther) {
    auto engine = std::make_unique<TFFmpegEngine>();
    EventRecorder rec;
    rec.Attach(*engine);
    std::weak_ptr<ScriptedTask> slow;
    {
        auto quick = MakeScriptedTask(2);
        auto slowTask = MakeScriptedTask();
        slow = slowTask;
        engine->AdoptTask(quick);
        engine->AdoptTask(slowTask);
    }
    rec.onTerminate = [&](int index) {
        if (index == 0)
            engine->ClearTaskList();
    };
    engine->StartTasks(2);
    ASSERT_TRUE(rec.WaitForFinal());
    engine.reset();  // waits for the slow task's thread
    EXPECT_TRUE(slow.expired());
    auto terms = rec.Terminations();
    EXPECT_EQ(terms.front().index, 0);
    EXPECT_EQ(terms.back().index, -1);
}

TEST(TaskLife, DestroyingTheEngineStopsAndWaitsForRunningTasks) {
    auto engine = std::make_unique<TFFmpegEngine>();
    std::weak_ptr<ScriptedTask> weak;
    {
        auto task = MakeScriptedTask();
        weak = task;
        engine->AdoptTask(task);
    }
    engine->StartTasks(1);
    ASSERT_TRUE(WaitUntil([&] { auto t = weak.lock(); return t && t->started; }));
    engine.reset();
    EXPECT_TRUE(weak.expired());
}

TEST(TaskLife, AnOutputLeftEmptyIsDeletedWhenTheTaskEnds) {
    const auto out = TempDir() / "empty.mkv";
    auto task = std::make_shared<ScriptedTask>();
    ASSERT_TRUE(task->OpenInput(Fixture("clip.mp4")));
    ASSERT_TRUE(task->CreateOutput(out.string()));
    EXPECT_TRUE(std::filesystem::exists(out));
    task->ReleaseFiles();
    EXPECT_FALSE(std::filesystem::exists(out));
}

TEST(AddInputTask, OpenFailuresReturnMinusOneWithTheFileInTheText) {
    TFFmpegEngine engine;
    const std::string missing = (TempDir() / "missing.avi").string();
    EXPECT_EQ(engine.AddInputTask(missing, nullptr), -1);
    EXPECT_EQ(engine.LastErrorText(), missing + ": no such file or directory");
    EXPECT_EQ(engine.Tasks().Count(), 0);

    const std::string text = Fixture("notmedia.avi");
    EXPECT_EQ(engine.AddInputTask(text, nullptr), -1);
    EXPECT_EQ(engine.LastErrorText(), text + ": Unknown format");

    const std::string truncated = Fixture("truncated.mp4");
    EXPECT_EQ(engine.AddInputTask(truncated, nullptr), -1);
    EXPECT_EQ(engine.LastErrorText(), truncated + ": Error while parsing header (moov atom not found)");

    EXPECT_EQ(engine.AddInputTask(Fixture("clip.avi"), nullptr), 0);
    EXPECT_EQ(engine.AddInputTask(Fixture("clip.mov"), nullptr), 1);
    engine.ClearTaskList();
    EXPECT_EQ(engine.LastErrorText(), "");
}

TEST(AddInputTask, TheInputDurationBecomesTheTotalOutputDuration) {
    TFFmpegEngine engine;
    ASSERT_EQ(engine.AddInputTask(Fixture("clip.mkv"), nullptr), 0);
    auto task = engine.Tasks().Items(0);
    EXPECT_NEAR(task->TotalOutputDuration, 3000, 100);
    EXPECT_THROW(engine.SetTaskOutput(3, "x.mkv", nullptr), std::out_of_range);
}

TEST(SetTaskOutput, AnUnknownEncoderFailsWithItsTextAndTheTaskStays) {
    TFFmpegEngine engine;
    ASSERT_EQ(engine.AddInputTask(Fixture("clip.mp4"), nullptr), 0);
    TOutputOptions options;
    options.VideoCodec = "nosuchencoder";
    const auto out = TempDir() / "x.mp4";
    EXPECT_FALSE(engine.SetTaskOutput(0, out.string(), &options));
    EXPECT_EQ(engine.LastErrorText(), "new_video_stream fail: Unknown encoder 'nosuchencoder'");
    EXPECT_EQ(engine.Tasks().Count(), 1);
    EXPECT_FALSE(std::filesystem::exists(out));
    options.VideoCodec = "libfaac";  // an old audio encoder name, still an audio encoder
    EXPECT_FALSE(engine.SetTaskOutput(0, out.string(), &options));
    EXPECT_EQ(engine.LastErrorText(), "new_video_stream fail: Invalid encoder type 'libfaac'");
}

TEST(Launch, TheTaskTakesTheEnginesIntervalAndLevelWhenLaunched) {
    EventRecorder rec;  // outlives the engine, whose threads call it
    TFFmpegEngine engine;
    rec.Attach(engine);
    auto task = MakeScriptedTask(1);
    engine.AdoptTask(task);
    engine.SetProgressInterval(250);
    engine.SetLogLevel(llDebug);
    engine.StartTasks(1);
    ASSERT_TRUE(rec.WaitForFinal());
    EXPECT_EQ(task->ProgressIntervalMicros, 250000);
    EXPECT_EQ(task->Verbosity, 2);
    EXPECT_TRUE(task->Terminated);
    EXPECT_FALSE(task->Running);
    // A terminated task cannot start again.
    EXPECT_EQ(task->StartRun(true, tpNormal), nullptr);
}

}  // namespace
}  // namespace tavrin::test
