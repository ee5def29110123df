#include "run/Stage.h"

namespace tavrin {

void TRunFailure::Record(std::exception_ptr e) {
    std::lock_guard lock(mutex_);
    if (first_)
        return;
    first_ = std::move(e);
    failed_.store(true, std::memory_order_release);
}

void TRunFailure::Rethrow() const {
    if (!Failed())
        return;
    std::exception_ptr e;
    {
        std::lock_guard lock(mutex_);
        e = first_;
    }
    std::rethrow_exception(e);
}

TStage::TStage(TRunFailure& failure, size_t depth, bool threaded, ThreadNote threadStarts, ThreadNote threadEnds)
    : failure_(failure), depth_(depth < 1 ? 1 : depth) {
    if (threaded)
        thread_ = std::thread([this, s = std::move(threadStarts), e = std::move(threadEnds)] { Loop(s, e); });
}

TStage::~TStage() { Abandon(); }

void TStage::Post(TJob job) {
    failure_.Rethrow();
    if (!Threaded()) {
        try {
            job();
        } catch (...) {
            failure_.Record(std::current_exception());
            throw;
        }
        return;
    }
    std::unique_lock lock(mutex_);
    // A failed run's stages drop their jobs, so a full queue always empties.
    if (jobs_.size() >= depth_) {
        const auto start = std::chrono::steady_clock::now();
        changed_.wait(lock, [this] { return jobs_.size() < depth_ || closing_ || failure_.Failed(); });
        waitMicros_ += MicrosSince(start);
    }
    if (closing_ || failure_.Failed()) {
        lock.unlock();
        failure_.Rethrow();
        return;
    }
    const bool wake = jobs_.empty() && !busy_;
    jobs_.push_back(std::move(job));
    if (wake)
        changed_.notify_all();
}

void TStage::Finish() {
    if (Threaded()) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return (jobs_.empty() && !busy_) || closing_; });
    }
    failure_.Rethrow();
}

void TStage::Abandon() noexcept {
    if (!Threaded())
        return;
    {
        std::lock_guard lock(mutex_);
        closing_ = true;
        jobs_.clear();
    }
    changed_.notify_all();
    thread_.join();
}

void TStage::Loop(ThreadNote starts, ThreadNote ends) {
    if (starts)
        starts(std::this_thread::get_id());
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return !jobs_.empty() || closing_; });
        if (closing_)
            break;
        TJob job = std::move(jobs_.front());
        jobs_.pop_front();
        busy_ = true;
        const bool wasFull = jobs_.size() + 1 >= depth_;
        lock.unlock();
        if (wasFull)
            changed_.notify_all();  // a hand-over may be waiting for room
        if (!failure_.Failed()) {
            const auto start = std::chrono::steady_clock::now();
            try {
                job();
            } catch (...) {
                failure_.Record(std::current_exception());
            }
            busyMicros_ += MicrosSince(start);
        }
        job = TJob();  // what the job carried goes before the stage reports itself idle
        lock.lock();
        busy_ = false;
        if (jobs_.empty())
            changed_.notify_all();  // Finish may be waiting
    }
    lock.unlock();
    if (ends)
        ends(std::this_thread::get_id());
}

}  // namespace tavrin
