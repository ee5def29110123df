// The engine's codec threads: they reach the decoders and encoders, a threaded run writes
// the same pictures at the same times as a one-thread run, and the cores are shared out
// when several tasks run at once.
#include <filesystem>
#include <string>

#include "TranscodeTestSupport.h"
#include "component/CodecThreads.h"

namespace tavrin::test {
namespace {

namespace fs = std::filesystem;

int ProcessThreads() {
    int count = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator("/proc/self/task"))
        ++count;
    return count;
}

int VideoPackets(const std::string& path) {
    const MediaInfo info = ProbeMedia(path);
    const Fields* video = info.First("video");
    return video ? std::stoi(video->at("nb_read_packets")) : -1;
}

// Slices of the H.264 stream in the file, counted from its slice headers.
int H264Slices(const std::string& path) {
    const std::string list = path + ".slices";
    Shell("ffmpeg -hide_banner -i '" + path + "' -c copy -bsf:v trace_headers -f null - 2>&1 | "
          "grep -c first_mb_in_slice > '" + list + "'");
    int count = -1;
    if (FILE* f = std::fopen(list.c_str(), "r")) {
        if (std::fscanf(f, "%d", &count) != 1)
            count = -1;
        std::fclose(f);
    }
    return count;
}

TEST(CodecThreads, OneTaskUsesEveryCoreAndSeveralShareThem) {
    const int cores = MachineCores();
    ASSERT_GE(cores, 1);
    EXPECT_EQ(SharedCodecThreads(1), 0);  // the libraries' own choice: every core
    EXPECT_EQ(SharedCodecThreads(2), std::max(1, cores / 2));
    EXPECT_EQ(SharedCodecThreads(cores * 4), 1);
    TFFmpegEngine engine;
    EXPECT_EQ(engine.CodecThreads(), 0);
    engine.SetCodecThreads(-3);
    EXPECT_EQ(engine.CodecThreads(), 0);
}

// The decoder's and encoder's threads exist while the task runs, and only when asked for.
TEST(CodecThreads, TheCountReachesTheDecoderAndTheEncoder) {
    const fs::path dir = TempDir();
    const std::string clip = MakeClip(dir, "long.avi",
                                      "-f lavfi -i testsrc2=size=640x480:rate=25:duration=8 -c:v mpeg4 -q:v 5");
    auto peakThreads = [&](int codecThreads) {
        std::atomic<int> peak{0};
        ConversionSetup setup = Job(clip, (dir / ("out" + std::to_string(codecThreads) + ".avi")).string(), "",
                                    "vcodec=mpeg4\nb=800000\n");
        setup.codecThreads = codecThreads;
        setup.progressIntervalMs = 100;
        setup.onProgress = [&](TFFmpegEngine&, const ProgressRecord&) {
            peak = std::max(peak.load(), ProcessThreads());
        };
        const Conversion c = Convert(setup);
        EXPECT_TRUE(c.finished) << c.message;
        return peak.load();
    };
    const int base = ProcessThreads();
    const int one = peakThreads(1);
    const int six = peakThreads(6);
    EXPECT_LE(one - base, 2) << "one thread per codec made extra threads";
    // Six frame threads in the decoder and five slice workers in the encoder.
    EXPECT_GE(six - base, 10);
}

// A frame-threaded decoder gives pictures back several packets late; the output must still
// hold every picture once, at its own time.
TEST(CodecThreads, ThreadedDecodingKeepsEveryPictureAtItsTime) {
    const fs::path dir = TempDir();
    const std::string clip = MakeClip(dir, "bframes.mp4",
                                      "-f lavfi -i testsrc2=size=320x240:rate=25:duration=4 "
                                      "-c:v libx264 -preset veryfast -bf 3 -pix_fmt yuv420p");
    for (const int threads : {1, 3, 8}) {
        const std::string out = (dir / ("out" + std::to_string(threads) + ".mp4")).string();
        ConversionSetup setup = Job(clip, out, "", "vcodec=mpeg4\nb=800000\n");
        setup.codecThreads = threads;
        const Conversion c = Convert(setup);
        ASSERT_TRUE(c.finished) << threads << ": " << c.message;
        EXPECT_EQ(VideoPackets(out), 100) << threads;
        EXPECT_NEAR(ProbeMedia(out).duration, 4.0, 0.05) << threads;
    }
    // A time limit cuts the threaded output where it cuts the one-thread output, though the
    // decoder still holds later pictures when the limit is reached.
    const std::string cut = (dir / "cut.mp4").string();
    ConversionSetup limited = Job(clip, cut, "", "vcodec=mpeg4\nt=2\n");
    limited.codecThreads = 8;
    ASSERT_TRUE(Convert(limited).finished);
    EXPECT_EQ(VideoPackets(cut), 50);
    // Same pictures in the same places: each threaded output is as close to the source as
    // the one-thread output, picture by picture.
    EXPECT_EQ(Shell("ffmpeg -hide_banner -loglevel error -i '" + (dir / "out8.mp4").string() + "' -i '" + clip +
                    "' -lavfi '[0:v][1:v]psnr=stats_file=" + (dir / "psnr.log").string() + "' -f null -"),
              0);
    EXPECT_EQ(Shell("awk '{ split($6, a, \":\"); if (a[2] + 0 < 30) bad = 1 } END { exit bad }' '" +
                    (dir / "psnr.log").string() + "'"),
              0)
        << "a picture of the threaded output is not the source's picture at that time";
}

// x264 runs frame threads: a threaded H.264 output keeps one slice per picture, as the
// devices' limits assume, and plays to the end.
TEST(CodecThreads, ThreadedH264OutputKeepsOneSlicePerPicture) {
    const fs::path dir = TempDir();
    for (const int threads : {1, 0, 4}) {
        const std::string out = (dir / ("h264-" + std::to_string(threads) + ".mp4")).string();
        ConversionSetup setup = Job(Fixture("clip.avi"), out, "", "vcodec=libx264\nb=600000\nacodec=aac\n");
        setup.codecThreads = threads;
        const Conversion c = Convert(setup);
        ASSERT_TRUE(c.finished) << threads << ": " << c.message;
        EXPECT_EQ(VideoPackets(out), 75) << threads;
        EXPECT_EQ(H264Slices(out), 75) << threads;
        EXPECT_NEAR(ProbeMedia(out).duration, 3.0, 0.1) << threads;
    }
}

}  // namespace
}  // namespace tavrin::test
