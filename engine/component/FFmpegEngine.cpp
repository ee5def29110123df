#include "component/FFmpegEngine.h"

#include "component/CodecThreads.h"

#include <condition_variable>

#include "probe/AVProbe.h"
#include "component/EngineLock.h"
#include "component/FFmpegThread.h"
#include "component/LibraryLog.h"
#include "binding/Binding.h"

namespace tavrin {

// Counts the threads that still hold one of this engine's tasks; the engine waits for
// them before it goes away.
struct TCustomFFmpegEngine::ThreadTracker {
    std::mutex mutex;
    std::condition_variable idle;
    int live = 0;

    struct Token {
        explicit Token(std::shared_ptr<ThreadTracker> t) : tracker(std::move(t)) {
            std::lock_guard l(tracker->mutex);
            ++tracker->live;
        }
        Token(const Token&) = delete;
        Token& operator=(const Token&) = delete;
        ~Token() {
            std::lock_guard l(tracker->mutex);
            if (--tracker->live == 0)
                tracker->idle.notify_all();
        }
        std::shared_ptr<ThreadTracker> tracker;
    };

    void WaitIdle() {
        std::unique_lock l(mutex);
        idle.wait(l, [this] { return live == 0; });
    }
};

TCustomFFmpegEngine::TCustomFFmpegEngine()
    : threads_(std::make_shared<ThreadTracker>()), probe_(std::make_unique<TAVProbe>()) {
    KeepAllocatorArenasFew();
    RegisterComponent(this);
}

TCustomFFmpegEngine::~TCustomFFmpegEngine() {
    UnregisterComponent(this);
    { EventScope wait(lock_); }  // lets an event in progress finish
    ClearTaskList();
    if (t_eventDepth == 0)
        threads_->WaitIdle();
}

std::shared_ptr<void> TCustomFFmpegEngine::KeepAlive(const std::shared_ptr<TFFmpeg>& task) {
    struct Hold {
        Hold(std::shared_ptr<ThreadTracker> t, std::shared_ptr<TFFmpeg> k) : token(std::move(t)), task(std::move(k)) {}
        ThreadTracker::Token token;  // released last, after the task
        std::shared_ptr<TFFmpeg> task;
    };
    return std::make_shared<Hold>(threads_, task);
}

bool TCustomFFmpegEngine::LoadCodecLibraries(const std::string& Folder, bool Versioned) {
    std::string error;
    if (!LoadLibraries(Folder, Versioned, error)) {
        std::lock_guard l(errorMutex_);
        lastErrorText_ = error;
        return false;
    }
    InstallLibraryLogCallback();
    SetLibraryVerbosity(static_cast<int>(logLevel_.load()) - 1);
    return true;
}

std::string TCustomFFmpegEngine::LastErrorText() const {
    std::lock_guard l(errorMutex_);
    return lastErrorText_;
}

void TCustomFFmpegEngine::SetLogLevel(TLogLevel level) {
    logLevel_ = level;
    if (LibrariesLoaded())
        SetLibraryVerbosity(static_cast<int>(level) - 1);
}

void TCustomFFmpegEngine::SetProgressInterval(int ms) { progressInterval_ = ms <= 100 ? 100 : ms; }

// Removed tasks stop and report nothing more. Their threads are waited for unless the
// caller is one of them or is inside an engine event; then the task lives on until its
// thread has left it.
void TCustomFFmpegEngine::Dispose(std::vector<std::shared_ptr<TFFmpeg>>& removed) {
    for (auto& task : removed) {
        task->Unbind();
        task->RequestStop();
        if (t_eventDepth == 0)
            task->JoinOrDetachThread();
    }
    removed.clear();
}

void TCustomFFmpegEngine::ClearTaskList() {
    auto removed = tasks_.Clear();
    pendingCount_ = 0;
    Dispose(removed);
    {
        std::lock_guard l(errorMutex_);
        lastErrorText_.clear();
    }
    concurrency_ = 0;
}

void TCustomFFmpegEngine::RemoveTaskAt(int Index) {
    std::vector<std::shared_ptr<TFFmpeg>> removed{tasks_.Delete(Index)};
    Dispose(removed);
}

int TCustomFFmpegEngine::AdoptTask(std::shared_ptr<TFFmpeg> task) {
    task->BindHandlers(this, true, true, true);
    return tasks_.Add(std::move(task));
}

}  // namespace tavrin
