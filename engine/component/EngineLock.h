// The component lock, with a per-thread count of how many engine locks are held.
#pragma once

#include <mutex>

namespace tavrin {

// A thread inside an engine event must never wait for another task's thread, which may
// itself be waiting for that lock.
inline thread_local int t_eventDepth = 0;

class EventScope {
public:
    explicit EventScope(std::recursive_mutex& m) : lock_(m) { ++t_eventDepth; }
    ~EventScope() { --t_eventDepth; }
    EventScope(const EventScope&) = delete;
    EventScope& operator=(const EventScope&) = delete;

private:
    std::lock_guard<std::recursive_mutex> lock_;
};

}  // namespace tavrin
