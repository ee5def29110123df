// The threads a task runs on: created suspended, started by Resume.
#pragma once

#include <functional>
#include <memory>
#include <thread>
#include <utility>

#include "common/FFmpegTypes.h"

namespace tavrin {

// Applies a priority to the calling thread; failures are ignored.
void ApplyThreadPriority(TConvertPriority priority);

class TFFmpegThread {
public:
    TFFmpegThread(std::function<void()> body, TConvertPriority priority);
    TFFmpegThread(const TFFmpegThread&) = delete;
    TFFmpegThread& operator=(const TFFmpegThread&) = delete;
    ~TFFmpegThread();

    // Starts the body; keepAlive is held by the thread until the body has returned.
    // onStart sees the new thread's id before the body runs.
    void Resume(std::shared_ptr<void> keepAlive,
                const std::function<void(std::thread::id)>& onStart = nullptr);
    std::thread::id Id() const { return thread_.get_id(); }
    // Waits for the body to end; from the thread itself it lets the thread go instead.
    void JoinOrDetach() noexcept;

private:
    std::function<void()> body_;
    TConvertPriority priority_;
    std::thread thread_;
};

}  // namespace tavrin
