// Runs the built tavrin-convert on the fixture clips and checks its outputs with ffprobe.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <thread>
#include <string>
#include <vector>

#include <unistd.h>

#include "ConvertProgram.h"
#include "HostileMedia.h"

namespace tavrin::test {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

TEST_F(ConvertProgram, AppleTvConvertsThreeClipsAndReportsEach)
{
    const auto r = Convert({"-p", "appletv", "-o", Out.string(), Source("short.avi", "a.avi"),
                            Source("short.mkv", "b.mkv"), Source("short.mov", "c.mov")});
    ASSERT_EQ(r.status, 0) << r.output;
    for (const char* name : {"a", "b", "c"}) {
        const std::string done = "Done   " + (Work / name).string();
        EXPECT_NE(r.output.find(done), std::string::npos) << r.output;
        ExpectVideo(Out / (std::string(name) + ".mp4"), "mpeg4", "640x480", "aac");
    }
    EXPECT_NE(r.output.find("a.avi: 320x240, 25 fps, 00:00:01"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("3 files: 3 done, 0 failed"), std::string::npos) << r.output;
}

TEST_F(ConvertProgram, DeviceAndFormatProfiles)
{
    const std::string clip = Source("short.avi", "clip.avi");
    struct TCase {
        std::string Profile, Extension, Video, Size, Audio;
    };
    const std::vector<TCase> cases{
        {"iPod (*.mp4)", "mp4", "mpeg4", "320x240", "aac"},
        {"3gp", "3gp", "mpeg4", "176x144", "amr_nb"},
        {"wmv", "wmv", "wmv2", "320x240", "wmav2"},
    };
    for (const TCase& c : cases) {
        const auto r = Convert({"-p", c.Profile, "-o", Out.string(), "--overwrite", clip});
        ASSERT_EQ(r.status, 0) << c.Profile << "\n" << r.output;
        ExpectVideo(Out / ("clip." + c.Extension), c.Video, c.Size, c.Audio);
    }
}

TEST_F(ConvertProgram, AudioProfileWritesSoundOnly)
{
    const auto r = Convert({"-p", "mp3", "-o", Out.string(), Source("short.mov", "song.mov"),
                            Fixture("audio.wav")});
    ASSERT_EQ(r.status, 0) << r.output;
    for (const char* name : {"song.mp3", "audio.mp3"}) {
        const MediaInfo info = ProbeMedia((Out / name).string());
        ASSERT_TRUE(info.ok) << name;
        EXPECT_EQ(info.Count("video"), 0) << name;
        ASSERT_EQ(info.Count("audio"), 1) << name;
        EXPECT_EQ(info.First("audio")->at("codec_name"), "mp3") << name;
    }
    EXPECT_NEAR(ProbeMedia((Out / "audio.mp3").string()).duration, 3.0, 0.15);
}

TEST_F(ConvertProgram, SettingsReachTheOutput)
{
    const auto r = Convert({"-p", "wmv", "-o", Out.string(), "--size", "176 x 144", "--rate",
                            "15", "--channels", "Mono", "--aspect", "16:9",
                            Source("short.avi", "clip.avi")});
    ASSERT_EQ(r.status, 0) << r.output;
    const MediaInfo info = ProbeMedia((Out / "clip.wmv").string());
    ASSERT_TRUE(info.ok);
    const Fields& video = *info.First("video");
    EXPECT_EQ(video.at("width"), "176");
    EXPECT_EQ(video.at("r_frame_rate"), "15/1");
    EXPECT_EQ(video.at("display_aspect_ratio"), "16:9");
    EXPECT_EQ(info.First("audio")->at("channels"), "1");
}

// A wide clip letterboxed into 640x480: square pixels, the picture 360 lines high. A rate
// that MPEG-1 cannot take is changed, and the run says so.
TEST_F(ConvertProgram, LetterBoxAndChangedSettingsShowInTheOutput)
{
    const auto r = Convert({"-p", "Apple TV H264 (640 x 480) (*.mp4)", "--letterbox", "-o", Out.string(),
                            Source("wide.mp4", "wide.mp4")});
    ASSERT_EQ(r.status, 0) << r.output;
    const MediaInfo info = ProbeMedia((Out / "wide.mp4").string());
    ASSERT_NE(info.First("video"), nullptr);
    const Fields& video = *info.First("video");
    EXPECT_EQ(video.at("width") + "x" + video.at("height"), "640x480");
    EXPECT_EQ(video.at("sample_aspect_ratio"), "1:1");

    const auto m = Convert({"-p", "MPEG-1 Movie (*.mpg)", "--rate", "14.985", "-o", Out.string(),
                            Source("short.avi", "clip.avi")});
    ASSERT_EQ(m.status, 0) << m.output;
    EXPECT_NE(m.output.find("Note   " + (Work / "clip.avi").string() +
                            ": Frame rate 14.985 fps is not possible with MPEG-1 video; converting at 23.976 fps."),
              std::string::npos)
        << m.output;
    const MediaInfo mpeg1 = ProbeMedia((Out / "clip.mpg").string());
    ASSERT_NE(mpeg1.First("video"), nullptr);
    EXPECT_EQ(mpeg1.First("video")->at("r_frame_rate"), "24000/1001");
}

TEST_F(ConvertProgram, RealMediaSourceIsConvertedUnderItsOwnName)
{
    const auto r = Convert({"-p", "MP4 - MPEG4 Video (*.mp4)", "-o", Out.string(),
                            Source("short.rmvb", "movie.RMVB")});
    ASSERT_EQ(r.status, 0) << r.output;
    const MediaInfo info = ProbeMedia((Out / "movie.mp4").string());
    ASSERT_TRUE(info.ok) << r.output;
    EXPECT_EQ(info.Count("video"), 1);
}

TEST_F(ConvertProgram, FailedFileIsReportedAndTheBatchGoesOn)
{
    const auto r = Convert({"-p", "mov", "-o", Out.string(), Source("notmedia.avi", "bad.avi"),
                            Source("short.avi", "good.avi")});
    EXPECT_EQ(r.status, 1) << r.output;
    EXPECT_NE(r.output.find("bad.avi: Error"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("Fail   " + (Work / "bad.avi").string() + ": "), std::string::npos)
        << r.output;
    EXPECT_NE(r.output.find("Done   " + (Work / "good.avi").string()), std::string::npos)
        << r.output;
    EXPECT_TRUE(ProbeMedia((Out / "good.mov").string()).ok);
    EXPECT_FALSE(fs::exists(Out / "bad.mov"));
}

// Damaged and odd sources each end "Fail" with what is wrong with them, and leave nothing.
TEST_F(ConvertProgram, EachFailureNamesWhatIsWrongWithTheSource)
{
    const auto path = [this](const std::string& name) { return (Work / name).string(); };
    WriteInput(path("empty.mp3"), "");
    WriteInput(path("garbage.mp3"), std::string(4000, 'x'));
    WriteInput(path("zero.y4m"), Y4mWithSize("W0 H0"));
    CutCopy(Fixture("short.mkv"), path("cut.mkv"), 100);
    WriteInput(path("words.srt"), "1\n00:00:00,000 --> 00:00:01,000\nHello\n");
    const std::pair<std::string, std::string> cases[] = {
        {"empty.mp3", path("empty.mp3") + ": the file is empty"},
        {"garbage.mp3", path("garbage.mp3") + ": Unknown format"},
        {"zero.y4m", path("zero.y4m") + ": Error while parsing header (Picture size 0x0 is invalid)"},
        {"cut.mkv", path("cut.mkv") + ": Error while parsing header (the file ends too early: it is cut short or damaged)"},
        {"words.srt", "Nothing can be converted to '" + (Out / "words.avi").string() + "': '" + path("words.srt") +
                          "' has no video or audio stream"},
    };
    std::vector<std::string> args{"-p", "aviaudiovideointerleave", "-o", Out.string()};
    for (const auto& [name, why] : cases)
        args.push_back(path(name));
    const auto r = Convert(args);
    EXPECT_EQ(r.status, 1) << r.output;
    for (const auto& [name, why] : cases)
        EXPECT_NE(r.output.find("Fail   " + path(name) + ": " + why + "\n"), std::string::npos) << why << "\n" << r.output;
    EXPECT_TRUE(fs::is_empty(Out));
}

// A source named "-dash.avi" given last, or after "--", is a file, not an option.
TEST_F(ConvertProgram, AFileWhoseNameBeginsWithADashIsConverted)
{
    Source("short.avi", "-dash.avi");
    Source("short.avi", "-two.avi");
    // Relative names, as a shell's "*.avi" gives them: run in the work folder.
    const std::vector<std::vector<std::string>> lines{
        {"-p", "mp4mpeg4video", "-o", Out.string(), "-dash.avi"},
        {"-p", "mp4mpeg4video", "-o", Out.string(), "--", "-two.avi"}};
    for (const auto& line : lines) {
        std::vector<std::string> argv{"/bin/sh", "-c", "cd \"$0\" && exec \"$@\"", Work.string(), kProgram};
        argv.insert(argv.end(), line.begin(), line.end());
        const auto r = RunProgram(argv);
        EXPECT_EQ(r.status, 0) << r.output;
    }
    EXPECT_TRUE(ProbeMedia((Out / "-dash.mp4").string()).ok);
    EXPECT_TRUE(ProbeMedia((Out / "-two.mp4").string()).ok);
}

TEST_F(ConvertProgram, SourceIsNeverOverwritten)
{
    const std::string source = Source("short.mov", "clip.mp4");
    const auto size = fs::file_size(source);
    const auto r = Convert({"-p", "MP4 - MPEG4 Video (*.mp4)", "-o", Work.string(), "--overwrite", source});
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_EQ(fs::file_size(source), size);
    EXPECT_TRUE(ProbeMedia((Work / "clip-1.mp4").string()).ok);
}

TEST_F(ConvertProgram, BadCommandLinesExitWithTwo)
{
    const std::string clip = Source("short.avi", "clip.avi");
    const std::vector<std::vector<std::string>> bad{
        {}, {"-p", "nonesuch", clip}, {"-p", "ipod", "--size", "1x1", clip}, {"--frobnicate", clip}};
    for (const auto& args : bad) {
        const auto r = Convert(args);
        EXPECT_EQ(r.status, 2) << r.output;
        EXPECT_NE(r.output.find("usage: tavrin-convert"), std::string::npos) << r.output;
    }
    EXPECT_FALSE(fs::exists(Out));
    const auto sizes = Convert({"-p", "ipod", "--size", "1x1", clip});
    EXPECT_NE(sizes.output.find("it offers \"320 x 240\""), std::string::npos) << sizes.output;
}

TEST_F(ConvertProgram, ListsTheOfferedProfiles)
{
    const auto r = Convert({"--list-profiles"});
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_NE(r.output.find("Apple TV (*.mp4)"), std::string::npos);
    EXPECT_NE(r.output.find("mp3mpeglayer3audio"), std::string::npos);
}

// On a terminal the running file shows a progress line that is rewritten in place.
TEST_F(ConvertProgram, ShowsALiveProgressLineOnATerminal)
{
    if (std::system("command -v script >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "the script program is needed to give the converter a terminal";
    const std::string command = "'" + kProgram + "' -p wmv -o '" + Out.string() + "' '" +
                                Source("short.avi", "clip.avi") + "'";
    const auto r = RunProgram({"script", "-qec", command, "/dev/null"});
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_NE(r.output.find("\r[1/1] " + (Work / "clip.avi").string() + "  frame="),
              std::string::npos)
        << r.output;
}

// Ctrl+C stops the batch: the running file ends "Abort" with a finished, readable output and
// the later files are not started.
TEST_F(ConvertProgram, CtrlCFinishesTheRunningOutputAndStops)
{
    const fs::path longClip = Work / "long.avi";
    ASSERT_EQ(Shell("ffmpeg -hide_banner -loglevel error -f lavfi -i "
                    "testsrc2=size=320x240:rate=25:duration=30 -c:v mpeg4 -q:v 8 '" +
                    longClip.string() + "'"),
              0);
    ChildProcess child({kProgram, "-p", "appletvh2641280x720", "-o", Out.string(),
                        longClip.string(), Source("short.avi", "next.avi")});
    ASSERT_TRUE(child.WaitForOutput("next.avi: 320x240", 20s)) << child.Output();
    // Wait for the output to hold some pictures, then stop.
    const auto deadline = std::chrono::steady_clock::now() + 90s;  // a loaded machine encodes slowly
    while ((!fs::exists(Out / "long.mp4") || fs::file_size(Out / "long.mp4") < 20000) &&
           std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(50ms);
    child.Signal(SIGINT);
    const int status = child.Wait();
    EXPECT_EQ(status, 130) << child.Output();
    EXPECT_NE(child.Output().find("Abort  " + longClip.string()), std::string::npos) << child.Output();
    const MediaInfo info = ProbeMedia((Out / "long.mp4").string());
    ASSERT_TRUE(info.ok) << "the stopped output was not finished";
    EXPECT_GT(info.duration, 0.0);
    EXPECT_LT(info.duration, 29.0);
    EXPECT_FALSE(fs::exists(Out / "next.mp4"));
}

// -j 2: two files convert at the same time, each reported on its own line.
TEST_F(ConvertProgram, TwoFilesAtOnceBothEndDone)
{
    const auto r = Convert({"-j", "2", "-p", "appletv", "-o", Out.string(), Source("clip.avi", "a.avi"),
                            Source("clip.mkv", "b.mkv"), Source("short.mov", "c.mov")});
    ASSERT_EQ(r.status, 0) << r.output;
    for (const char* name : {"a", "b", "c"}) {
        const std::string done = "Done   " + (Work / name).string();
        EXPECT_NE(r.output.find(done), std::string::npos) << r.output;
    }
    const MediaInfo a = ProbeMedia((Out / "a.mp4").string());
    ASSERT_TRUE(a.ok);
    EXPECT_EQ(a.First("video")->at("codec_name"), "mpeg4");
    EXPECT_NEAR(a.duration, 3.0, 0.15);
    EXPECT_NEAR(ProbeMedia((Out / "b.mp4").string()).duration, 3.0, 0.15);
    ExpectVideo(Out / "c.mp4", "mpeg4", "640x480", "aac");
    EXPECT_NE(r.output.find("3 files: 3 done, 0 failed"), std::string::npos) << r.output;
}

// -j 2 with a file that cannot be read, one whose output cannot be written and a good one.
TEST_F(ConvertProgram, FailingFilesBesideAGoodOneWithTwoAtOnce)
{
    fs::create_directories(Out);
    fs::create_symlink("/dev/full", Out / "full.mov");
    const auto r = Convert({"-j", "2", "-p", "mov", "-o", Out.string(), "--overwrite",
                            Source("notmedia.avi", "bad.avi"), Source("short.avi", "full.avi"),
                            Source("short.avi", "good.avi")});
    EXPECT_EQ(r.status, 1) << r.output;
    EXPECT_NE(r.output.find("Fail   " + (Work / "bad.avi").string() + ": "), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("Fail   " + (Work / "full.avi").string() + ": Could not write header for output file #0 ('" +
                            (Out / "full.mov").string() + "'): No space left on device"),
              std::string::npos)
        << r.output;
    EXPECT_NE(r.output.find("Done   " + (Work / "good.avi").string()), std::string::npos) << r.output;
    EXPECT_TRUE(ProbeMedia((Out / "good.mov").string()).ok);
    EXPECT_NE(r.output.find("3 files: 1 done, 2 failed"), std::string::npos) << r.output;
}

// Ctrl+C with two files converting: both end "Abort" with finished, readable outputs, and
// the file behind them is not started.
TEST_F(ConvertProgram, CtrlCStopsBothRunningFiles)
{
    std::vector<std::string> args{kProgram, "-j", "2", "-p", "appletvh2641280x720", "-o", Out.string()};
    for (const char* name : {"one.avi", "two.avi"}) {
        const fs::path clip = Work / name;
        ASSERT_EQ(Shell("ffmpeg -hide_banner -loglevel error -f lavfi -i "
                        "testsrc2=size=320x240:rate=25:duration=30 -c:v mpeg4 -q:v 8 '" + clip.string() + "'"),
                  0);
        args.push_back(clip.string());
    }
    args.push_back(Source("short.avi", "next.avi"));
    ChildProcess child(args);
    ASSERT_TRUE(child.WaitForOutput("next.avi: 320x240", 20s)) << child.Output();
    const auto deadline = std::chrono::steady_clock::now() + 120s;  // a loaded machine encodes slowly
    auto written = [&](const char* name) { return fs::exists(Out / name) && fs::file_size(Out / name) >= 20000; };
    while (!(written("one.mp4") && written("two.mp4")) && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(50ms);
    child.Signal(SIGINT);
    EXPECT_EQ(child.Wait(), 130) << child.Output();
    for (const char* name : {"one", "two"}) {
        EXPECT_NE(child.Output().find("Abort  " + (Work / (std::string(name) + ".avi")).string()), std::string::npos)
            << child.Output();
        const MediaInfo info = ProbeMedia((Out / (std::string(name) + ".mp4")).string());
        ASSERT_TRUE(info.ok) << name << ": the stopped output was not finished";
        EXPECT_GT(info.duration, 0.0);
        EXPECT_LT(info.duration, 29.0);
    }
    EXPECT_FALSE(fs::exists(Out / "next.mp4"));
}

// On a terminal each running file has a progress line of its own.
TEST_F(ConvertProgram, ShowsOneProgressLinePerRunningFile)
{
    if (std::system("command -v script >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "the script program is needed to give the converter a terminal";
    std::string command = "'" + kProgram + "' -j 2 -p appletvh264640x480 -o '" + Out.string() + "'";
    for (const char* name : {"a.avi", "b.avi"}) {
        const fs::path clip = Work / name;
        ASSERT_EQ(Shell("ffmpeg -hide_banner -loglevel error -f lavfi -i "
                        "testsrc2=size=320x240:rate=25:duration=10 -c:v mpeg4 -q:v 8 '" + clip.string() + "'"),
                  0);
        command += " '" + clip.string() + "'";
    }
    const auto r = RunProgram({"script", "-qec", command, "/dev/null"});
    ASSERT_EQ(r.status, 0) << r.output;
    // Two lines on screen at once: the second is drawn below the first, and both are
    // erased together (cursor up) before they are drawn again.
    EXPECT_NE(r.output.find("\n[2/2] "), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("[1/2] "), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("\x1b[1A"), std::string::npos) << r.output;
}

}  // namespace
}  // namespace tavrin::test
