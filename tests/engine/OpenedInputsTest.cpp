// A probe's opened input handed to the task that converts the same file: the file is
// opened once when it is unchanged and the task asks for a plain opening, afresh otherwise.
#include <sys/inotify.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "TranscodeTestSupport.h"
#include "probe/AVProbe.h"
#include "setup/OpenedInputs.h"

namespace tavrin::test {
namespace {

// How often a file was opened while it was watched.
class OpenCount {
public:
    explicit OpenCount(const std::string& path) : fd_(inotify_init1(IN_NONBLOCK)) {
        inotify_add_watch(fd_, path.c_str(), IN_OPEN);
    }
    ~OpenCount() { close(fd_); }
    OpenCount(const OpenCount&) = delete;
    OpenCount& operator=(const OpenCount&) = delete;
    int Opens() const {
        int opens = 0;
        alignas(inotify_event) char buf[4096];
        for (ssize_t n; (n = read(fd_, buf, sizeof buf)) > 0;)
            for (char* p = buf; p < buf + n; p += sizeof(inotify_event) + reinterpret_cast<inotify_event*>(p)->len)
                opens += (reinterpret_cast<inotify_event*>(p)->mask & IN_OPEN) != 0;
        return opens;
    }

private:
    int fd_;
};

void Keep(const std::string& path) {
    TAVProbe probe;
    ASSERT_TRUE(probe.Open(path, "")) << probe.LastError();
    probe.KeepForConversion();
}

TEST(OpenedInputs, AProbedFileIsOpenedOnceUnlessItChangedOrTheTaskAsksForMore) {
    const auto dir = TempDir();
    struct Case {
        const char* name;
        std::function<void(const std::string&)> change;  // after the probe, before the task
        const char* inputLines;
        bool openedOnce;
    };
    const auto touch = [](const std::string& p) {
        std::filesystem::last_write_time(p, std::filesystem::last_write_time(p) + std::chrono::seconds(5));
    };
    const auto append = [](const std::string& p) { std::ofstream(p, std::ios::app) << "tail"; };
    const auto replace = [&](const std::string& p) {
        std::filesystem::copy_file(p, p + ".new");
        std::filesystem::rename(p + ".new", p);
    };
    const Case cases[] = {
        {"unchanged", nullptr, "", true},
        {"touched", touch, "", false},
        {"appended", append, "", false},
        {"replaced", replace, "", false},
        {"forced format", nullptr, "f=mp4", false},
    };
    for (const Case& c : cases) {
        DropOpenedInputs();
        const std::string in = MakeClip(dir, "clip.mp4", "-f lavfi -i testsrc2=size=160x120:rate=25:duration=1 "
                                        "-f lavfi -i sine=sample_rate=44100:duration=1 -c:v libx264 -c:a aac");
        Keep(in);
        ASSERT_EQ(KeptInputCount(), 1) << c.name;
        if (c.change)
            c.change(in);
        const OpenCount opens(in);
        const std::string out = (dir / "out.mp4").string();
        const Conversion conv = Convert(Job(in, out, c.inputLines, "vcodec=mpeg4\nacodec=aac"));
        ASSERT_TRUE(conv.finished) << c.name << ": " << conv.message;
        EXPECT_EQ(opens.Opens() == 0, c.openedOnce) << c.name;
        const MediaInfo info = ProbeMedia(out);
        EXPECT_NEAR(info.duration, 1.0, 0.1) << c.name;
        ASSERT_NE(info.First("video"), nullptr) << c.name;
        EXPECT_EQ(info.First("video")->at("nb_read_packets"), "25") << c.name;
        EXPECT_EQ(KeptInputCount(), c.inputLines[0] ? 1 : 0) << c.name << ": a kept input is taken once";
    }
    DropOpenedInputs();
}

TEST(OpenedInputs, FewAreKeptTheNewestFirst) {
    const auto dir = TempDir();
    DropOpenedInputs();
    const std::string first = MakeClip(dir, "t0.wav", "-f lavfi -i sine=sample_rate=8000:duration=0.1 -c:a pcm_s16le");
    std::vector<std::string> paths{first};
    for (int i = 1; i < 20; ++i) {
        paths.push_back((dir / ("t" + std::to_string(i) + ".wav")).string());
        std::filesystem::copy_file(first, paths.back());
    }
    for (const std::string& path : paths)
        Keep(path);
    EXPECT_EQ(KeptInputCount(), 16);
    EXPECT_EQ(TakeOpenedInput(paths.front()), nullptr);
    EXPECT_NE(TakeOpenedInput(paths.back()), nullptr);
    Keep(paths[10]);  // probed again: one entry, not two
    EXPECT_EQ(KeptInputCount(), 15);
    DropOpenedInputs();
    EXPECT_EQ(KeptInputCount(), 0);
}

}  // namespace
}  // namespace tavrin::test
