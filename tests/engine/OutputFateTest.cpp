// What becomes of an output: a run that wrote no media fails and leaves no file; a failed
// run deletes what it wrote; a stopped run keeps its finished file; nothing but the file
// the task created is ever deleted.
#include <signal.h>
#include <algorithm>
#include <fstream>
#include <sys/resource.h>
#include <sys/stat.h>

#include "HostileMedia.h"
#include "TranscodeTestSupport.h"

namespace tavrin::test {
namespace {

constexpr const char* kNoMedia = "Output file #0 produced no audio or video";

// A task whose stop request arrives before its loop reads the first packet.
class StoppedAtOnceTask : public TFFmpeg {
protected:
    void Transcode() override {
        RequestStop();
        TFFmpeg::Transcode();
    }
};

// Writes past the limit fail with EFBIG instead of killing the process; both are undone
// when the scope ends.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previous_ = signal(SIGXFSZ, SIG_IGN);
        rlimit limited = saved_;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        signal(SIGXFSZ, previous_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit saved_{};
    sighandler_t previous_ = SIG_DFL;
};

TEST(EmptyOutput, AStartPositionBeyondTheEndFailsAndLeavesNoFile) {
    const std::string out = (TempDir() / "late.mp4").string();
    Conversion c = Convert(Job(Fixture("clip.mp4"), out, "", "vcodec=mpeg4\nacodec=aac\nss=10"));
    ASSERT_TRUE(c.created) << c.message;
    EXPECT_TRUE(c.exception);
    EXPECT_FALSE(c.finished);
    EXPECT_EQ(c.message, kNoMedia);
    EXPECT_FALSE(std::filesystem::exists(out));
}

TEST(EmptyOutput, AWavWithoutSamplesFailsAndLeavesNoFile) {
    const auto dir = TempDir();
    const std::string in = MakeClip(dir, "empty.wav", "-f lavfi -i anullsrc=r=44100:cl=stereo -t 0 -c:a pcm_s16le");
    const std::string out = (dir / "empty.mp3").string();
    Conversion c = Convert(Job(in, out, "", "acodec=libmp3lame"));
    EXPECT_FALSE(c.finished);
    EXPECT_EQ(c.message, "Nothing can be converted to '" + out + "': input stream #0.0 holds no packets");
    EXPECT_FALSE(std::filesystem::exists(out));
}

// The user's stop stays a stop (the row says "Abort"), but the empty file goes and the log
// says why.
TEST(EmptyOutput, AStopBeforeTheFirstPacketLeavesNoFile) {
    auto task = std::make_shared<StoppedAtOnceTask>();
    const std::string out = (TempDir() / "stopped.mp4").string();
    ASSERT_TRUE(task->OpenInput(Fixture("clip.mp4"))) << task->ErrorText;
    task->DispatchOption("vcodec", "mpeg4");
    ASSERT_TRUE(task->CreateOutput(out)) << task->ErrorText;
    std::vector<std::string> logs;
    TFFmpegEngine engine;
    engine.OnLog = [&](int, TLogLevel, const std::string& text) { logs.push_back(text); };
    task->BindHandlers(&engine, true, false, false);
    task->StartRun(false, tpNormal);
    task->Unbind();
    EXPECT_FALSE(task->ExceptionRaised) << task->ExceptionMessage;
    EXPECT_FALSE(task->Finished);
    EXPECT_NE(std::find(logs.begin(), logs.end(), kNoMedia), logs.end());
    EXPECT_FALSE(std::filesystem::exists(out));
}

TEST(FailedOutput, AWriteErrorDeletesWhatTheRunWrote) {
    const std::string out = (TempDir() / "big.avi").string();
    Conversion c;
    {
        FileSizeLimit limit(300000);  // the clip's PCM audio alone is 529 kB
        c = Convert(Job(Fixture("clip.mp4"), out, "", "vcodec=mpeg4\nb=4000000\nacodec=pcm_s16le"));
    }
    ASSERT_TRUE(c.created) << c.message;
    EXPECT_TRUE(c.exception);
    EXPECT_NE(c.message.find("File too large"), std::string::npos) << c.message;
    EXPECT_FALSE(std::filesystem::exists(out));
}

TEST(FailedOutput, AFullDeviceSaysSoAndIsNeverDeleted) {
    Conversion c = Convert(Job(Fixture("clip.mp4"), "/dev/full", "", "f=avi\nvcodec=mpeg4\nacodec=pcm_s16le"));
    ASSERT_TRUE(c.created) << c.message;
    EXPECT_TRUE(c.exception);
    EXPECT_NE(c.message.find("No space left on device"), std::string::npos) << c.message;
    struct stat st{};
    ASSERT_EQ(stat("/dev/full", &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode));
}

// A header the disk will not take blames the disk, not the codec parameters: a full device,
// and a header (with room kept for the index) larger than the size limit allows.
TEST(FailedOutput, AHeaderTheDiskRefusesSaysWhy) {
    const std::string header = "Could not write header for output file #0 ('";
    Conversion full = Convert(Job(Fixture("clip.mp4"), "/dev/full", "", "f=mp4\nvcodec=mpeg4\nacodec=aac"));
    ASSERT_TRUE(full.created) << full.message;
    EXPECT_EQ(full.message, header + "/dev/full'): No space left on device");

    const std::string out = (TempDir() / "limited.mp4").string();
    Conversion limited;
    {
        FileSizeLimit limit(8192);
        limited = Convert(Job(Fixture("clip.mp4"), out, "", "vcodec=mpeg4\nacodec=aac\nmoov_size=100000"));
    }
    ASSERT_TRUE(limited.created) << limited.message;
    EXPECT_EQ(limited.message, header + out + "'): File too large");
    EXPECT_FALSE(std::filesystem::exists(out));
}

TEST(FailedOutput, AFailureOnlyDeletesTheFileTheTaskCreatedNotOneSincePutInItsPlace) {
    const auto dir = TempDir();
    const std::string out = (dir / "replaced.mp4").string(), moved = (dir / "moved.mp4").string();
    auto task = std::make_shared<TFFmpeg>();
    ASSERT_TRUE(task->OpenInput(Fixture("clip.mp4"))) << task->ErrorText;
    ASSERT_TRUE(task->CreateOutput(out)) << task->ErrorText;
    std::filesystem::rename(out, moved);
    std::ofstream(out) << "the user's own file";
    task->ReleaseFiles(true);
    EXPECT_TRUE(std::filesystem::exists(out));
    EXPECT_EQ(std::filesystem::file_size(out), 19u);
}

}  // namespace
}  // namespace tavrin::test
