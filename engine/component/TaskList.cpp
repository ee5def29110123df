#include "component/TaskList.h"

#include <stdexcept>
#include <string>

namespace tavrin {

TFFmpegList::~TFFmpegList() = default;

int TFFmpegList::Add(TaskPtr task) {
    std::lock_guard lock(mutex_);
    task->TaskIndex = static_cast<int>(tasks_.size());
    tasks_.push_back(std::move(task));
    return static_cast<int>(tasks_.size()) - 1;
}

TFFmpegList::TaskPtr TFFmpegList::Delete(int Index) {
    std::lock_guard lock(mutex_);
    if (Index < 0 || Index >= static_cast<int>(tasks_.size()))
        throw std::out_of_range("List index out of bounds (" + std::to_string(Index) + ")");
    TaskPtr removed = std::move(tasks_[static_cast<size_t>(Index)]);
    tasks_.erase(tasks_.begin() + Index);
    for (size_t i = static_cast<size_t>(Index); i < tasks_.size(); ++i)
        tasks_[i]->TaskIndex = static_cast<int>(i);
    return removed;
}

std::vector<TFFmpegList::TaskPtr> TFFmpegList::Clear() {
    std::lock_guard lock(mutex_);
    std::vector<TaskPtr> removed;
    removed.swap(tasks_);
    return removed;
}

TFFmpegList::TaskPtr TFFmpegList::Items(int Index) const {
    TaskPtr t = TryItem(Index);
    if (!t)
        throw std::out_of_range("List index out of bounds (" + std::to_string(Index) + ")");
    return t;
}

TFFmpegList::TaskPtr TFFmpegList::TryItem(int Index) const {
    std::lock_guard lock(mutex_);
    if (Index < 0 || Index >= static_cast<int>(tasks_.size()))
        return nullptr;
    return tasks_[static_cast<size_t>(Index)];
}

int TFFmpegList::Count() const {
    std::lock_guard lock(mutex_);
    return static_cast<int>(tasks_.size());
}

TFFmpegList::TaskPtr TFFmpegList::FindByThreadID(std::thread::id id) const {
    std::lock_guard lock(mutex_);
    for (const TaskPtr& t : tasks_)
        if (t->ThreadID.load() == id || t->RunsStageThread(id))
            return t;
    return nullptr;
}

std::vector<TFFmpegList::TaskPtr> TFFmpegList::Snapshot() const {
    std::lock_guard lock(mutex_);
    return tasks_;
}

}  // namespace tavrin
