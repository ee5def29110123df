// Creating, launching and stopping the engine's tasks.
#include "component/EngineLock.h"
#include "component/FFmpegEngine.h"
#include "component/FFmpegThread.h"
#include "component/LibraryLog.h"
#include "binding/Binding.h"

namespace tavrin {

int TCustomFFmpegEngine::AddInputTask(const std::string& FileName, const TInputOptions* Options) {
    auto task = std::make_shared<TFFmpeg>();
    try {
        task->ResetOptions();
        task->Verbosity = static_cast<int>(logLevel_.load()) - 1;
        if (LibrariesLoaded())
            SetLibraryVerbosity(task->Verbosity);
        if (Options) {
            task->InputOptions = *Options;
            if (task->InputOptions.FileName.empty())
                task->InputOptions.FileName = FileName;
            task->ApplyInputOptions(task->InputOptions);
        } else {
            ResetInputOptions(task->InputOptions);
        }
        if (!task->OpenInput(FileName)) {
            std::lock_guard l(errorMutex_);
            lastErrorText_ = task->ErrorText;
            return -1;
        }
    } catch (const std::exception& e) {
        std::lock_guard l(errorMutex_);
        lastErrorText_ = e.what();
        return -1;
    }
    return AdoptTask(std::move(task));
}

bool TCustomFFmpegEngine::SetTaskOutput(int Index, const std::string& FileName,
                                        const TOutputOptions* Options) {
    std::shared_ptr<TFFmpeg> task = tasks_.Items(Index);
    try {
        if (Options) {
            task->OutputOptions = *Options;
            if (task->OutputOptions.FileName.empty())
                task->OutputOptions.FileName = FileName;
            task->ApplyOutputOptions(task->OutputOptions);
            task->ApplyTargetFromRecord(task->OutputOptions);
            if (Options->UseCustomHook)
                task->BindCustomHook(true);
            else if (Options->UseBeforeHook)
                task->BindBeforeHook(true);
            else
                task->Hooks.LoadHookRanges(Options->HookRanges);
        } else {
            ResetOutputOptions(task->OutputOptions);
        }
        if (task->CreateOutput(FileName))
            return true;
        std::lock_guard l(errorMutex_);
        lastErrorText_ = task->ErrorText;
    } catch (const std::exception& e) {
        std::lock_guard l(errorMutex_);
        lastErrorText_ = e.what();
    }
    return false;
}

void TCustomFFmpegEngine::StartTasks(int Count) {
    EventScope scope(lock_);
    PendingLogLines().Clear();
    nextTaskIndex_ = 0;
    terminatedCount_ = 0;
    concurrency_ = Count;
    pendingCount_ = tasks_.Count();
    int started = 0;
    do {
        StartNextTask();
        ++started;
    } while (pendingCount_ > 0 && started < Count);
}

void TCustomFFmpegEngine::StartNextTask() {
    if (pendingCount_ <= 0)
        return;
    --pendingCount_;
    const int i = nextTaskIndex_++;
    if (concurrency_ > 0) {
        LaunchTask(i);
    } else if (scheduler_) {
        scheduler_(100, [this, i] { LaunchTask(i); });
    } else {
        LaunchTask(i);
    }
}

void TCustomFFmpegEngine::LaunchTask(int i) {
    std::shared_ptr<TFFmpeg> task = tasks_.TryItem(i);
    if (!task)
        return;  // the list changed since the launch was planned
    task->ProgressIntervalMicros = static_cast<int64_t>(progressInterval_) * 1000;
    task->Verbosity = static_cast<int>(logLevel_.load()) - 1;
    if (LibrariesLoaded())
        SetLibraryVerbosity(task->Verbosity);
    if (concurrency_ <= 0) {
        task->ThreadID = std::this_thread::get_id();
        task->StartRun(false, threadPriority_);
        return;
    }
    if (TFFmpegThread* thread = task->StartRun(true, threadPriority_))
        thread->Resume(KeepAlive(task), [&task](std::thread::id id) { task->ThreadID = id; });
    else
        task->ThreadID = std::thread::id();
}

void TCustomFFmpegEngine::StartTerminateOnly(const std::shared_ptr<TFFmpeg>& task) {
    auto thread = std::make_unique<TFFmpegThread>([t = task.get()] { t->NotifyTerminate(); }, tpIdle);
    TFFmpegThread* raw = thread.get();
    task->ownedThread_ = std::move(thread);
    raw->Resume(KeepAlive(task));
}

void TCustomFFmpegEngine::StopTasks() {
    EventScope scope(lock_);
    pendingCount_ = 0;
    for (const auto& task : tasks_.Snapshot()) {
        if (task->Running)
            task->RequestStop();
        else if (task->ClaimForTermination())
            StartTerminateOnly(task);
    }
}

void TCustomFFmpegEngine::PauseTasks() {
    EventScope scope(lock_);
    for (const auto& task : tasks_.Snapshot())
        if (task->Thread && !task->Suspended())
            task->Suspend();
}

void TCustomFFmpegEngine::ResumeTasks() {
    EventScope scope(lock_);
    for (const auto& task : tasks_.Snapshot())
        if (task->Thread && task->Suspended())
            task->ResumeThread();
}

}  // namespace tavrin
