// The media probe on generated clips: counts, records, open failures and logged messages.
#include <fstream>

#include "probe/AVProbe.h"
#include "binding/LibAV.h"
#include "EngineTestSupport.h"
#include "common/FFMpegException.h"
#include "binding/Binding.h"

namespace tavrin::test {
namespace {

struct AVProbeTest : ::testing::Test {
    TFFmpegEngine engine;
    TAVProbe probe;
    std::mutex mutex;
    std::vector<std::pair<TLogLevel, std::string>> logs;

    void SetUp() override {
        ASSERT_TRUE(engine.LoadCodecLibraries("", true));
        engine.OnLog = [this](int, TLogLevel level, const std::string& msg) {
            std::lock_guard l(mutex);
            logs.emplace_back(level, msg);
        };
    }
    void OpenOk(const std::string& name, const std::string& format = "") {
        ASSERT_TRUE(probe.Open(Fixture(name), format)) << probe.LastError();
        std::lock_guard l(mutex);
        logs.clear();  // only what the queries log counts
    }
    bool Logged(TLogLevel level, const std::string& msg) {
        std::lock_guard l(mutex);
        return std::find(logs.begin(), logs.end(), std::make_pair(level, msg)) != logs.end();
    }
    void ExpectClosed() {
        for (int n : {probe.StreamCount(), probe.ProgramCount(), probe.AudioStreamCount(),
                      probe.VideoStreamCount(), probe.SubtitleStreamCount(), probe.FirstAudioStream(),
                      probe.FirstVideoStream(), probe.FirstSubtitleStream()})
            EXPECT_EQ(n, -1);
        EXPECT_EQ(probe.FormatName(), "");
    }
    void ExpectDefaultStreamInfo(const TAVStreamInfo& s) {
        EXPECT_EQ(s.Width, -1);
        EXPECT_EQ(s.FrameRateNum, -1);
        EXPECT_EQ(s.DurationMicros, -1);
        EXPECT_EQ(s.DisplayAspect, -1.0f);
        EXPECT_EQ(s.CodecName, "");
    }
};

struct ClipCase {
    const char* file;
    const char* codec;
};

struct AVProbeClip : AVProbeTest, ::testing::WithParamInterface<ClipCase> {};

TEST_P(AVProbeClip, CountsTheStreamsAndReportsTheVideoAndTheFile) {
    OpenOk(GetParam().file);
    EXPECT_EQ(probe.StreamCount(), 2);
    EXPECT_EQ(probe.ProgramCount(), 0);
    EXPECT_EQ(probe.VideoStreamCount(), 1);
    EXPECT_EQ(probe.AudioStreamCount(), 1);
    EXPECT_EQ(probe.SubtitleStreamCount(), 0);
    EXPECT_EQ(probe.FirstVideoStream(), 0);
    EXPECT_EQ(probe.FirstAudioStream(), 1);
    EXPECT_EQ(probe.FirstSubtitleStream(), -1);
    TAVStreamInfo v;
    probe.GetVideoInfo(v);
    EXPECT_EQ(v.CodecName, GetParam().codec);
    EXPECT_EQ(v.Width, 320);
    EXPECT_EQ(v.Height, 240);
    EXPECT_EQ(v.PixelFormat, AV_PIX_FMT_YUV420P);
    EXPECT_EQ(v.FrameRateNum, 25);
    EXPECT_EQ(v.FrameRateDen, 1);
    EXPECT_NEAR(v.DisplayAspect, 4.0 / 3.0, 1e-6);
    TAVFileInfo f;
    probe.GetFileInfo(f);
    EXPECT_NEAR(f.Duration, 3000000, 100000);
    EXPECT_EQ(f.StartTime, 0);
    EXPECT_GT(f.BitRate, 100000);
    EXPECT_EQ(f.Title, "");
    EXPECT_EQ(f.Year, -1);
    EXPECT_EQ(f.Timestamp, -1);  // no creation time in these clips
}

INSTANTIATE_TEST_SUITE_P(AVProbe, AVProbeClip,
                         ::testing::Values(ClipCase{"clip.avi", "mpeg4"}, ClipCase{"clip.mp4", "h264"},
                                           ClipCase{"clip.mkv", "h264"}, ClipCase{"clip.mov", "mpeg4"}));

TEST_F(AVProbeTest, StreamTimesAreConvertedToMicrosecondsOnlyWhenKnown) {
    OpenOk("clip.mp4");
    TAVStreamInfo v;
    probe.GetStreamInfo(0, v);
    EXPECT_EQ(v.Language, "und");
    EXPECT_EQ(v.StartTimeMicros, 0);
    EXPECT_EQ(v.DurationMicros, 3000000);
    EXPECT_EQ(v.Duration, 3 * 12800);  // the mp4 muxer's 1/12800 time base
    EXPECT_GT(v.BitRate, 0);
    OpenOk("clip.mkv");  // Matroska keeps no per-stream duration
    probe.GetVideoInfo(v);
    EXPECT_EQ(v.Duration, AV_NOPTS_VALUE);
    EXPECT_EQ(v.DurationMicros, -1);
    EXPECT_EQ(v.StartTimeMicros, v.StartTime * 1000);
}

// A tiny raw YUV4MPEG clip whose header states the sample aspect ("0:0" is unknown).
std::string WriteY4m(const std::string& aspect) {
    const auto path = TempDir() / "clip.y4m";
    std::ofstream out(path, std::ios::binary);
    out << "YUV4MPEG2 W8 H4 F25:1 Ip A" << aspect << " C420jpeg\n";
    for (int frame = 0; frame < 2; ++frame)
        out << "FRAME\n" << std::string(8 * 4 * 3 / 2, '\x80');
    return path.string();
}

TEST_F(AVProbeTest, DisplayAspectUsesTheSampleAspectAndSquarePixelsWhenUnknown) {
    for (const auto& [aspect, expected] : {std::pair{"2:1", 4.0}, std::pair{"0:0", 2.0}}) {
        ASSERT_TRUE(probe.Open(WriteY4m(aspect), "")) << probe.LastError();
        TAVStreamInfo v;
        probe.GetVideoInfo(v);
        EXPECT_EQ(v.Width, 8);
        EXPECT_FLOAT_EQ(v.DisplayAspect, expected) << aspect;
    }
}

TEST_F(AVProbeTest, AudioOnlyFilesHaveNoVideoAndGetVideoInfoLogsIt) {
    for (const char* name : {"audio.mp3", "audio.wav"}) {
        OpenOk(name);
        EXPECT_EQ(probe.StreamCount(), 1);
        EXPECT_EQ(probe.VideoStreamCount(), 0);
        EXPECT_EQ(probe.FirstVideoStream(), -1);
        EXPECT_EQ(probe.AudioStreamCount(), 1);
        EXPECT_EQ(probe.FirstAudioStream(), 0);
        TAVStreamInfo v;
        v.Width = 99;
        probe.GetVideoInfo(v);
        ExpectDefaultStreamInfo(v);
        EXPECT_TRUE(Logged(llError, "no video stream.")) << name;
    }
}

TEST_F(AVProbeTest, BadIndexesLeaveTheDefaultsAndSayWhy) {
    OpenOk("clip.avi");
    TAVStreamInfo v;
    probe.GetStreamInfo(1, v);
    ExpectDefaultStreamInfo(v);
    EXPECT_TRUE(Logged(llError, "stream #1 is not video stream."));
    probe.GetStreamInfo(2, v);
    ExpectDefaultStreamInfo(v);
    EXPECT_TRUE(Logged(llError, "stream index #2 is invalid."));
}

TEST_F(AVProbeTest, QueriesWithoutAFileGiveDefaultsAndLogFileNotLoaded) {
    OpenOk("clip.mp4");
    probe.Close();
    ExpectClosed();
    TAVFileInfo f;
    f.Duration = 5;
    probe.GetFileInfo(f);
    EXPECT_EQ(f.Duration, -1);
    EXPECT_EQ(f.StartTime, -1);
    EXPECT_EQ(f.BitRate, -1);
    TAVStreamInfo v;
    probe.GetVideoInfo(v);
    ExpectDefaultStreamInfo(v);
    std::lock_guard l(mutex);
    EXPECT_EQ(logs, (std::vector<std::pair<TLogLevel, std::string>>(2, {llInfo, "file not loaded."})));
}

TEST_F(AVProbeTest, FailedOpensCloseTheProbeAndNameTheReason) {
    const std::string missing = Fixture("no-such-clip.mp4");
    OpenOk("clip.mp4");
    EXPECT_FALSE(probe.Open(missing, ""));
    EXPECT_EQ(probe.LastError(), missing + ": no such file or directory");
    ExpectClosed();
    // The format is looked up before the file is touched.
    EXPECT_FALSE(probe.Open(missing, "no_such_format"));
    EXPECT_EQ(probe.LastError(), "Unknown input format: no_such_format");
    EXPECT_FALSE(probe.Open(Fixture("notmedia.avi"), ""));
    EXPECT_EQ(probe.LastError(), Fixture("notmedia.avi") + ": Unknown format");
    ExpectClosed();
    EXPECT_FALSE(probe.Open(Fixture("truncated.mp4"), ""));
    EXPECT_EQ(probe.LastError(), Fixture("truncated.mp4") + ": Error while parsing header (moov atom not found)");
    ExpectClosed();
    OpenOk("audio.wav");  // a success keeps the last failure's reason
    EXPECT_EQ(probe.LastError(), Fixture("truncated.mp4") + ": Error while parsing header (moov atom not found)");
}

// A metadata-only file: container tags without any stream, so no duration either.
TEST_F(AVProbeTest, ContainerTagsAreCutToSizeAndDatesAndNumbersParsed) {
    const auto path = TempDir() / "tags.txt";
    std::ofstream(path) << ";FFMETADATA1\ntitle=" << std::string(600, 't') << "\nartist=Someone\n"
                        << "copyright=(c) us\ncomment=note\nalbum=Album\ndate=2008-05-01\ntrack=3/12\n"
                        << "genre=" << std::string(40, 'g') << "\ncreation_time=2020-01-02T03:04:05.5Z\n";
    ASSERT_TRUE(probe.Open(path.string(), "ffmetadata")) << probe.LastError();
    EXPECT_EQ(probe.FormatName(), "ffmetadata");
    EXPECT_EQ(probe.StreamCount(), 0);
    EXPECT_EQ(probe.FirstVideoStream(), -1);
    TAVFileInfo f;
    probe.GetFileInfo(f);
    EXPECT_EQ(f.Title, std::string(511, 't'));
    EXPECT_EQ(f.Author, "Someone");
    EXPECT_EQ(f.Copyright, "(c) us");
    EXPECT_EQ(f.Comment, "note");
    EXPECT_EQ(f.Album, "Album");
    EXPECT_EQ(f.Year, 2008);
    EXPECT_EQ(f.Track, 3);
    EXPECT_EQ(f.Genre, std::string(31, 'g'));
    EXPECT_EQ(f.Timestamp, 1577934245);
    EXPECT_EQ(f.Duration, AV_NOPTS_VALUE);
}

TEST_F(AVProbeTest, OpenRefusesWithAPlainErrorWhileTheLibrariesAreUnloaded) {
    UnloadLibraries();
    try {
        probe.Open(Fixture("clip.mp4"), "");
        ADD_FAILURE() << "no exception";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "LibAVCodec not loaded.");
        EXPECT_EQ(dynamic_cast<const FFMpegException*>(&e), nullptr);
    }
    std::string error;
    ASSERT_TRUE(LoadLibraries("", true, error)) << error;
    EXPECT_NO_THROW(TAVProbe::CheckLibraries());
}

TEST(AVProbeFormats, HasInputFormatKnowsTheLinkedDemuxersOnly) {
    EXPECT_TRUE(TAVProbe::HasInputFormat("matroska"));
    EXPECT_TRUE(TAVProbe::HasInputFormat("rm"));
    EXPECT_FALSE(TAVProbe::HasInputFormat("no-such-format"));
    EXPECT_FALSE(TAVProbe::HasInputFormat(""));
}

}  // namespace
}  // namespace tavrin::test
