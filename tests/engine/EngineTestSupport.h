// Helpers for engine tests: fixture paths, a task whose loop is scripted, an event
// recorder and a hand-pumped main-thread scheduler.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "component/FFmpegEngine.h"

namespace tavrin::test {

inline std::string Fixture(const std::string& name) { return std::string(TAVRIN_FIXTURE_DIR) + "/" + name; }

// A fresh folder per test for outputs.
std::filesystem::path TempDir();

// A task whose transcoding loop only polls for stop, counts and sleeps: it ends after
// maxIterations (when >= 0), when released, or when stopped.
class ScriptedTask : public TFFmpeg {
public:
    std::atomic<int> iterations{0};
    std::atomic<bool> release{false};
    std::atomic<bool> started{false};
    int maxIterations = -1;
    std::string failWith;
    std::string libraryLine;  // logged through the libraries' log once the loop starts
    std::thread::id ranOn;

protected:
    void Transcode() override;
};

// A task with a real input and output, ready to start.
std::shared_ptr<ScriptedTask> MakeScriptedTask(int maxIterations = -1);

struct TerminateRecord {
    int index;
    bool finished;
    bool exception;
    std::string message;
    std::thread::id thread;
};

class EventRecorder {
public:
    void Attach(TCustomFFmpegEngine& engine);
    std::vector<TerminateRecord> Terminations();
    std::vector<std::pair<int, std::string>> Logs();
    // Waits for the all-done notification (index -1); false on timeout.
    bool WaitForFinal(std::chrono::milliseconds timeout = std::chrono::seconds(10));
    bool WaitForTerminations(size_t n, std::chrono::milliseconds timeout = std::chrono::seconds(10));
    std::function<void(int)> onTerminate;  // called inside the event, after recording

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<TerminateRecord> terms_;
    std::vector<std::pair<int, std::string>> logs_;
};

// Stands in for a GUI's one-shot timer: the test decides when the main thread runs.
class ManualScheduler {
public:
    TMainThreadScheduler Function();
    size_t Pending() const { return queue_.size(); }
    int LastDelay() const { return lastDelay_; }
    // Runs the oldest scheduled call; false when none.
    bool RunOne();

private:
    std::vector<std::function<void()>> queue_;
    int lastDelay_ = 0;
};

// Waits until pred holds or the timeout passes.
bool WaitUntil(const std::function<bool()>& pred,
               std::chrono::milliseconds timeout = std::chrono::seconds(10));

}  // namespace tavrin::test
