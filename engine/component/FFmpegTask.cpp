// The task's life: start, run, stop, pause and termination.
#include "common/FFMpegException.h"
#include "options/FFmpeg.h"
#include "component/FFmpegEngine.h"
#include "component/FFmpegThread.h"
#include "options/OptionContexts.h"
#include "setup/TaskFiles.h"

namespace tavrin {

TCustomFFmpeg::TCustomFFmpeg()
    : files_(std::make_unique<TTaskFiles>()), optionContexts_(std::make_unique<TOptionContexts>()) {
    // Hook and handler failures ("Error occurs OnCustomHook: ...") belong in the task's log.
    Hooks.Log = [this](int level, const std::string& text) { Log(level, text); };
}

// Nothing the task's thread may still touch is freed before that thread has left the task:
// the thread holds a reference until its body returns, so this runs either after the body
// (join is immediate) or on the thread itself (which is then let go).
TCustomFFmpeg::~TCustomFFmpeg() {
    Unbind();
    RequestStop();
    JoinOrDetachThread();
    ReleaseFiles();
}

void TCustomFFmpeg::JoinOrDetachThread() noexcept {
    if (ownedThread_)
        ownedThread_->JoinOrDetach();
}

size_t TCustomFFmpeg::InputFileCount() const { return files_->Inputs.size(); }
size_t TCustomFFmpeg::OutputFileCount() const { return files_->Outputs.size(); }

void TCustomFFmpeg::BindHandlers(TCustomFFmpegEngine* owner, bool log, bool progress, bool terminate) {
    owner_ = owner;
    logBound_ = log;
    progressBound_ = progress;
    terminateBound_ = terminate;
}

void TCustomFFmpeg::BindBeforeHook(bool on) {
    beforeHookBound_ = on;
    if (!on) {
        Hooks.OnBefore = nullptr;
        return;
    }
    Hooks.OnBefore = [this](int64_t pts, THookAction& action) {
        if (auto* e = owner_.load(); e && beforeHookBound_)
            e->DoBeforeHook(this, pts, action);
    };
}

void TCustomFFmpeg::BindCustomHook(bool on) {
    customHookBound_ = on;
    if (!on) {
        Hooks.OnCustom = nullptr;
        return;
    }
    Hooks.OnCustom = [this](TBitmap& bmp, int frame, int64_t pts, bool& update, bool& stop) {
        if (auto* e = owner_.load(); e && customHookBound_)
            e->DoCustomHook(this, bmp, frame, pts, update, stop);
    };
}

// Detaches the task from its engine: later events of the task go nowhere.
void TCustomFFmpeg::Unbind() {
    owner_ = nullptr;
    logBound_ = progressBound_ = terminateBound_ = false;
    beforeHookBound_ = customHookBound_ = false;
}

// Messages that depend on the verbosity are checked where they are made; the others
// arrive at every log level.
void TCustomFFmpeg::Log(int level, const std::string& text) {
    if (auto* e = owner_.load(); e && logBound_)
        e->DoLog(this, level, text);
}

void TCustomFFmpeg::ReportProgress(int frame, int fps, int durationMs, float quality,
                                   float bitRate, int64_t size, int totalMs) {
    if (auto* e = owner_.load(); e && progressBound_)
        e->DoProgress(this, frame, fps, durationMs, quality, bitRate, size, totalMs);
}

bool TCustomFFmpeg::ClaimForTermination() {
    std::lock_guard lock(stateMutex_);
    if (Running || Terminated || claimed_)
        return false;
    claimed_ = true;
    return true;
}

TFFmpegThread* TCustomFFmpeg::StartRun(bool Threaded, TConvertPriority Priority) {
    {
        std::lock_guard lock(stateMutex_);
        if (Running || Terminated || claimed_)
            return nullptr;
        claimed_ = true;
    }
    if (OutputFileCount() == 0) {
        FailAtStart("Must supply at least one output file");
        return nullptr;
    }
    if (InputFileCount() == 0) {
        FailAtStart("Must supply at least one input file");
        return nullptr;
    }
    Running = true;
    StopRequested = false;
    Finished = false;
    Terminated = false;
    if (!Threaded) {
        Run();
        return nullptr;
    }
    ownedThread_ = std::make_unique<TFFmpegThread>([this] { Run(); }, Priority);
    Thread = ownedThread_.get();
    return Thread;
}

// Runs inside the component's lock when a launch fails. No codec was opened, so CodecLock is
// not taken: a task closing its codecs holds CodecLock while the libraries log, and the log
// line waits for the component's lock, so taking them here in the other order could deadlock.
void TCustomFFmpeg::FailAtStart(const std::string& message) {
    DropFiles(true);
    Fail(message);
    NotifyTerminate();
}

void TCustomFFmpeg::Fail(const std::string& message) {
    Log(-1, message);
    ExceptionMessage = message;
    ExceptionRaised = true;
}

// A failed run's outputs are deleted; a stopped run's are finished files and stay.
void TCustomFFmpeg::Run() {
    Finished = false;
    bool failed = false;
    try {
        Transcode();
    } catch (const std::exception& e) {
        Fail(e.what());
        failed = true;
    }
    ReleaseFiles(failed);
    NotifyTerminate();
}

void TCustomFFmpeg::NotifyTerminate() {
    Running = false;
    Thread = nullptr;
    Terminated = true;
    if (auto* e = owner_.load(); e && terminateBound_)
        e->DoTerminate(this);
}

void TCustomFFmpeg::RequestStop() {
    StopRequested = true;
    ResumeThread();
}

void TCustomFFmpeg::Suspend() { suspended_ = true; }

void TCustomFFmpeg::ResumeThread() {
    {
        std::lock_guard lock(gateMutex_);
        suspended_ = false;
    }
    gate_.notify_all();
}

bool TCustomFFmpeg::CheckStop() {
    if (suspended_ && !StopRequested) {
        std::unique_lock lock(gateMutex_);
        gate_.wait(lock, [this] { return !suspended_ || StopRequested; });
    }
    return StopRequested;
}

}  // namespace tavrin
