// What a run tells: which messages arrive at which log level, and the final progress
// report against what ffprobe reads from the file.
#include "TranscodeTestSupport.h"

namespace tavrin::test {
namespace {

constexpr const char* kLowBitrate = "WARNING: The bitrate parameter is set too low. It takes bits/s as argument, not kbits/s";

ConversionSetup LowRateJob(const std::filesystem::path& out, TLogLevel level) {
    ConversionSetup s = Job(Fixture("clip.avi"), out.string(), "", "vcodec=mpeg4\nb=500\nr=10\nacodec=mp2");
    s.level = level;
    return s;
}

TEST(EngineLog, MessagesWithoutAVerbosityConditionArriveAtTheErrorLevel) {
    const auto dir = TempDir();
    Conversion c = Convert(LowRateJob(dir / "error.mkv", llError));
    ASSERT_TRUE(c.finished) << c.message;
    EXPECT_TRUE(c.Logged(kLowBitrate));
    EXPECT_TRUE(c.Logged("Stream mapping:"));
    EXPECT_TRUE(c.Logged("  Stream #0.0 -> #0.0"));
    EXPECT_TRUE(c.Logged("  Stream #0.1 -> #0.1"));
    EXPECT_TRUE(c.Logged("video:"));
    EXPECT_TRUE(c.Logged("muxing overhead"));
    // Dropping pictures for the lower rate is told only when debugging.
    EXPECT_FALSE(c.Logged("*** drop!"));

    c = Convert(LowRateJob(dir / "all.mkv", llAll));
    ASSERT_TRUE(c.finished) << c.message;
    EXPECT_TRUE(c.Logged("*** drop!"));
}

TEST(EngineLog, QuietLeavesOutOnlyTheMessagesThatNeedAVerbosityOfZero) {
    Conversion c = Convert(LowRateJob(TempDir() / "quiet.mkv", llQuiet));
    ASSERT_TRUE(c.finished) << c.message;
    EXPECT_TRUE(c.Logged(kLowBitrate));
    EXPECT_FALSE(c.Logged("Stream mapping:"));
    EXPECT_FALSE(c.Logged("muxing overhead"));
}

TEST(FinalProgress, ReachesTheEndOfTheLastPicture) {
    const auto dir = TempDir();
    for (const char* ext : {".mkv", ".mp4"}) {
        const std::string out = (dir / (std::string("video") + ext)).string();
        Conversion c = Convert(Job(Fixture("clip.mp4"), out, "", "an\nvcodec=libx264"));
        ASSERT_TRUE(c.finished) << c.message;
        ASSERT_FALSE(c.progress.empty());
        EXPECT_EQ(c.progress.back().frame, 75);
        EXPECT_EQ(c.progress.back().durationMs, 3000) << ext;
        EXPECT_NEAR(ProbeMedia(out).duration, 3.0, 0.001) << ext;
    }
    const std::string both = (dir / "both.mp4").string();
    Conversion c = Convert(Job(Fixture("clip.mp4"), both, "", "vcodec=mpeg4\nacodec=aac"));
    ASSERT_TRUE(c.finished) << c.message;
    EXPECT_GE(c.progress.back().durationMs, 2990);
    EXPECT_GE(c.progress.back().durationMs * 100 / c.progress.back().totalMs, 99);
}

}  // namespace
}  // namespace tavrin::test
