// Turning task reports into the component's events.
#include "component/EngineLock.h"
#include "component/FFmpegEngine.h"
#include "component/LibraryLog.h"

namespace tavrin {

int TCustomFFmpegEngine::IndexOf(TCustomFFmpeg* task) {
    auto* t = dynamic_cast<TFFmpeg*>(task);
    return t ? t->TaskIndex.load() : -1;
}

void TCustomFFmpegEngine::DoBeforeHook(TCustomFFmpeg* task, int64_t pts, THookAction& action) {
    if (OnBeforeHook)
        OnBeforeHook(IndexOf(task), pts, action);
}

void TCustomFFmpegEngine::DoCustomHook(TCustomFFmpeg* task, TBitmap& bitmap, int frame,
                                       int64_t pts, bool& update, bool& stopHook) {
    if (OnCustomHook)
        OnCustomHook(IndexOf(task), bitmap, frame, pts, update, stopHook);
}

void TCustomFFmpegEngine::DoLog(TCustomFFmpeg* task, int level, const std::string& text) {
    EventScope scope(lock_);
    if (OnLog)
        OnLog(task ? IndexOf(task) : -1, EngineLevelToLogLevel(level), text);
}

void TCustomFFmpegEngine::DoProgress(TCustomFFmpeg* task, int frame, int fps, int durationMs,
                                     float quality, float bitRate, int64_t size, int totalMs) {
    EventScope scope(lock_);
    if (OnProgress)
        OnProgress(IndexOf(task), frame, fps, durationMs, quality, bitRate, size, totalMs);
}

void TCustomFFmpegEngine::DoTerminate(TCustomFFmpeg* task) {
    EventScope scope(lock_);
    if (!task) {
        if (OnTerminate)
            OnTerminate(-1, true, false, "");
        PendingLogLines().Clear();
        return;
    }
    if (OnTerminate)
        OnTerminate(IndexOf(task), task->Finished, task->ExceptionRaised, task->ExceptionMessage);
    ++terminatedCount_;
    if (pendingCount_ > 0) {
        StartNextTask();
    } else if (terminatedCount_ >= tasks_.Count()) {
        if (OnTerminate)
            OnTerminate(-1, true, false, "");
        PendingLogLines().Clear();
    }
}

void TCustomFFmpegEngine::DeliverLibraryLine(std::thread::id thread, int level,
                                             const std::string& line) {
    std::shared_ptr<TFFmpeg> task = tasks_.FindByThreadID(thread);
    DoLog(task.get(), level, line);
}

}  // namespace tavrin
