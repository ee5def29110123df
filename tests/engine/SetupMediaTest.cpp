// Inputs and outputs whose set-up depends on the media itself: programmes of a transport
// stream, a looped picture, the recording date in the container, the probe of an unknown
// format. Checked with ffprobe.
#include "TranscodeTestSupport.h"
#include "options/OptionParsing.h"

namespace tavrin::test {
namespace {

// Two programmes of different picture sizes: 1 holds streams 0 (320x240) and 1, 2 holds
// streams 2 (160x120) and 3.
std::string TwoProgrammeStream(const std::filesystem::path& dir) {
    return MakeClip(dir, "two.ts",
                    "-f lavfi -i testsrc2=size=320x240:rate=25:duration=3 -f lavfi -i sine=duration=3 "
                    "-f lavfi -i testsrc=size=160x120:rate=25:duration=3 -f lavfi -i sine=frequency=300:duration=3 "
                    "-map 0 -map 1 -map 2 -map 3 -c:v mpeg2video -c:a mp2 "
                    "-program program_num=1:st=0:st=1 -program program_num=2:st=2:st=3");
}

TEST(ProgrammeInput, EachProgrammeOpensAndItsOwnStreamsDescribeTheOutput) {
    const auto dir = TempDir();
    const std::string ts = TwoProgrammeStream(dir);
    struct Case {
        const char* programme;
        const char* width;
        const char* height;
    };
    for (const Case& p : {Case{"1", "320", "240"}, Case{"2", "160", "120"}}) {
        const std::string out = (dir / (std::string("programme") + p.programme + ".mkv")).string();
        Conversion c = Convert(Job(ts, out, std::string("programid=") + p.programme, "vcodec=mpeg4\nacodec=mp2"));
        ASSERT_TRUE(c.added) << p.programme << ": " << c.message;
        ASSERT_TRUE(c.finished) << p.programme << ": " << c.message;
        const MediaInfo info = ProbeMedia(out);
        ASSERT_NE(info.First("video"), nullptr);
        EXPECT_EQ(info.First("video")->at("width"), p.width) << "programme " << p.programme;
        EXPECT_EQ(info.First("video")->at("height"), p.height) << "programme " << p.programme;
        EXPECT_EQ(info.First("audio")->at("channels"), "1") << "programme " << p.programme;
    }
}

TEST(LoopedInput, ASinglePictureLoopsIntoAClipOfTheAskedLength) {
    const auto dir = TempDir();
    const std::string picture = MakeClip(dir, "still.png", "-f lavfi -i testsrc2=size=160x120 -frames:v 1");
    const std::string looped = (dir / "looped.mkv").string();
    Conversion c = Convert(Job(picture, looped, "loop_input", "vcodec=mpeg4\nt=2"));
    ASSERT_TRUE(c.finished) << c.message;
    const MediaInfo info = ProbeMedia(looped);
    EXPECT_NEAR(std::stoi(info.First("video")->at("nb_read_packets")), 50, 1);
    EXPECT_NEAR(info.duration, 2.0, 0.1);

    const std::string once = (dir / "once.mkv").string();
    c = Convert(Job(picture, once, "", "vcodec=mpeg4\nt=2"));
    ASSERT_TRUE(c.finished) << c.message;
    EXPECT_EQ(ProbeMedia(once).First("video")->at("nb_read_packets"), "1");
}

TEST(RecordingDate, ReachesTheContainerAsAnIsoUtcDate) {
    const auto dir = TempDir();
    for (const char* ext : {".mkv", ".mp4", ".mov"}) {
        const std::string out = (dir / (std::string("dated") + ext)).string();
        Conversion c = Convert(Job(Fixture("clip.mkv"), out, "", "vcodec=mpeg4\nacodec=aac\ntimestamp=2008-05-01T12:30:15Z"));
        ASSERT_TRUE(c.finished) << ext << ": " << c.message;
        EXPECT_EQ(ProbeMedia(out).format["tags.creation_time"], "2008-05-01T12:30:15.000000Z") << ext;
    }
    // The record's date is local standard time in days since 30 Dec 1899.
    const std::string out = (dir / "record.mp4").string();
    ConversionSetup s = Job(Fixture("clip.mkv"), out, "", "vcodec=mpeg4\nacodec=aac");
    s.configure = [](TOutputOptions& o) { o.Timestamp = 39569.5 + StandardZoneOffset() / 86400.0; };
    Conversion c = Convert(s);
    ASSERT_TRUE(c.finished) << c.message;
    EXPECT_EQ(ProbeMedia(out).format["tags.creation_time"], "2008-05-01T12:00:00.000000Z");
}

TEST(UnknownFormat, TheLowScoreWarningIsLoggedOnceWithItsPrefix) {
    TFFmpegEngine engine;
    ASSERT_TRUE(engine.LoadCodecLibraries("", true));
    std::mutex mutex;
    std::vector<std::string> warnings;
    engine.OnLog = [&](int, TLogLevel, const std::string& msg) {
        std::lock_guard l(mutex);
        if (msg.find("detected only with low score") != std::string::npos)
            warnings.push_back(msg);
    };
    const std::string text = Fixture("notmedia.avi");
    EXPECT_EQ(engine.AddInputTask(text, nullptr), -1);
    EXPECT_EQ(engine.LastErrorText(), text + ": Unknown format");
    std::lock_guard l(mutex);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_EQ(warnings[0].rfind("[avi @ ", 0), 0u) << warnings[0];
}

}  // namespace
}  // namespace tavrin::test
