// Ctrl+C and a polite kill, heard on a thread of their own so that the main thread may be
// busy opening files or waiting for the engine when they come.
#pragma once

#include <csignal>

#include <atomic>
#include <functional>
#include <thread>

namespace tavrin::cli {

// The signals a run handles itself: Ctrl+C, a polite kill, and the wake-up that ends its
// signal thread. Block them before any thread exists so that every engine and codec
// thread inherits the mask and only the run's signal thread receives them.
sigset_t RunSignals();
void BlockRunSignals();

// Calls onStop with each stop signal that arrives while it lives.
class TSignalWatch {
public:
    explicit TSignalWatch(std::function<void(int)> onStop);
    ~TSignalWatch();
    TSignalWatch(const TSignalWatch&) = delete;
    TSignalWatch& operator=(const TSignalWatch&) = delete;

private:
    void Loop();

    std::function<void(int)> onStop_;
    std::atomic<bool> quit_{false};
    std::thread thread_;
};

}  // namespace tavrin::cli
