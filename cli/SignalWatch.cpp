#include "SignalWatch.h"

#include <pthread.h>

namespace tavrin::cli {

sigset_t RunSignals() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGUSR1);
    return set;
}

void BlockRunSignals() {
    const sigset_t set = RunSignals();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

TSignalWatch::TSignalWatch(std::function<void(int)> onStop)
    : onStop_(std::move(onStop)), thread_([this] { Loop(); }) {}

TSignalWatch::~TSignalWatch() {
    quit_ = true;
    pthread_kill(thread_.native_handle(), SIGUSR1);
    thread_.join();
}

void TSignalWatch::Loop() {
    const sigset_t set = RunSignals();
    while (!quit_) {
        int signal = 0;
        if (sigwait(&set, &signal) == 0 && signal != SIGUSR1)
            onStop_(signal);
    }
}

}  // namespace tavrin::cli
