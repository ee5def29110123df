#include "component/LogList.h"

namespace tavrin {

TLogList::Entry& TLogList::Find(std::thread::id thread) {
    if (builtIn_.thread == std::thread::id() || builtIn_.thread == thread) {
        builtIn_.thread = thread;
        return builtIn_;
    }
    for (Entry& e : more_)
        if (e.thread == thread)
            return e;
    more_.push_front(Entry{thread, {}});
    return more_.front();
}

std::vector<std::string> TLogList::Append(std::thread::id thread, const std::string& prefix,
                                          const std::string& text) {
    std::lock_guard lock(mutex_);
    Entry& e = Find(thread);
    std::string all = e.text.empty() ? prefix + text : e.text + text;
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t lf = all.find('\n'); lf != std::string::npos; lf = all.find('\n', start)) {
        lines.push_back(all.substr(start, lf - start));
        start = lf + 1;
    }
    e.text = all.substr(start);
    return lines;
}

void TLogList::Clear() {
    std::lock_guard lock(mutex_);
    builtIn_ = Entry{};
    more_.clear();
}

std::string TLogList::TailOf(std::thread::id thread) {
    std::lock_guard lock(mutex_);
    return Find(thread).text;
}

}  // namespace tavrin
