// Per thread, the unfinished tail of library log output (text not yet ended by a line feed).
#pragma once

#include <forward_list>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace tavrin {

class TLogList {
public:
    // Joins text to the calling thread's tail and returns the finished lines (line feeds
    // dropped); what follows the last line feed stays as the new tail.
    // prefix starts the text when the thread has no tail.
    std::vector<std::string> Append(std::thread::id thread, const std::string& prefix,
                                    const std::string& text);
    void Clear();
    std::string TailOf(std::thread::id thread);

private:
    struct Entry {
        std::thread::id thread;
        std::string text;
    };
    Entry& Find(std::thread::id thread);

    std::mutex mutex_;
    Entry builtIn_;
    std::forward_list<Entry> more_;
};

}  // namespace tavrin
