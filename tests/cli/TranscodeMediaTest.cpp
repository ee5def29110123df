// Runs the built tavrin-transcode on the fixture clips and looks at what it wrote with
// ffprobe.
#include <gtest/gtest.h>

#include <csignal>
#include <algorithm>
#include <filesystem>
#include <fstream>

#include <unistd.h>

#include "ChildProcess.h"
#include "HostileMedia.h"
#include "MediaInfo.h"

namespace tavrin::test {
namespace {

namespace fs = std::filesystem;

const std::string kProgram = TAVRIN_TRANSCODE;
const std::vector<std::string> kAppleTv = {"-vcodec", "mpeg4", "-b", "1500000", "-s", "640x480", "-r", "25",
                                           "-acodec", "aac", "-ab", "128000", "-ar", "44100", "-ac", "2"};

std::string Fixture(const std::string& name) { return std::string(TAVRIN_FIXTURE_DIR) + "/" + name; }

fs::path OutputDir() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    // One folder per process too: several checkouts may run these tests at once.
    fs::path dir = fs::temp_directory_path() / ("tavrin-cli-tests-" + std::to_string(::getpid())) / info->name();
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

std::vector<std::string> Command(const std::string& in, const std::vector<std::string>& inputOptions,
                                 const std::vector<std::string>& outputOptions, const std::string& out) {
    std::vector<std::string> argv{kProgram};
    argv.insert(argv.end(), inputOptions.begin(), inputOptions.end());
    argv.insert(argv.end(), {"-i", in});
    argv.insert(argv.end(), outputOptions.begin(), outputOptions.end());
    argv.push_back(out);
    return argv;
}

TEST(TranscodeProgram, ConvertsTheClipWithTheAppleTvSettings) {
    const fs::path out = OutputDir() / "clip.mp4";
    const auto r = RunProgram(Command(Fixture("clip.mp4"), {}, kAppleTv, out));
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_NE(r.output.find("\rframe="), std::string::npos) << "no progress line";

    const MediaInfo info = ProbeMedia(out.string());
    ASSERT_EQ(info.streams.size(), 2u) << "one video, one audio stream";
    ASSERT_EQ(info.Count("video"), 1);
    ASSERT_EQ(info.Count("audio"), 1);
    const Fields& video = *info.First("video");
    const Fields& audio = *info.First("audio");
    EXPECT_EQ(video.at("codec_name"), "mpeg4");
    EXPECT_EQ(video.at("width"), "640");
    EXPECT_EQ(video.at("height"), "480");
    EXPECT_EQ(video.at("r_frame_rate"), "25/1");
    EXPECT_EQ(audio.at("codec_name"), "aac");
    EXPECT_EQ(audio.at("sample_rate"), "44100");
    EXPECT_EQ(audio.at("channels"), "2");
    EXPECT_NEAR(info.duration, 3.0, 0.1);
}

TEST(TranscodeProgram, TheLogLevelChoosesWhatTheConsoleShows) {
    const fs::path dir = OutputDir();
    auto r = RunProgram(Command(Fixture("clip.avi"), {}, {"-vcodec", "mpeg4", "-an", "-b", "500"}, dir / "info.mp4"));
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_NE(r.output.find("Stream mapping:"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("WARNING: The bitrate parameter is set too low"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("100%"), std::string::npos) << r.output;

    r = RunProgram(Command(Fixture("clip.avi"), {"-v", "0"}, {"-vcodec", "mpeg4", "-an", "-b", "500"}, dir / "errors.mp4"));
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_EQ(r.output.find("Stream mapping:"), std::string::npos) << r.output;
    EXPECT_EQ(r.output.find("WARNING: The bitrate parameter"), std::string::npos) << r.output;
}

// Makes a clip with the ffmpeg CLI (arguments after "ffmpeg -y"); the path.
std::string MakeClip(const fs::path& dir, const std::string& name, const std::string& args) {
    const std::string path = (dir / name).string();
    EXPECT_EQ(Shell("ffmpeg -hide_banner -loglevel error -y " + args + " '" + path + "'"), 0) << args;
    return path;
}

std::string Field(const Fields* stream, const std::string& key) {
    if (!stream)
        return "(no such stream)";
    auto it = stream->find(key);
    return it == stream->end() ? "" : it->second;
}

// Luma of the first row of the first picture, as stored (a 4:2:0 picture, not converted).
std::vector<uint8_t> FirstRowLuma(const fs::path& file, int width) {
    const fs::path raw = file.string() + ".yuv";
    Shell("ffmpeg -v error -y -i '" + file.string() + "' -frames:v 1 -f rawvideo -pix_fmt yuv420p '" + raw.string() + "'");
    std::ifstream in(raw, std::ios::binary);
    std::vector<uint8_t> row(static_cast<size_t>(width));
    in.read(reinterpret_cast<char*>(row.data()), width);
    row.resize(static_cast<size_t>(in.gcount()));
    return row;
}

TEST(TranscodeProgram, LanguagesVideoSyncAndPadColourFromTheCommandLineTakeEffect) {
    const fs::path dir = OutputDir();
    const fs::path out = dir / "set.mkv";
    auto r = RunProgram(Command(Fixture("clip.mp4"), {},
                                {"-vcodec", "ffv1", "-r", "50", "-vsync", "0", "-padtop", "16", "-padcolor", "16777215",
                                 "-acodec", "mp2", "-alang", "eng"}, out));
    ASSERT_EQ(r.status, 0) << r.output;
    const MediaInfo info = ProbeMedia(out.string());
    EXPECT_EQ(Field(info.First("audio"), "tags.language"), "eng");
    // Without video sync the 75 pictures are not duplicated up to 50 a second.
    EXPECT_EQ(Field(info.First("video"), "nb_read_packets"), "75");
    const auto row = FirstRowLuma(out, 320);
    ASSERT_EQ(row.size(), 320u);
    EXPECT_EQ(std::count(row.begin(), row.end(), 255), 320) << "the padding is white";

    // Without -padcolor the padding is the option text's default black (Y 16).
    const fs::path plain = dir / "plain.mkv";
    r = RunProgram(Command(Fixture("clip.mp4"), {}, {"-vcodec", "ffv1", "-an", "-padtop", "16"}, plain));
    ASSERT_EQ(r.status, 0) << r.output;
    const auto black = FirstRowLuma(plain, 320);
    EXPECT_EQ(std::count(black.begin(), black.end(), 16), 320);
}

TEST(TranscodeProgram, AudioSyncSubtitleLanguageAndCopiedTimestampsFromTheCommandLineTakeEffect) {
    const fs::path dir = OutputDir();
    // Audio that starts half a second after the picture: with -async 1 the gap becomes silence.
    const std::string late = MakeClip(dir, "late.mkv",
        "-f lavfi -i testsrc2=size=160x120:rate=25:duration=2 -itsoffset 0.5 -f lavfi -i "
        "sine=frequency=300:sample_rate=44100:duration=1.5 -map 0 -map 1 -c:v mpeg4 -c:a pcm_s16le -ac 2");
    auto r = RunProgram(Command(late, {}, {"-vn", "-async", "1"}, dir / "synced.wav"));
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_NEAR(ProbeMedia((dir / "synced.wav").string()).duration, 2.0, 0.03);

    Shell("printf '1\n00:00:00,500 --> 00:00:01,500\nHello\n' > '" + (dir / "subs.srt").string() + "'");
    const std::string subs = MakeClip(dir, "subs.mkv",
        "-f lavfi -i testsrc2=size=160x120:rate=25:duration=2 -i '" + (dir / "subs.srt").string() +
        "' -map 0 -map 1 -c:v mpeg4 -c:s srt -metadata:s:s:0 language=fre");
    r = RunProgram(Command(subs, {}, {"-vcodec", "copy", "-scodec", "copy", "-slang", "ger"}, dir / "ger.mkv"));
    ASSERT_EQ(r.status, 0) << r.output;
    const MediaInfo info = ProbeMedia((dir / "ger.mkv").string());
    EXPECT_EQ(Field(info.First("subtitle"), "tags.language"), "ger");

    // A stream whose clock jumps by 30 s: copied timestamps keep the jump, else it is closed.
    MakeClip(dir, "a.ts", "-f lavfi -i testsrc2=size=160x120:rate=25:duration=1 -c:v mpeg2video");
    MakeClip(dir, "b.ts", "-f lavfi -i testsrc2=size=160x120:rate=25:duration=1 -c:v mpeg2video -output_ts_offset 30");
    const fs::path jump = dir / "jump.ts";
    Shell("cat '" + (dir / "a.ts").string() + "' '" + (dir / "b.ts").string() + "' > '" + jump.string() + "'");
    r = RunProgram(Command(jump, {"-copyts"}, {"-vcodec", "copy"}, dir / "kept.mkv"));
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_GT(ProbeMedia((dir / "kept.mkv").string()).duration, 25.0);
    r = RunProgram(Command(jump, {}, {"-vcodec", "copy"}, dir / "closed.mkv"));
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_LT(ProbeMedia((dir / "closed.mkv").string()).duration, 5.0);
}

TEST(TranscodeProgram, AudioOnlyOutputHasOneStream) {
    const fs::path out = OutputDir() / "clip.mp3";
    const auto r = RunProgram(Command(Fixture("clip.avi"), {}, {"-vn", "-acodec", "libmp3lame", "-ab", "192000"}, out));
    ASSERT_EQ(r.status, 0) << r.output;
    const MediaInfo info = ProbeMedia(out.string());
    ASSERT_EQ(info.streams.size(), 1u);
    EXPECT_EQ(info.streams[0].at("codec_name"), "mp3");
}

TEST(TranscodeProgram, CtrlCStopsCleanlyAndLeavesAPlayableShorterFile) {
    const fs::path out = OutputDir() / "stopped.mp4";
    // Read at the input's own pace so that the run is still going when the signal comes.
    ChildProcess child(Command(Fixture("clip.mp4"), {"-re"}, kAppleTv, out));
    ASSERT_TRUE(child.WaitForOutput("time=00:00:01", std::chrono::seconds(20))) << child.Output();
    child.Signal(SIGINT);
    EXPECT_EQ(child.Wait(), 130) << child.Output();

    const MediaInfo info = ProbeMedia(out.string());  // a written trailer makes the file readable
    ASSERT_EQ(info.streams.size(), 2u) << child.Output();
    const double seconds = info.duration;
    EXPECT_GT(seconds, 0.5);
    EXPECT_LT(seconds, 2.9);
}

TEST(TranscodeProgram, AMissingInputExitsOneWithItsText) {
    const fs::path dir = OutputDir();
    const std::string missing = (dir / "no-such-clip.avi").string();
    const auto r = RunProgram(Command(missing, {}, kAppleTv, (dir / "out.mp4").string()));
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.output.find(missing + ": no such file or directory"), std::string::npos) << r.output;
    EXPECT_FALSE(fs::exists(dir / "out.mp4"));
}

// A full device, a header over the file-size limit (SIGXFSZ ignored, as a shell's "trap"
// leaves it) and a damaged input: each message names the disk or the file, and no file stays.
TEST(TranscodeProgram, FailuresNameTheDiskOrTheInput) {
    const fs::path dir = OutputDir();
    auto r = RunProgram(Command(Fixture("clip.mp4"), {}, {"-vcodec", "mpeg4", "-acodec", "aac", "-f", "mp4"}, "/dev/full"));
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.output.find("tavrin-transcode: Could not write header for output file #0 ('/dev/full'): No space left on device"),
              std::string::npos) << r.output;

    const std::string limited = (dir / "limited.mp4").string();
    std::vector<std::string> argv{"/bin/sh", "-c", "ulimit -f 8 && trap '' XFSZ && exec \"$@\"", "sh"};
    const auto command = Command(Fixture("clip.mp4"), {}, {"-vcodec", "mpeg4", "-acodec", "aac", "-moov_size", "100000"}, limited);
    argv.insert(argv.end(), command.begin(), command.end());
    r = RunProgram(argv);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.output.find("('" + limited + "'): File too large"), std::string::npos) << r.output;
    EXPECT_FALSE(fs::exists(limited));

    const std::string cut = (dir / "cut.mkv").string();
    CutCopy(Fixture("clip.mkv"), cut, 100);
    r = RunProgram(Command(cut, {}, kAppleTv, (dir / "out.mp4").string()));
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.output.find(cut + ": Error while parsing header (the file ends too early: it is cut short or damaged)"),
              std::string::npos) << r.output;
    EXPECT_FALSE(fs::exists(dir / "out.mp4"));
}

TEST(TranscodeProgram, ABadCommandLineExitsTwoWithTheUsage) {
    const auto r = RunProgram({kProgram, "-i", Fixture("clip.mp4")});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.output.find("no output file given after the input"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("usage: tavrin-transcode"), std::string::npos);
}

}  // namespace
}  // namespace tavrin::test
