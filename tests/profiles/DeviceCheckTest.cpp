// Every device profile at its default settings (and the Apple TV H264 profiles at "Highest"
// and "Lowest") converts a 16:9 720p clip and a 4:3 640x480 clip into files that keep within
// the device's published limits, read back with ffprobe, the H.264 header trace and the
// MPEG-4 visual headers. The expectations are the devices' limits, written out here on
// their own.
#include "DeviceTestSupport.h"
#include "Quality.h"

#include <cstdio>
#include <cstdlib>

namespace tavrin::test {
namespace {

struct DeviceCase {
    const char* Name;
    const char* Caption;
    int VideoCodecItem;  // -1: the profile's default
    int Quality;         // position in the quality combos, 2 is "Normal"
    // Video.
    const char* Codec;
    int ProfileIdc;      // H.264 profile_idc, or the MPEG-4 profile_and_level_indication
    int MinLevel, MaxLevel;  // H.264 level_idc range; unused for MPEG-4
    int MaxRefs;         // H.264 reference frames
    bool BFrames;        // B-frames allowed (never as references)
    int Width, Height;
    double MaxFps;
    double PeakKbps, BufferKbit;
    // Audio.
    const char* AudioCodec;
    int SampleRate, Channels;
    int MaxAudioKbps;    // the device's limit; above it only by the user's choice
};

void PrintTo(const DeviceCase& c, std::ostream* os)
{
    *os << c.Name;
}

constexpr int kNormal = 2, kHighest = 0, kLowest = 4;
constexpr int kMain = 77, kBaseline = 66;
// Simple Profile: level 2, level 4a.
constexpr int kSPL2 = 0x02, kSPL4a = 0x04;
// MPEG-4 decoder buffers: levels 2 and 4a.
constexpr double kVbvL2 = 655.36, kVbvL4a = 1310.72;

constexpr DeviceCase kCases[] = {
    {"AppleTV", "Apple TV (*.mp4)", -1, kNormal, "mpeg4", kSPL4a, 0, 0, 0, false, 640, 480, 30, 3000, kVbvL4a, "aac", 44100, 2, 160},
    {"AppleTV720", "Apple TV H264 (1280 x 720) (*.mp4)", -1, kNormal, "h264", kMain, 31, 31, 3, true, 1280, 720, 24, 5000, 5000, "aac", 48000, 2, 160},
    {"AppleTV720Highest", "Apple TV H264 (1280 x 720) (*.mp4)", -1, kHighest, "h264", kMain, 31, 31, 3, true, 1280, 720, 24, 5000, 5000, "aac", 48000, 2, 256},
    {"AppleTV720Lowest", "Apple TV H264 (1280 x 720) (*.mp4)", -1, kLowest, "h264", kMain, 31, 31, 3, true, 1280, 720, 24, 5000, 5000, "aac", 48000, 2, 160},
    {"AppleTV480", "Apple TV H264 (640 x 480) (*.mp4)", -1, kNormal, "h264", kMain, 30, 31, 3, true, 640, 480, 30, 5000, 5000, "aac", 48000, 2, 160},
    {"AppleTV480Highest", "Apple TV H264 (640 x 480) (*.mp4)", -1, kHighest, "h264", kMain, 30, 31, 3, true, 640, 480, 30, 5000, 5000, "aac", 48000, 2, 256},
    {"AppleTV480Lowest", "Apple TV H264 (640 x 480) (*.mp4)", -1, kLowest, "h264", kMain, 30, 31, 3, true, 640, 480, 30, 5000, 5000, "aac", 48000, 2, 160},
    {"AppleTV240", "Apple TV H264 (320 x 240) (*.mp4)", -1, kNormal, "h264", kMain, 13, 31, 3, true, 320, 240, 30, 5000, 5000, "aac", 48000, 2, 160},
    {"AppleTV240Highest", "Apple TV H264 (320 x 240) (*.mp4)", -1, kHighest, "h264", kMain, 13, 31, 3, true, 320, 240, 30, 5000, 5000, "aac", 48000, 2, 256},
    {"AppleTV240Lowest", "Apple TV H264 (320 x 240) (*.mp4)", -1, kLowest, "h264", kMain, 13, 31, 3, true, 320, 240, 30, 5000, 5000, "aac", 48000, 2, 160},
    {"iPhone", "iPhone (*.mp4)", -1, kNormal, "mpeg4", kSPL4a, 0, 0, 0, false, 480, 320, 30, 2500, kVbvL4a, "aac", 44100, 2, 160},
    {"iPod", "iPod (*.mp4)", -1, kNormal, "mpeg4", kSPL4a, 0, 0, 0, false, 320, 240, 30, 2500, kVbvL4a, "aac", 44100, 2, 160},
    {"iPodH264", "iPod (*.mp4)", 1, kNormal, "h264", kBaseline, 13, 13, 16, false, 320, 240, 30, 768, 2000, "aac", 44100, 2, 160},
    {"iPodTouch", "iPod Touch (*.mp4)", -1, kNormal, "mpeg4", kSPL4a, 0, 0, 0, false, 480, 320, 30, 2500, kVbvL4a, "aac", 44100, 2, 160},
    {"3GP", "3GP - Mobile Video Format (*.3gp)", -1, kNormal, "mpeg4", kSPL2, 0, 0, 0, false, 176, 144, 30, 128, kVbvL2, "amr_nb", 8000, 1, 0},
    {"3G2", "3G2 - Mobile Video Format (*.3g2)", -1, kNormal, "mpeg4", kSPL2, 0, 0, 0, false, 176, 144, 30, 128, kVbvL2, "amr_nb", 8000, 1, 0},
    {"3GPH264", "3GP - Mobile Video Format (*.3gp)", 2, kNormal, "h264", kBaseline, 11, 11, 16, false, 176, 144, 30, 192, 500, "amr_nb", 8000, 1, 0},
};

double Rate(const std::string& fraction)
{
    const size_t slash = fraction.find('/');
    const double den = slash == std::string::npos ? 1 : std::atof(fraction.c_str() + slash + 1);
    return den > 0 ? std::atof(fraction.c_str()) / den : 0;
}

int Int(const Fields& fields, const std::string& key)
{
    const auto it = fields.find(key);
    return it == fields.end() ? -1 : std::atoi(it->second.c_str());
}

class DeviceCheck : public DeviceJobTest,
                    public ::testing::WithParamInterface<std::tuple<DeviceCase, const char*>> {
protected:
    const DeviceCase& Case() const { return std::get<0>(GetParam()); }

    void SetUpProfile()
    {
        const DeviceCase& c = Case();
        Choose(c.Caption);
        if (c.VideoCodecItem >= 0)
            Window.Settings.VideoCodec.SetItemIndex(c.VideoCodecItem);
        Window.Settings.VideoQuality.SetItemIndex(c.Quality);
        Window.Settings.AudioQuality.SetItemIndex(c.Quality);
        ApplyQualityPreset(Window.Settings.Controls);
    }

    void CheckH264(const std::string& path)
    {
        const DeviceCase& c = Case();
        const H264Trace trace = TraceH264(path);
        ASSERT_TRUE(trace.Ok);
        EXPECT_EQ(trace.Sps.at("profile_idc"), c.ProfileIdc);
        EXPECT_GE(trace.Sps.at("level_idc"), c.MinLevel);
        EXPECT_LE(trace.Sps.at("level_idc"), c.MaxLevel);
        EXPECT_LE(trace.Sps.at("max_num_ref_frames"), c.MaxRefs);
        EXPECT_EQ(trace.Pps.at("entropy_coding_mode_flag"), 0) << "CABAC";
        EXPECT_EQ(trace.Pps.at("weighted_pred_flag"), 0);
        EXPECT_EQ(trace.Pps.at("weighted_bipred_idc"), 0);
        EXPECT_EQ(trace.Pps.count("transform_8x8_mode_flag") ? trace.Pps.at("transform_8x8_mode_flag") : 0, 0);
        EXPECT_EQ(trace.ReferencedBSlices, 0) << "B-pyramid";
        if (!c.BFrames) {
            EXPECT_EQ(trace.BSlices, 0);
        }
        std::printf("  %-18s %-14s H.264 profile %d level %.1f, CABAC %d, B slices %d of %d, refs %d",
                    c.Name, std::get<1>(GetParam()), trace.Sps.at("profile_idc"),
                    trace.Sps.at("level_idc") / 10.0, trace.Pps.at("entropy_coding_mode_flag"),
                    trace.BSlices, trace.Slices, trace.Sps.at("max_num_ref_frames"));
    }

    void CheckMPEG4(const std::string& path)
    {
        const DeviceCase& c = Case();
        const MPEG4Headers headers = ReadMPEG4Headers(path);
        EXPECT_EQ(headers.ProfileAndLevel, c.ProfileIdc);
        EXPECT_EQ(headers.ObjectType, 1) << "Simple Object: no quarter-pel, GMC or B-frames";
        EXPECT_GT(headers.Vops, 0);
        EXPECT_EQ(headers.BVops, 0);
        EXPECT_EQ(headers.SpriteVops, 0);
        std::printf("  %-18s %-14s MPEG-4 profile-and-level 0x%02x, object type %d, B-VOPs %d of %d",
                    c.Name, std::get<1>(GetParam()), headers.ProfileAndLevel, headers.ObjectType,
                    headers.BVops, headers.Vops);
    }
};

TEST_P(DeviceCheck, OutputKeepsWithinTheDeviceLimits)
{
    const DeviceCase& c = Case();
    SetUpProfile();
    ASSERT_EQ(ConvertClip(std::get<1>(GetParam())), "Done") << Builder.LastJob().FailText;
    const std::string path = OutputPath();

    const Fields video = ProbeStream(path, "v");
    EXPECT_EQ(video.at("codec_name"), c.Codec);
    EXPECT_EQ(Int(video, "width"), c.Width);
    EXPECT_EQ(Int(video, "height"), c.Height);
    EXPECT_LE(Rate(video.at("r_frame_rate")), c.MaxFps + 0.01);
    if (std::string(c.Codec) == "h264")
        CheckH264(path);
    else
        CheckMPEG4(path);

    const RateCheck rate = CheckVideoRate(path, c.PeakKbps * 1000, c.BufferKbit * 1000);
    EXPECT_TRUE(rate.Fits) << "decoder buffer runs dry: lowest fill " << rate.WorstFill;
    std::printf(", %dx%d %.3f fps, peak %.0f kbit/s in 1 s, average %.0f kbit/s",
                Int(video, "width"), Int(video, "height"), Rate(video.at("r_frame_rate")),
                rate.PeakKbps, rate.AverageKbps);

    const Fields audio = ProbeStream(path, "a");
    EXPECT_EQ(audio.at("codec_name"), c.AudioCodec);
    EXPECT_EQ(Int(audio, "sample_rate"), c.SampleRate);
    EXPECT_EQ(Int(audio, "channels"), c.Channels);
    if (std::string(c.AudioCodec) == "aac") {
        EXPECT_EQ(audio.at("profile"), "LC");
    }
    const int audioKbps = Window.Settings.AudioBitrate.Text().empty() ? 0 : Int(audio, "bit_rate") / 1000;
    if (c.MaxAudioKbps > 0) {
        EXPECT_LE(audioKbps, c.MaxAudioKbps * 1.1);
    }
    std::printf(", audio %s %s %d Hz %d ch %d kbit/s\n", audio.at("codec_name").c_str(),
                audio.count("profile") ? audio.at("profile").c_str() : "", Int(audio, "sample_rate"),
                Int(audio, "channels"), audioKbps);
    // The default choices are within the limits: no log lines, except for an audio bit rate
    // the "Highest" preset sets above the device's and a video rate at the level's very peak.
    for (const std::string& note : Builder.LastJob().Notes)
        EXPECT_TRUE(note.find("Audio bit rate 256 Kbps is above") != std::string::npos ||
                    note.find("Video bit rate aimed at") != std::string::npos) << note;
}

INSTANTIATE_TEST_SUITE_P(Devices, DeviceCheck,
                         ::testing::Combine(::testing::ValuesIn(kCases),
                                            ::testing::Values("device720.avi", "device480.avi")),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).Name) + "_" +
                                    (std::string(std::get<1>(info.param)) == "device720.avi" ? "Wide" : "Standard");
                         });

}  // namespace
}  // namespace tavrin::test
