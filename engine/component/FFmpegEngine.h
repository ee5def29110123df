// The transcoding engine component: a task list, worker threads and five events.
// Events are raised on the thread that produced them (a task's worker thread, a
// terminate-only thread, or any thread of the codec libraries that logs); handlers must
// not touch GUI objects directly.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "options/FFmpeg.h"
#include "common/FFmpegTypes.h"
#include "options/OptionRecords.h"
#include "component/LibraryLog.h"
#include "component/TaskList.h"

namespace tavrin {

class TAVProbe;

// Runs fn on the owner's main thread after delayMs (a GUI passes a one-shot timer).
using TMainThreadScheduler = std::function<void(int delayMs, std::function<void()> fn)>;

class TCustomFFmpegEngine : public TLibraryLogListener {
public:
    TCustomFFmpegEngine();
    virtual ~TCustomFFmpegEngine();
    TCustomFFmpegEngine(const TCustomFFmpegEngine&) = delete;
    TCustomFFmpegEngine& operator=(const TCustomFFmpegEngine&) = delete;

    bool LoadCodecLibraries(const std::string& Folder, bool Versioned);
    void ClearTaskList();
    void RemoveTaskAt(int Index);
    int AddInputTask(const std::string& FileName, const TInputOptions* Options);
    bool SetTaskOutput(int Index, const std::string& FileName, const TOutputOptions* Options);
    void StartTasks(int Count);
    void StopTasks();
    void PauseTasks();
    void ResumeTasks();

    // Appends a task made elsewhere and binds its log, progress and terminate handlers;
    // returns its index. AddInputTask ends with it.
    int AdoptTask(std::shared_ptr<TFFmpeg> task);

    std::string About;
    std::string LastErrorText() const;
    TLogLevel LogLevel() const { return logLevel_; }
    void SetLogLevel(TLogLevel level);
    int ProgressInterval() const { return progressInterval_; }
    void SetProgressInterval(int ms);
    TConvertPriority ThreadPriority() const { return threadPriority_; }
    void SetThreadPriority(TConvertPriority p) { threadPriority_ = p; }
    std::string GetVersion() const { return "2.0b"; }
    std::string Version() const { return GetVersion(); }

    // Assign handlers while no task runs.
    TBeforeHookEvent OnBeforeHook;
    TCustomHookEvent OnCustomHook;
    TLogEvent OnLog;
    TProgressEvent OnProgress;
    TTerminateEvent OnTerminate;

    // Main-thread mode (StartTasks with Count <= 0) launches through this; without one a
    // launch runs at once on the thread that asks for it.
    void SetMainThreadScheduler(TMainThreadScheduler scheduler) { scheduler_ = std::move(scheduler); }

    TFFmpegList& Tasks() { return tasks_; }
    // The engine's media probe, for inspecting files on the owner's thread.
    TAVProbe& AVProbe() { return *probe_; }
    int Concurrency() const { return concurrency_; }
    int PendingCount() const { return pendingCount_; }
    int NextTaskIndex() const { return nextTaskIndex_; }
    int TerminatedCount() const { return terminatedCount_; }

    // Task-facing entry points; a task calls them through its bound handlers.
    virtual void DoBeforeHook(TCustomFFmpeg* task, int64_t pts, THookAction& action);
    virtual void DoCustomHook(TCustomFFmpeg* task, TBitmap& bitmap, int frame, int64_t pts,
                              bool& update, bool& stopHook);
    virtual void DoLog(TCustomFFmpeg* task, int level, const std::string& text);
    virtual void DoProgress(TCustomFFmpeg* task, int frame, int fps, int durationMs,
                            float quality, float bitRate, int64_t size, int totalMs);
    virtual void DoTerminate(TCustomFFmpeg* task);

    // Delivers one finished library log line to this component.
    void DeliverLibraryLine(std::thread::id thread, int level, const std::string& line) override;

private:
    struct ThreadTracker;
    void StartNextTask();
    void LaunchTask(int i);
    void StartTerminateOnly(const std::shared_ptr<TFFmpeg>& task);
    void Dispose(std::vector<std::shared_ptr<TFFmpeg>>& removed);
    std::shared_ptr<void> KeepAlive(const std::shared_ptr<TFFmpeg>& task);
    static int IndexOf(TCustomFFmpeg* task);

    mutable std::mutex errorMutex_;
    std::string lastErrorText_;
    std::atomic<int> nextTaskIndex_{-1};
    std::atomic<int> concurrency_{0};
    std::atomic<TLogLevel> logLevel_{llInfo};
    std::atomic<int> progressInterval_{500};
    std::atomic<TConvertPriority> threadPriority_{tpNormal};
    std::atomic<int> terminatedCount_{0};
    std::atomic<int> pendingCount_{0};
    TMainThreadScheduler scheduler_;
    std::recursive_mutex lock_;  // serialises events and the stop/pause/resume walks
    std::shared_ptr<ThreadTracker> threads_;
    std::unique_ptr<TAVProbe> probe_;
    TFFmpegList tasks_;
};

class TFFmpegEngine : public TCustomFFmpegEngine {};

}  // namespace tavrin
