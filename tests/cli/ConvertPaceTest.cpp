// tavrin-convert's batch in this process, timed from outside: its console lines as they are
// written, and the output folder's files as the engine creates and closes them.
#include "ConvertBatch.h"
#include "SignalWatch.h"

#include <gtest/gtest.h>

#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <map>
#include <mutex>
#include <sstream>
#include <streambuf>
#include <thread>
#include <vector>

namespace tavrin::cli {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using Millis = std::chrono::duration<double, std::milli>;

// Remembers when each line was ended.
class TTimedLines : public std::streambuf {
public:
    std::vector<std::pair<Clock::time_point, std::string>> Lines;

    // The time of the first line that starts with text.
    Clock::time_point When(const std::string& text) const
    {
        for (const auto& [at, line] : Lines)
            if (line.starts_with(text))
                return at;
        ADD_FAILURE() << "no line starts with " << text;
        return {};
    }

protected:
    int overflow(int c) override
    {
        if (c == '\n') {
            Lines.emplace_back(Clock::now(), current_);
            current_.clear();
        } else if (c != traits_type::eof() && c != '\r') {
            current_.push_back(static_cast<char>(c));
        }
        return c;
    }

private:
    std::string current_;
};

// Notes when files appear in a folder ("create NAME") and when they are closed after
// writing ("close NAME"), on a thread of its own.
class TFolderWatch {
public:
    explicit TFolderWatch(const fs::path& folder) : fd_(inotify_init1(IN_NONBLOCK))
    {
        EXPECT_GE(fd_, 0);
        EXPECT_GE(inotify_add_watch(fd_, folder.c_str(), IN_CREATE | IN_CLOSE_WRITE), 0);
        thread_ = std::thread([this] { Run(); });
    }
    ~TFolderWatch()
    {
        stop_ = true;
        thread_.join();
        close(fd_);
    }
    Clock::time_point When(const std::string& what)
    {
        std::lock_guard lock(mutex_);
        EXPECT_TRUE(seen_.contains(what)) << "never saw " << what;
        return seen_[what];
    }

private:
    void Run()
    {
        alignas(inotify_event) char buffer[4096];
        while (!stop_) {
            pollfd ready{fd_, POLLIN, 0};
            if (poll(&ready, 1, 50) <= 0)
                continue;
            const auto at = Clock::now();
            const ssize_t size = read(fd_, buffer, sizeof buffer);
            for (ssize_t offset = 0; offset < size;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer + offset);
                const std::string kind = event->mask & IN_CREATE ? "create " : "close ";
                std::lock_guard lock(mutex_);
                seen_.try_emplace(kind + event->name, at);
                offset += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            }
        }
    }

    int fd_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
    std::mutex mutex_;
    std::map<std::string, Clock::time_point> seen_;
};

// Five files one after another: from one output's last write to the next output's creation
// the engine ends a task and sets up the next one, and the batch adds no wait of its own.
// The gaps are measured against the first file's set-up: from the end of the listing to the
// creation of its output. A gap holds the end of one task and the set-up of the next, each
// allowed twice that set-up, plus a few milliseconds for the end of a task (its threads
// joined, its codecs freed), which the first set-up does not hold: with the file's opening
// taken from the listing that set-up can be under a millisecond. Any timer on the path adds
// at least its 200 ms interval. A busy machine only lengthens gaps, so the shortest counts.
TEST(ConvertPace, FilesFollowEachOtherWithoutWaitingForATimer)
{
    BlockRunSignals();  // as the program does, before any thread starts
    const fs::path work = fs::temp_directory_path() / "tavrin-convert-pace" / std::to_string(getpid());
    fs::remove_all(work);
    fs::create_directories(work / "OUT");
    const std::string fixtures = TAVRIN_FIXTURE_DIR;
    const std::vector<std::string> names{"a", "b", "c", "d", "e"};
    TConvertCommandLine line;
    line.Profile = "appletv";
    line.OutputFolder = (work / "OUT").string();
    line.Jobs = 1;
    for (const std::string& name : names) {
        line.Files.push_back((work / (name + ".avi")).string());
        fs::copy_file(fixtures + "/short.avi", line.Files.back());
    }
    TTimedLines lines;
    std::ostream out(&lines);
    TConsole console(out);
    {
        TFolderWatch watch(work / "OUT");
        ASSERT_EQ(ConvertFiles(line, console, false), kConvertAllDone);

        const Millis firstSetUp = watch.When("create a.mp4") - lines.When(line.Files.back() + ":");
        std::vector<double> gaps;
        for (size_t i = 1; i < names.size(); ++i)
            gaps.push_back(Millis(watch.When("create " + names[i] + ".mp4") -
                                  watch.When("close " + names[i - 1] + ".mp4"))
                               .count());
        std::string shown;
        for (double gap : gaps)
            shown += std::to_string(gap) + " ";
        constexpr double kTaskEndMs = 25;
        EXPECT_LE(*std::min_element(gaps.begin(), gaps.end()), 4 * firstSetUp.count() + kTaskEndMs)
            << "gaps " << shown << "ms; first set-up " << firstSetUp.count() << " ms";
    }
    fs::remove_all(work);
}

}  // namespace
}  // namespace tavrin::cli
