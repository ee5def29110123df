// End-to-end conversions through AddInputTask / SetTaskOutput / StartTasks, checked with
// ffprobe: codecs, sizes, rates, durations, limits, sync and progress reports.
#include <fstream>

#include "TranscodeTestSupport.h"

namespace tavrin::test {
namespace {

struct ProfileCase {
    const char* name;
    const char* extension;
    const char* lines;
    const char* videoCodec;  // nullptr: no video stream
    int width, height;
    const char* audioCodec;
    int sampleRate, channels;
    double durationTolerance;  // one frame, or what the container adds (ASF pads with its preroll)
};

const ProfileCase kProfiles[] = {
    {"AppleTv", ".mp4", "vcodec=mpeg4\nb=1500000\ns=640x480\nr=25\nacodec=aac\nab=128000\nar=44100\nac=2",
     "mpeg4", 640, 480, "aac", 44100, 2, 0.08},
    {"AppleTvH264", ".mp4", "vcodec=libx264\nb=2000000\ns=640x480\nr=25\nacodec=libfaac\nab=128000\nar=44100\nac=2",
     "h264", 640, 480, "aac", 44100, 2, 0.08},
    {"ScaledDown", ".mp4", "vcodec=mpeg4\ns=160x120\nacodec=aac", "mpeg4", 160, 120, "aac", 44100, 2, 0.08},
    {"Mp3AudioOnly", ".mp3", "vn\nacodec=libmp3lame\nab=192000", nullptr, 0, 0, "mp3", 44100, 2, 0.08},
    {"Wmv", ".wmv", "vcodec=wmv2\nacodec=wmav2\nb=800000", "wmv2", 320, 240, "wmav2", 44100, 2, 0.1},
    {"ThreeGp", ".3gp", "vcodec=mpeg4\ns=176x144\nr=15\nacodec=libamr_nb\nar=8000\nac=1\nab=12200", "mpeg4", 176, 144,
     "amr_nb", 8000, 1, 0.08},
};

class Profiles : public ::testing::TestWithParam<ProfileCase> {};

TEST_P(Profiles, ConvertWithTheAskedCodecsSizeRateAndDuration) {
    const ProfileCase& p = GetParam();
    const std::string out = (TempDir() / (std::string("out") + p.extension)).string();
    Conversion c = Convert(Job(Fixture("clip.mp4"), out, "", p.lines));
    ASSERT_TRUE(c.created) << c.message;
    ASSERT_TRUE(c.finished) << c.message;
    const MediaInfo info = ProbeMedia(out);
    ASSERT_TRUE(info.ok);
    if (p.videoCodec) {
        const Fields* v = info.First("video");
        ASSERT_NE(v, nullptr);
        EXPECT_EQ(v->at("codec_name"), p.videoCodec);
        EXPECT_EQ(v->at("width"), std::to_string(p.width));
        EXPECT_EQ(v->at("height"), std::to_string(p.height));
    } else {
        EXPECT_EQ(info.Count("video"), 0);
    }
    const Fields* a = info.First("audio");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->at("codec_name"), p.audioCodec);
    EXPECT_EQ(a->at("sample_rate"), std::to_string(p.sampleRate));
    EXPECT_EQ(a->at("channels"), std::to_string(p.channels));
    // Within one video frame or one audio frame (plus the encoder's priming) of the 3 s source.
    EXPECT_NEAR(info.duration, 3.0, p.durationTolerance) << p.name;
}

INSTANTIATE_TEST_SUITE_P(Engine, Profiles, ::testing::ValuesIn(kProfiles),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Transcode, AppleTvOutputKeepsTheFrameRateAndEveryFrame) {
    const std::string out = (TempDir() / "tv.mp4").string();
    Conversion c = Convert(Job(Fixture("clip.avi"), out, "", kProfiles[0].lines));
    ASSERT_TRUE(c.finished) << c.message;
    const MediaInfo info = ProbeMedia(out);
    EXPECT_EQ(info.First("video")->at("r_frame_rate"), "25/1");
    EXPECT_EQ(info.First("video")->at("nb_read_packets"), "75");
    EXPECT_TRUE(c.Logged("Stream mapping:"));
    EXPECT_TRUE(c.Logged("  Stream #0.0 -> #0.0"));
    EXPECT_TRUE(c.Logged("  Stream #0.1 -> #0.1"));
}

TEST(Transcode, StreamCopyKeepsEveryPacket) {
    const std::string out = (TempDir() / "copy.mkv").string();
    Conversion c = Convert(Job(Fixture("clip.mp4"), out, "", "vcodec=copy\nacodec=copy"));
    ASSERT_TRUE(c.finished) << c.message;
    const MediaInfo src = ProbeMedia(Fixture("clip.mp4")), dst = ProbeMedia(out);
    EXPECT_EQ(dst.First("video")->at("codec_name"), "h264");
    EXPECT_EQ(dst.First("video")->at("nb_read_packets"), src.First("video")->at("nb_read_packets"));
    EXPECT_EQ(dst.First("audio")->at("nb_read_packets"), src.First("audio")->at("nb_read_packets"));
    EXPECT_NEAR(dst.duration, src.duration, 0.05);
}

TEST(Transcode, StreamMapsMustMatchTheOutputStreamsInNumberAndType) {
    const auto dir = TempDir();
    Conversion c = Convert(Job(Fixture("clip.mp4"), (dir / "a.mkv").string(), "", "map=0:0"));
    EXPECT_TRUE(c.exception);
    EXPECT_EQ(c.message, "Number of stream maps must match number of output streams");
    c = Convert(Job(Fixture("clip.mp4"), (dir / "b.mkv").string(), "", "map=0:1\nmap=0:0"));
    EXPECT_EQ(c.message, "Codec type mismatch for mapping #0.1 -> #0.0");
    c = Convert(Job(Fixture("clip.mp4"), (dir / "c.mkv").string(), "", "map=0:5\nmap=0:0"));
    EXPECT_EQ(c.message, "Could not find input stream #0.5");
    EXPECT_FALSE(std::filesystem::exists(dir / "a.mkv"));  // nothing was written
    c = Convert(Job(Fixture("clip.mp4"), (dir / "d.mkv").string(), "", "acodec=copy\nvol=300"));
    EXPECT_EQ(c.message, "-acodec copy and -vol are incompatible (frames are not decoded)");
}

TEST(Transcode, StopDuringARunLeavesAShorterPlayableFile) {
    const auto dir = TempDir();
    const std::string in = MakeClip(dir, "long.mkv",
        "-f lavfi -i testsrc2=size=320x240:rate=25:duration=20 -c:v mpeg4 -q:v 5");
    const std::string out = (dir / "stopped.mp4").string();
    ConversionSetup s = Job(in, out, "", "vcodec=mpeg4");
    s.progressIntervalMs = 100;
    s.onProgress = [](TFFmpegEngine& e, const ProgressRecord&) { e.StopTasks(); };
    Conversion c = Convert(s);
    EXPECT_FALSE(c.finished);
    EXPECT_FALSE(c.exception) << c.message;
    const MediaInfo info = ProbeMedia(out);
    ASSERT_TRUE(info.ok) << "the trailer was written";
    EXPECT_GT(info.duration, 0.0);
    EXPECT_LT(info.duration, 19.0);
}

TEST(Transcode, FileSizeAndRecordingTimeLimitsEndTheRun) {
    const auto dir = TempDir();
    const std::string sized = (dir / "sized.mkv").string();
    Conversion c = Convert(Job(Fixture("clip.avi"), sized, "", "vcodec=mpeg4\nqscale=2\nfs=100000"));
    EXPECT_TRUE(c.finished) << c.message;
    const auto size = std::filesystem::file_size(sized);
    EXPECT_GT(size, 100000u);
    EXPECT_LT(size, 250000u);

    const std::string timed = (dir / "timed.mkv").string();
    c = Convert(Job(Fixture("clip.avi"), timed, "", "vcodec=mpeg4\nt=1"));
    EXPECT_TRUE(c.finished) << c.message;
    EXPECT_NEAR(ProbeMedia(timed).duration, 1.0, 0.1);
}

// The 16-bit samples of a canonical WAV file.
std::vector<int16_t> WavSamples(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    const std::string data = "data";
    auto it = std::search(bytes.begin(), bytes.end(), data.begin(), data.end());
    std::vector<int16_t> samples;
    if (it == bytes.end())
        return samples;
    for (auto p = it + 8; p + 1 < bytes.end(); p += 2)
        samples.push_back(static_cast<int16_t>(static_cast<uint8_t>(p[0]) | (static_cast<uint8_t>(p[1]) << 8)));
    return samples;
}

TEST(Transcode, VolumeDoublesSamplesAndClamps) {
    const auto dir = TempDir();
    const std::string in = MakeClip(dir, "loud.wav", "-f lavfi -i sine=frequency=300:sample_rate=44100:duration=1,volume=5 -c:a pcm_s16le");
    const std::string out = (dir / "louder.wav").string();
    Conversion c = Convert(Job(in, out, "", "vol=512"));
    ASSERT_TRUE(c.finished) << c.message;
    const auto src = WavSamples(in), dst = WavSamples(out);
    ASSERT_EQ(src.size(), dst.size());
    int clamped = 0;
    for (size_t i = 0; i < src.size(); ++i) {
        ASSERT_EQ(dst[i], std::clamp(src[i] * 2, -32768, 32767)) << "sample " << i;
        clamped += std::abs(src[i] * 2) > 32767;
    }
    EXPECT_GT(clamped, 0);
}

TEST(Transcode, AudioSyncPadsALateFirstPacketWithSilence) {
    const auto dir = TempDir();
    const std::string in = MakeClip(dir, "late.mkv",
        "-f lavfi -i testsrc2=size=160x120:rate=25:duration=2 -itsoffset 0.5 -f lavfi -i "
        "sine=frequency=300:sample_rate=44100:duration=1.5 -map 0 -map 1 -c:v mpeg4 -c:a pcm_s16le -ac 2");
    const std::string out = (dir / "synced.wav").string();
    ConversionSetup s = Job(in, out, "", "vn");
    s.configure = [](TOutputOptions& o) { o.AudioSyncMethod = 1; };  // the record field wins over option lines
    s.level = llAll;
    Conversion c = Convert(s);
    ASSERT_TRUE(c.finished) << c.message;
    EXPECT_TRUE(c.Logged("adding 22050 audio samples of silence"));
    const auto samples = WavSamples(out);
    ASSERT_GT(samples.size(), 2u * 22050 + 100);
    for (size_t i = 0; i < 2 * 22050; ++i)
        ASSERT_EQ(samples[i], 0) << "sample " << i;
    EXPECT_NE(std::count(samples.begin() + 2 * 22050, samples.begin() + 2 * 22050 + 200, 0), 200);
}

TEST(Transcode, AudioSyncPaddingIsCutAtItsLimitAndNeverNegative) {
    const auto dir = TempDir();
    // Late by 1 s in 1024-sample chunks: the first chunk is padded up to 131072 bytes only.
    const std::string small = MakeClip(dir, "late1s.mkv",
        "-f lavfi -i testsrc2=size=160x120:rate=25:duration=3 -itsoffset 1 -f lavfi -i "
        "sine=frequency=300:sample_rate=44100:duration=2 -map 0 -map 1 -c:v mpeg4 -c:a pcm_s16le -ac 2");
    ConversionSetup s = Job(small, (dir / "cut.wav").string(), "", "vn");
    s.configure = [](TOutputOptions& o) { o.AudioSyncMethod = 1; };
    s.level = llAll;
    Conversion c = Convert(s);
    ASSERT_TRUE(c.finished) << c.message;
    const auto samples = WavSamples(s.output);
    const size_t firstPad = (131072 - 4096) / 2;
    ASSERT_GT(samples.size(), firstPad + 2);
    EXPECT_EQ(std::count(samples.begin(), samples.begin() + static_cast<ptrdiff_t>(firstPad), 0),
              static_cast<ptrdiff_t>(firstPad));
    EXPECT_NE(samples[firstPad + 2], 0);
    EXPECT_TRUE(c.Logged("adding 31744 audio samples of silence"));

    // Chunks of 40000 samples are larger than the limit themselves: they get no padding;
    // only the short last chunk is padded up to the limit.
    const std::string big = MakeClip(dir, "bigframes.mkv",
        "-f lavfi -i testsrc2=size=160x120:rate=25:duration=3 -itsoffset 1 -f lavfi -i "
        "sine=frequency=300:sample_rate=44100:duration=2 -map 0 -map 1 -c:v mpeg4 -c:a flac -frame_size 40000 -ac 2");
    s = Job(big, (dir / "big.wav").string(), "", "vn");
    s.configure = [](TOutputOptions& o) { o.AudioSyncMethod = 1; };
    s.level = llAll;
    c = Convert(s);
    ASSERT_TRUE(c.finished) << c.message;
    const auto bigSamples = WavSamples(s.output);
    ASSERT_GT(bigSamples.size(), 100u);
    EXPECT_NE(std::count(bigSamples.begin(), bigSamples.begin() + 100, 0), 100) << "no leading silence";
    int padded = 0;
    for (const std::string& line : c.logs)
        std::sscanf(line.c_str(), "adding %d audio samples of silence", &padded);
    EXPECT_GT(padded, 0);
    EXPECT_LT(padded, 131072 / 4 - 8000);  // the last chunk itself takes part of the limit
    EXPECT_NEAR(ProbeMedia(s.output).duration, 2.0 + padded / 44100.0, 0.01);
}

TEST(Transcode, VideoSyncDropsForALowerRateAndDuplicatesForAHigherOne) {
    const auto dir = TempDir();
    ConversionSetup low = Job(Fixture("clip.mkv"), (dir / "low.mkv").string(), "", "an\nvcodec=mpeg4\nr=10");
    low.level = llAll;
    Conversion c = Convert(low);
    ASSERT_TRUE(c.finished) << c.message;
    EXPECT_TRUE(c.Logged("*** drop!"));
    EXPECT_NEAR(std::stoi(ProbeMedia(low.output).First("video")->at("nb_read_packets")), 30, 2);

    ConversionSetup high = Job(Fixture("clip.mkv"), (dir / "high.mkv").string(), "", "an\nvcodec=mpeg4\nr=50");
    high.level = llAll;
    c = Convert(high);
    ASSERT_TRUE(c.finished) << c.message;
    EXPECT_TRUE(c.Logged("*** 1 dup!"));
    EXPECT_NEAR(std::stoi(ProbeMedia(high.output).First("video")->at("nb_read_packets")), 150, 3);
}

TEST(Transcode, TwoPassWritesThenReadsItsStatisticsAndVstatsGetsALinePerPicture) {
    const auto dir = TempDir();
    const std::string stem = (dir / "stats").string(), vstats = (dir / "vstats.log").string();
    Conversion c = Convert(Job(Fixture("clip.avi"), (dir / "pass1.mkv").string(), "",
                               "an\nvcodec=mpeg4\nb=300000\npass=1\npasslogfile=" + stem + "\nvstats_file=" + vstats));
    ASSERT_TRUE(c.finished) << c.message;
    ASSERT_TRUE(std::filesystem::exists(stem + "-0.log"));
    EXPECT_GT(std::filesystem::file_size(stem + "-0.log"), 0u);
    std::ifstream stats(vstats);
    int lines = 0;
    for (std::string line; std::getline(stats, line); ++lines)
        EXPECT_EQ(line.rfind("frame= ", 0), 0u) << line;
    EXPECT_EQ(lines, 75);

    c = Convert(Job(Fixture("clip.avi"), (dir / "pass2.mkv").string(), "",
                    "an\nvcodec=mpeg4\nb=300000\npass=2\npasslogfile=" + stem));
    ASSERT_TRUE(c.finished) << c.message;
    c = Convert(Job(Fixture("clip.avi"), (dir / "pass2b.mkv").string(), "",
                    "an\nvcodec=mpeg4\npass=2\npasslogfile=" + (dir / "none").string()));
    EXPECT_EQ(c.message, "creat open fail: " + (dir / "none").string() + "-0.log");
}

TEST(Transcode, ProgressReportsAreCoherentAndStartWithTheFirstPicture) {
    const auto dir = TempDir();
    const std::string out = (dir / "progress.mp4").string();
    ConversionSetup s = Job(Fixture("clip.mp4"), out, "re", "vcodec=mpeg4\nacodec=aac");
    s.progressIntervalMs = 100;
    Conversion c = Convert(s);
    ASSERT_TRUE(c.finished) << c.message;
    ASSERT_GE(c.progress.size(), 5u);
    for (size_t i = 0; i < c.progress.size(); ++i) {
        const ProgressRecord& r = c.progress[i];
        EXPECT_GE(r.frame, 1) << "report " << i << " before the first picture";
        EXPECT_NEAR(r.totalMs, 3000, 100);
        if (i > 0) {
            EXPECT_GE(r.durationMs, c.progress[i - 1].durationMs);
            EXPECT_GE(r.size, c.progress[i - 1].size);
            EXPECT_GE(r.frame, c.progress[i - 1].frame);
        }
    }
    const ProgressRecord& last = c.progress.back();
    EXPECT_EQ(std::to_string(last.frame), ProbeMedia(out).First("video")->at("nb_read_packets"));
    EXPECT_EQ(static_cast<uintmax_t>(last.size), std::filesystem::file_size(out));
    EXPECT_NEAR(last.durationMs, 3000, 100);
    EXPECT_GT(last.quality, 0.0f);
}

TEST(Transcode, AudioOnlyProgressHasNoFramesAndTheLogGetsTheFinalSummary) {
    const std::string out = (TempDir() / "a.mp3").string();
    Conversion c = Convert(Job(Fixture("audio.wav"), out, "", "acodec=libmp3lame"));
    ASSERT_TRUE(c.finished) << c.message;
    ASSERT_FALSE(c.progress.empty());
    EXPECT_EQ(c.progress.back().frame, -1);
    EXPECT_EQ(c.progress.back().fps, -1);
    EXPECT_FLOAT_EQ(c.progress.back().quality, -1.0f);
    EXPECT_TRUE(c.Logged("muxing overhead"));
}

}  // namespace
}  // namespace tavrin::test
