// Runs the built tavrin-transcode on the fixture clips and looks at what it wrote with
// ffprobe.
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>

#include <unistd.h>

#include "ChildProcess.h"
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

TEST(TranscodeProgram, ABadCommandLineExitsTwoWithTheUsage) {
    const auto r = RunProgram({kProgram, "-i", Fixture("clip.mp4")});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.output.find("no output file given after the input"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("usage: tavrin-transcode"), std::string::npos);
}

}  // namespace
}  // namespace tavrin::test
