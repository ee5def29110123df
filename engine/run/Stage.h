// One step of a run on a thread of its own: it takes jobs in order from a small bounded
// queue, so that the step before it can go on with the next picture or packet. A stage made
// without a thread runs each job as it is handed over, which is the one-thread run.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <type_traits>
#include <utility>

namespace tavrin {

// A job that owns what it carries (frames, packets): moved, never copied.
class TJob {
public:
    TJob() = default;
    template <typename F, typename = std::enable_if_t<!std::is_same_v<std::decay_t<F>, TJob>>>
    TJob(F&& f) : body_(std::make_unique<Body<std::decay_t<F>>>(std::forward<F>(f))) {}
    void operator()() { body_->Run(); }
    explicit operator bool() const { return static_cast<bool>(body_); }

private:
    struct Base {
        virtual ~Base() = default;
        virtual void Run() = 0;
    };
    template <typename F>
    struct Body final : Base {
        template <typename G>
        explicit Body(G&& g) : fn(std::forward<G>(g)) {}
        void Run() override { fn(); }
        F fn;
    };
    std::unique_ptr<Base> body_;
};

// The first failure of any stage of a run; once there is one, every stage drops its jobs
// and every hand-over rethrows it, so the run ends with that failure's own text.
// Microseconds since start on a steady clock.
inline int64_t MicrosSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start).count();
}

class TRunFailure {
public:
    void Record(std::exception_ptr e);
    bool Failed() const { return failed_.load(std::memory_order_acquire); }
    void Rethrow() const;  // does nothing while no stage has failed

private:
    mutable std::mutex mutex_;
    std::exception_ptr first_;
    std::atomic<bool> failed_{false};
};

class TStage {
public:
    // threadStarts / threadEnds are called on the stage's own thread, e.g. so that library
    // messages logged there are told as the task's.
    using ThreadNote = std::function<void(std::thread::id)>;
    TStage(TRunFailure& failure, size_t depth, bool threaded, ThreadNote threadStarts = {},
           ThreadNote threadEnds = {});
    ~TStage();
    TStage(const TStage&) = delete;
    TStage& operator=(const TStage&) = delete;

    // Runs the job now (no thread) or queues it, waiting while the queue is full. Throws
    // the run's failure instead when there is one.
    void Post(TJob job);
    // Returns once every job handed over so far has run; then rethrows a failure.
    void Finish();
    // Drops the waiting jobs and ends the thread after the job it is running.
    void Abandon() noexcept;
    bool Threaded() const { return thread_.joinable(); }
    // Seconds the stage spent on its jobs, and that those handing jobs over spent waiting
    // for room in its queue.
    double BusySeconds() const { return static_cast<double>(busyMicros_.load()) / 1e6; }
    double WaitSeconds() const { return static_cast<double>(waitMicros_.load()) / 1e6; }

private:
    void Loop(ThreadNote starts, ThreadNote ends);

    TRunFailure& failure_;
    const size_t depth_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<TJob> jobs_;
    bool busy_ = false;
    bool closing_ = false;
    std::atomic<int64_t> busyMicros_{0}, waitMicros_{0};
    std::thread thread_;
};

}  // namespace tavrin
