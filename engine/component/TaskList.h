// The engine's ordered, owning list of tasks. Safe to use from any thread.
#pragma once

#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "options/FFmpeg.h"

namespace tavrin {

class TFFmpegList {
public:
    using TaskPtr = std::shared_ptr<TFFmpeg>;

    ~TFFmpegList();

    // Appends and sets the task's TaskIndex to its position; returns it.
    int Add(TaskPtr task);
    // Takes task Index out and renumbers the later tasks; throws std::out_of_range.
    TaskPtr Delete(int Index);
    // Takes every task out.
    std::vector<TaskPtr> Clear();
    // Throws std::out_of_range for an index outside the list.
    TaskPtr Items(int Index) const;
    TaskPtr TryItem(int Index) const;
    int Count() const;
    TaskPtr FindByThreadID(std::thread::id id) const;
    std::vector<TaskPtr> Snapshot() const;

private:
    mutable std::mutex mutex_;
    std::vector<TaskPtr> tasks_;
};

}  // namespace tavrin
