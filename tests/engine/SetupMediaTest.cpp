// Inputs and outputs whose set-up depends on the media itself: programmes of a transport
// stream, a looped picture, the recording date in the container, the probe of an unknown
// format. Checked with ffprobe.
#include "TranscodeTestSupport.h"

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

}  // namespace
}  // namespace tavrin::test
