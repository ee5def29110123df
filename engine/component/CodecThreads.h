// How many threads each decoder and encoder of a task gets.
#pragma once

namespace tavrin {

// The cores this process may run on (its CPU affinity), at least 1.
int MachineCores();

// Threads per codec when tasksAtOnce tasks convert side by side and nobody asked for a
// number: 0 for a task that runs alone (the codec libraries then use every core, as they
// judge best for each codec), else the cores shared out, at least 1, so that the total
// stays near the number of cores.
int SharedCodecThreads(int tasksAtOnce);

// Keeps the C library's allocator to about one arena per core, once per process. Each run
// starts stage and codec threads, and each new thread would otherwise get an arena of its
// own that keeps the pictures freed in it: a batch of short clips grew by half.
void KeepAllocatorArenasFew();

}  // namespace tavrin
