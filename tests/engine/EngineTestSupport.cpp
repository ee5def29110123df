#include "EngineTestSupport.h"

#include <atomic>

#include "common/FFMpegException.h"
#include "binding/LibAV.h"
#include "binding/LogBridge.h"

namespace tavrin::test {

std::filesystem::path TempDir() {
    static std::atomic<int> counter{0};
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = info ? std::string(info->test_suite_name()) + "_" + info->name() : "engine";
    auto dir = std::filesystem::temp_directory_path() /
               ("tavrin-" + std::to_string(::getpid()) + "-" + name + "-" + std::to_string(counter++));
    std::filesystem::create_directories(dir);
    return dir;
}

void ScriptedTask::Transcode() {
    ranOn = std::this_thread::get_id();
    started = true;
    if (!libraryLine.empty())
        LibraryLog(AV_LOG_ERROR, libraryLine);
    while (!CheckStop()) {
        ++iterations;
        if (!failWith.empty())
            throw FFMpegException(failWith);
        if (release || (maxIterations >= 0 && iterations >= maxIterations))
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    Finished = !StopRequested;
}

std::shared_ptr<ScriptedTask> MakeScriptedTask(int maxIterations) {
    static std::atomic<int> n{0};
    auto task = std::make_shared<ScriptedTask>();
    task->maxIterations = maxIterations;
    EXPECT_TRUE(task->OpenInput(Fixture("clip.mkv"))) << task->ErrorText;
    const auto out = std::filesystem::temp_directory_path() /
                     ("tavrin-scripted-" + std::to_string(::getpid()) + "-" + std::to_string(n++) + ".mkv");
    EXPECT_TRUE(task->CreateOutput(out.string())) << task->ErrorText;
    return task;
}

void EventRecorder::Attach(TCustomFFmpegEngine& engine) {
    engine.OnTerminate = [this](int index, bool finished, bool exception, const std::string& msg) {
        {
            std::lock_guard l(mutex_);
            terms_.push_back({index, finished, exception, msg, std::this_thread::get_id()});
        }
        changed_.notify_all();
        if (onTerminate)
            onTerminate(index);
    };
    engine.OnLog = [this](int index, TLogLevel, const std::string& msg) {
        std::lock_guard l(mutex_);
        logs_.emplace_back(index, msg);
    };
}

std::vector<TerminateRecord> EventRecorder::Terminations() {
    std::lock_guard l(mutex_);
    return terms_;
}

std::vector<std::pair<int, std::string>> EventRecorder::Logs() {
    std::lock_guard l(mutex_);
    return logs_;
}

bool EventRecorder::WaitForFinal(std::chrono::milliseconds timeout) {
    std::unique_lock l(mutex_);
    return changed_.wait_for(l, timeout, [this] {
        for (const auto& t : terms_)
            if (t.index == -1)
                return true;
        return false;
    });
}

bool EventRecorder::WaitForTerminations(size_t n, std::chrono::milliseconds timeout) {
    std::unique_lock l(mutex_);
    return changed_.wait_for(l, timeout, [&] { return terms_.size() >= n; });
}

TMainThreadScheduler ManualScheduler::Function() {
    return [this](int delayMs, std::function<void()> fn) {
        lastDelay_ = delayMs;
        queue_.push_back(std::move(fn));
    };
}

bool ManualScheduler::RunOne() {
    if (queue_.empty())
        return false;
    auto fn = std::move(queue_.front());
    queue_.erase(queue_.begin());
    fn();
    return true;
}

bool WaitUntil(const std::function<bool()>& pred, std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (!pred()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

}  // namespace tavrin::test
