#include "component/CodecThreads.h"

#include <malloc.h>
#include <sched.h>

#include <algorithm>
#include <mutex>
#include <thread>

namespace tavrin {

int MachineCores() {
    cpu_set_t set;
    CPU_ZERO(&set);
    if (sched_getaffinity(0, sizeof set, &set) == 0 && CPU_COUNT(&set) > 0)
        return CPU_COUNT(&set);
    return std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
}

int SharedCodecThreads(int tasksAtOnce) {
    if (tasksAtOnce <= 1)
        return 0;
    return std::max(1, MachineCores() / tasksAtOnce);
}

void KeepAllocatorArenasFew() {
    static std::once_flag once;
    std::call_once(once, [] { mallopt(M_ARENA_MAX, std::max(2, MachineCores())); });
}

}  // namespace tavrin
