// Text subtitles re-encoded between Matroska, SubRip, ASS and MOV text, read back as
// SubRip text by the ffmpeg CLI.
#include <cstdio>
#include <fstream>
#include <memory>

#include "TranscodeTestSupport.h"

namespace tavrin::test {
namespace {

const std::string kCue1 = "00:00:00,500 --> 00:00:01,500\nHello there\n";
const std::string kCue2 = "00:00:02,000 --> 00:00:02,800\nSecond line\n";

std::string WriteSrt(const std::filesystem::path& dir) {
    const std::string path = (dir / "cues.srt").string();
    std::ofstream(path) << "1\n" << kCue1 << "\n2\n" << kCue2;
    return path;
}

// A 3 s picture with the two cues, in French.
std::string ClipWithSubtitles(const std::filesystem::path& dir) {
    return MakeClip(dir, "subs.mkv",
                    "-f lavfi -i testsrc2=size=160x120:rate=25:duration=3 -i '" + WriteSrt(dir) +
                        "' -map 0 -map 1 -c:v mpeg4 -c:s srt -metadata:s:s:0 language=fre");
}

// The file's first subtitle track as SubRip text.
std::string SubtitleText(const std::string& file) {
    const std::string cmd = "ffmpeg -v error -i '" + file + "' -map 0:s:0 -f srt - 2>/dev/null";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(cmd.c_str(), "r"), pclose);
    std::string text;
    char buf[4096];
    while (pipe && std::fgets(buf, sizeof buf, pipe.get()))
        text += buf;
    return text;
}

struct SubtitleCase {
    const char* name;
    const char* output;
    const char* lines;
};

const SubtitleCase kCases[] = {
    {"MatroskaToMatroska", "out.mkv", "vcodec=copy\nscodec=srt"},
    {"MatroskaToSubRip", "out.srt", "scodec=srt"},
    {"MatroskaToAss", "out.ass", "scodec=ass"},
    {"MatroskaToMovText", "out.mp4", "vcodec=mpeg4\nscodec=mov_text"},
};

class SubtitleConversion : public ::testing::TestWithParam<SubtitleCase> {};

TEST_P(SubtitleConversion, KeepsEveryCueWithItsTimes) {
    const auto dir = TempDir();
    const std::string out = (dir / GetParam().output).string();
    Conversion c = Convert(Job(ClipWithSubtitles(dir), out, "", GetParam().lines));
    ASSERT_TRUE(c.finished) << c.message;
    const std::string text = SubtitleText(out);
    EXPECT_NE(text.find(kCue1), std::string::npos) << text;
    EXPECT_NE(text.find(kCue2), std::string::npos) << text;
}

INSTANTIATE_TEST_SUITE_P(Engine, SubtitleConversion, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Subtitles, ASubRipFileBecomesAssInMatroskaAndTheLanguageIsKept) {
    const auto dir = TempDir();
    const std::string out = (dir / "from-srt.mkv").string();
    ConversionSetup s = Job(WriteSrt(dir), out, "", "scodec=ass");
    s.configure = [](TOutputOptions& o) { o.SubtitleLanguage = "ger"; };  // the record's field wins over a line
    Conversion c = Convert(s);
    ASSERT_TRUE(c.finished) << c.message;
    const MediaInfo info = ProbeMedia(out);
    ASSERT_NE(info.First("subtitle"), nullptr);
    EXPECT_EQ(info.First("subtitle")->at("codec_name"), "ass");
    EXPECT_EQ(info.First("subtitle")->at("tags.language"), "ger");
    const std::string text = SubtitleText(out);
    EXPECT_NE(text.find(kCue1), std::string::npos) << text;
}

TEST(Subtitles, TheFinalProgressIsThePicturesTimeNotTheLastCues) {
    const auto dir = TempDir();
    Conversion c = Convert(Job(ClipWithSubtitles(dir), (dir / "out.mkv").string(), "", "vcodec=copy\nscodec=srt"));
    ASSERT_TRUE(c.finished) << c.message;
    ASSERT_FALSE(c.progress.empty());
    EXPECT_EQ(c.progress.back().durationMs, 3000);
}

TEST(Subtitles, WithoutASubtitleEncoderTheRunNamesTheStream) {
    const auto dir = TempDir();
    Conversion c = Convert(Job(ClipWithSubtitles(dir), (dir / "out.mkv").string(), "", "vcodec=copy"));
    EXPECT_TRUE(c.exception);
    EXPECT_EQ(c.message, "Unsupported codec for output stream #0.1");
}

}  // namespace
}  // namespace tavrin::test
