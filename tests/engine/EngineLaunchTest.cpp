// Launch order, counts and the termination bookkeeping of StartTasks / StopTasks.
#include "probe/AVProbe.h"
#include "EngineTestSupport.h"

namespace tavrin::test {
namespace {

struct Engine : ::testing::Test {
    EventRecorder rec;  // outlives the engine, whose threads call it
    TFFmpegEngine engine;
    std::vector<std::shared_ptr<ScriptedTask>> tasks;

    void SetUp() override { rec.Attach(engine); }
    void AddTasks(int n, int maxIterations = -1) {
        for (int i = 0; i < n; ++i) {
            tasks.push_back(MakeScriptedTask(maxIterations));
            EXPECT_EQ(engine.AdoptTask(tasks.back()), i);
        }
    }
    std::vector<int> TerminationOrder() {
        std::vector<int> order;
        for (const auto& t : rec.Terminations())
            order.push_back(t.index);
        return order;
    }
};

TEST_F(Engine, MainThreadModeLaunchesOneTaskPerTimerAfterThePreviousEnded) {
    ManualScheduler timer;
    engine.SetMainThreadScheduler(timer.Function());
    AddTasks(3, 3);
    engine.StartTasks(0);
    // Nothing runs until the timer fires; only task 0 is planned.
    EXPECT_EQ(timer.Pending(), 1u);
    EXPECT_EQ(timer.LastDelay(), 100);
    EXPECT_FALSE(tasks[0]->started);
    EXPECT_EQ(engine.PendingCount(), 2);

    ASSERT_TRUE(timer.RunOne());
    EXPECT_EQ(tasks[0]->ranOn, std::this_thread::get_id());
    EXPECT_EQ(tasks[0]->ThreadID.load(), std::this_thread::get_id());
    EXPECT_FALSE(tasks[1]->started);
    EXPECT_EQ(timer.Pending(), 1u);  // task 1 planned by task 0's termination

    while (timer.RunOne()) {
    }
    EXPECT_EQ(TerminationOrder(), (std::vector<int>{0, 1, 2, -1}));
    const auto last = rec.Terminations().back();
    EXPECT_TRUE(last.finished);
    EXPECT_FALSE(last.exception);
    EXPECT_EQ(last.message, "");
    for (const auto& t : tasks)
        EXPECT_TRUE(t->Terminated);
}

TEST_F(Engine, ConcurrencyTwoStartsTwoAtOnceAndTheThirdWhenOneEnds) {
    AddTasks(3);
    engine.StartTasks(2);
    ASSERT_TRUE(WaitUntil([&] { return tasks[0]->started && tasks[1]->started; }));
    EXPECT_EQ(engine.PendingCount(), 1);
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_FALSE(tasks[2]->started);
    EXPECT_NE(tasks[0]->ranOn, std::this_thread::get_id());
    EXPECT_NE(tasks[0]->ranOn, tasks[1]->ranOn);
    EXPECT_EQ(tasks[0]->ThreadID.load(), tasks[0]->ranOn);

    tasks[1]->release = true;
    ASSERT_TRUE(WaitUntil([&] { return tasks[2]->started.load(); }));
    tasks[0]->release = true;
    tasks[2]->release = true;
    ASSERT_TRUE(rec.WaitForFinal());
    auto order = TerminationOrder();
    ASSERT_EQ(order.size(), 4u);
    EXPECT_EQ(order[0], 1);
    EXPECT_EQ(order.back(), -1);
    for (const auto& t : rec.Terminations())
        EXPECT_TRUE(t.finished);
}

TEST_F(Engine, MoreSlotsThanTasksStartsAllAndLeavesNothingPending) {
    AddTasks(2);
    engine.StartTasks(5);
    EXPECT_EQ(engine.PendingCount(), 0);
    ASSERT_TRUE(WaitUntil([&] { return tasks[0]->started && tasks[1]->started; }));
    for (auto& t : tasks)
        t->release = true;
    ASSERT_TRUE(rec.WaitForFinal());
    EXPECT_EQ(rec.Terminations().size(), 3u);
}

TEST_F(Engine, StopDuringARunEndsRunningAndNeverStartedTasksThenOneFinalCall) {
    AddTasks(3);
    engine.StartTasks(1);
    ASSERT_TRUE(WaitUntil([&] { return tasks[0]->started.load(); }));
    engine.StopTasks();
    ASSERT_TRUE(rec.WaitForFinal());
    std::this_thread::sleep_for(std::chrono::milliseconds(50));  // nothing may follow
    auto terms = rec.Terminations();
    ASSERT_EQ(terms.size(), 4u);
    EXPECT_EQ(terms.back().index, -1);
    EXPECT_TRUE(terms.back().finished);
    for (size_t i = 0; i + 1 < terms.size(); ++i) {
        EXPECT_FALSE(terms[i].finished) << "task " << terms[i].index;
        EXPECT_FALSE(terms[i].exception);
        EXPECT_EQ(terms[i].message, "");
    }
    EXPECT_FALSE(tasks[1]->started);
    EXPECT_FALSE(tasks[2]->started);
}

TEST_F(Engine, StopBeforeTheFirstTimerReportsEveryTaskWithoutRunningAny) {
    ManualScheduler timer;
    engine.SetMainThreadScheduler(timer.Function());
    AddTasks(2);
    engine.StartTasks(0);
    engine.StopTasks();
    ASSERT_TRUE(rec.WaitForFinal());
    EXPECT_EQ(rec.Terminations().size(), 3u);
    while (timer.RunOne()) {
    }
    // The late timer finds the task terminated and leaves it alone.
    EXPECT_FALSE(tasks[0]->started);
    EXPECT_EQ(rec.Terminations().size(), 3u);
}

TEST_F(Engine, RemovingATaskRenumbersTheRestForLaterEvents) {
    AddTasks(3, 2);
    engine.RemoveTaskAt(0);
    EXPECT_EQ(engine.Tasks().Count(), 2);
    EXPECT_EQ(tasks[1]->TaskIndex, 0);
    EXPECT_EQ(tasks[2]->TaskIndex, 1);
    engine.StartTasks(1);
    ASSERT_TRUE(rec.WaitForFinal());
    EXPECT_EQ(TerminationOrder(), (std::vector<int>{0, 1, -1}));
    EXPECT_FALSE(tasks[0]->started);
    EXPECT_THROW(engine.RemoveTaskAt(5), std::out_of_range);
}

TEST_F(Engine, PauseHoldsATaskAtItsStopCheckAndResumeLetsItGoOn) {
    AddTasks(1);
    engine.StartTasks(1);
    ASSERT_TRUE(WaitUntil([&] { return tasks[0]->iterations > 2; }));
    engine.PauseTasks();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    const int paused = tasks[0]->iterations;
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    EXPECT_EQ(tasks[0]->iterations, paused);
    EXPECT_TRUE(tasks[0]->Suspended());
    engine.ResumeTasks();
    ASSERT_TRUE(WaitUntil([&] { return tasks[0]->iterations > paused + 2; }));
    // A stop while paused opens the gate so the task can end.
    engine.PauseTasks();
    engine.StopTasks();
    ASSERT_TRUE(rec.WaitForFinal());
    EXPECT_FALSE(rec.Terminations()[0].finished);
}

TEST_F(Engine, ATaskWithoutOutputFailsOnceWithItsMessage) {
    auto task = std::make_shared<ScriptedTask>();
    ASSERT_TRUE(task->OpenInput(Fixture("clip.mp4")));
    engine.AdoptTask(task);
    engine.StartTasks(1);
    ASSERT_TRUE(rec.WaitForFinal());
    auto terms = rec.Terminations();
    ASSERT_EQ(terms.size(), 2u);
    EXPECT_EQ(terms[0].index, 0);
    EXPECT_FALSE(terms[0].finished);
    EXPECT_TRUE(terms[0].exception);
    EXPECT_EQ(terms[0].message, "Must supply at least one output file");
    EXPECT_FALSE(task->started);
    auto logs = rec.Logs();
    ASSERT_FALSE(logs.empty());
    EXPECT_EQ(logs.back().second, "Must supply at least one output file");
}

TEST_F(Engine, AFailureInsideTheLoopArrivesAsAnExceptionTermination) {
    AddTasks(2);
    tasks[0]->failWith = "Error while opening codec";
    tasks[1]->release = true;
    engine.StartTasks(1);
    ASSERT_TRUE(rec.WaitForFinal());
    auto terms = rec.Terminations();
    ASSERT_EQ(terms.size(), 3u);
    EXPECT_TRUE(terms[0].exception);
    EXPECT_FALSE(terms[0].finished);
    EXPECT_EQ(terms[0].message, "Error while opening codec");
    EXPECT_TRUE(terms[1].finished);  // the next task still ran
}

TEST(EngineProperties, ProgressIntervalIsNeverBelow100AndDefaultsHold) {
    TFFmpegEngine engine;
    EXPECT_EQ(engine.ProgressInterval(), 500);
    EXPECT_EQ(engine.LogLevel(), llInfo);
    EXPECT_EQ(engine.ThreadPriority(), tpNormal);
    EXPECT_EQ(engine.GetVersion(), "2.0b");
    EXPECT_EQ(engine.NextTaskIndex(), -1);
    EXPECT_EQ(engine.AVProbe().StreamCount(), -1);  // owns a closed probe
    engine.SetProgressInterval(50);
    EXPECT_EQ(engine.ProgressInterval(), 100);
    engine.SetProgressInterval(100);
    EXPECT_EQ(engine.ProgressInterval(), 100);
    engine.SetProgressInterval(101);
    EXPECT_EQ(engine.ProgressInterval(), 101);
}

}  // namespace
}  // namespace tavrin::test
