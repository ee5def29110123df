#include "component/FFmpegThread.h"

#include <pthread.h>
#include <sched.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <future>

namespace tavrin {

void ApplyThreadPriority(TConvertPriority priority) {
    if (priority == tpIdle) {
        sched_param param{};
        pthread_setschedparam(pthread_self(), SCHED_IDLE, &param);
        return;
    }
    static constexpr int kNice[] = {19, 10, 5, 0};  // tpIdle is never looked up here
    const auto tid = static_cast<id_t>(syscall(SYS_gettid));
    setpriority(PRIO_PROCESS, tid, kNice[priority]);
}

TFFmpegThread::TFFmpegThread(std::function<void()> body, TConvertPriority priority)
    : body_(std::move(body)), priority_(priority) {}

TFFmpegThread::~TFFmpegThread() { JoinOrDetach(); }

void TFFmpegThread::Resume(std::shared_ptr<void> keepAlive,
                           const std::function<void(std::thread::id)>& onStart) {
    if (thread_.joinable() || !body_)
        return;
    std::promise<void> go;
    std::future<void> ready = go.get_future();
    thread_ = std::thread([body = std::move(body_), prio = priority_, keep = std::move(keepAlive),
                           ready = std::move(ready)]() mutable {
        ready.wait();
        ApplyThreadPriority(prio);
        body();
        body = nullptr;
        keep.reset();  // may free the task, and with it this thread's object (then detached)
    });
    if (onStart)
        onStart(thread_.get_id());
    go.set_value();
}

void TFFmpegThread::JoinOrDetach() noexcept {
    if (!thread_.joinable())
        return;
    if (thread_.get_id() == std::this_thread::get_id())
        thread_.detach();
    else
        thread_.join();
}

}  // namespace tavrin
