// The kinds of source people have today (editing exports in 4:2:2 and 4:4:4, 10-bit phone
// video, camera MJPEG at full range, interlaced TV and DV recordings, RGB and palette
// screen captures, a clip of two pictures) convert with every offered video profile into
// 8-bit 4:2:0 studio-range pictures that decode, last as long as the source, keep black
// black and white white, and show a moving edge once.
#include "DeviceTestSupport.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <mutex>

namespace tavrin::test {
namespace {

struct SourceKind {
    const char* Name;
    const char* File;      // made by the fixture step
    double Seconds;        // of its pictures
    bool Pattern;          // the black frame with a white square and a moving white bar
    bool Interlaced;
    int MinPictures;       // at least this many pictures come out; 0: as many as the time holds
};

constexpr SourceKind kKinds[] = {
    {"H264_422", "kind-h264-422.mp4", 0.4, true, false, 0},
    {"H264_444", "kind-h264-444.mp4", 0.4, true, false, 0},
    {"H264_10bit", "kind-h264-10bit.mp4", 0.4, true, false, 0},
    {"HEVC_10bit", "kind-hevc-10bit.mov", 0.4, true, false, 0},
    {"MJPEG_422_FullRange", "kind-mjpeg-422.mov", 0.4, true, false, 0},
    {"MPEG2_Interlaced", "kind-mpeg2-interlaced.ts", 0.4, true, true, 0},
    {"DV_NTSC_411", "kind-dv-ntsc.dv", 11 / 29.97, true, true, 0},
    {"RGB", "kind-rgb.mov", 0.4, true, false, 0},
    {"Palette", "kind-palette.mov", 0.4, true, false, 0},
    {"TwoFrames", "kind-two-frames.ts", 0.08, false, false, 2},
};

struct VideoProfile {
    const char* Name;
    const char* Caption;
};

constexpr VideoProfile kProfiles[] = {
    {"3GP", "3GP - Mobile Video Format (*.3gp)"},
    {"3G2", "3G2 - Mobile Video Format (*.3g2)"},
    {"iPod", "iPod (*.mp4)"},
    {"AppleTV240", "Apple TV H264 (320 x 240) (*.mp4)"},
    {"AppleTV480", "Apple TV H264 (640 x 480) (*.mp4)"},
    {"AppleTV720", "Apple TV H264 (1280 x 720) (*.mp4)"},
    {"AppleTV", "Apple TV (*.mp4)"},
    {"iPodTouch", "iPod Touch (*.mp4)"},
    {"iPhone", "iPhone (*.mp4)"},
    {"AVI", "AVI - Audio Video Interleave (*.avi)"},
    {"DivX", "AVI - DivX Video (*.avi)"},
    {"MOV", "MOV - QuickTime Video (*.mov)"},
    {"MP4", "MP4 - MPEG4 Video (*.mp4)"},
    {"MPEG1", "MPEG-1 Movie (*.mpg)"},
    {"MPEG2", "MPEG-2 Movie (*.mpg)"},
    {"WMV", "WMV - Windows Media Video (*.wmv)"},
};

double Number(const Fields& fields, const std::string& key)
{
    const auto it = fields.find(key);
    return it == fields.end() ? -1 : std::atof(it->second.c_str());
}

double Rate(const std::string& fraction)
{
    const size_t slash = fraction.find('/');
    const double den = slash == std::string::npos ? 1 : std::atof(fraction.c_str() + slash + 1);
    return den > 0 ? std::atof(fraction.c_str()) / den : 0;
}

// The pattern's parts, as shares of the picture: the white square and the bar's rows.
struct Share {
    double X0, Y0, X1, Y1;
};
constexpr Share kWhiteSquare{0.10, 0.12, 0.25, 0.33};
constexpr Share kBlackArea{0.50, 0.10, 0.90, 0.40};
constexpr Share kBarRows{0.00, 0.56, 1.00, 0.88};

class Picture {
public:
    Picture(std::vector<uint8_t> luma, int width, int height) : FLuma(std::move(luma)), FWidth(width), FHeight(height) {}
    int At(int x, int y) const { return FLuma[static_cast<size_t>(y) * FWidth + x]; }
    int Row(double share) const { return static_cast<int>(share * FHeight); }
    int Column(double share) const { return static_cast<int>(share * FWidth); }

    double Mean(const Share& s) const
    {
        double sum = 0;
        int count = 0;
        for (int y = Row(s.Y0); y < Row(s.Y1); ++y)
            for (int x = Column(s.X0); x < Column(s.X1); ++x, ++count)
                sum += At(x, y);
        return count ? sum / count : -1;
    }

    // Where the bar's left edge is on row y: the first pixel brighter than mid-grey.
    int LeftEdge(int y) const
    {
        for (int x = 0; x < FWidth; ++x)
            if (At(x, y) > 126)
                return x;
        return -1;
    }

    // Pixels of row y between black and white: the width of the row's edges.
    int GreyPixels(int y) const
    {
        int count = 0;
        for (int x = 0; x < FWidth; ++x)
            count += At(x, y) > 48 && At(x, y) < 200;
        return count;
    }

private:
    std::vector<uint8_t> FLuma;
    int FWidth, FHeight;
};

class SourceKindConversion
    : public DeviceJobTest,
      public ::testing::WithParamInterface<std::tuple<SourceKind, VideoProfile>> {
protected:
    void SetUp() override
    {
        DeviceJobTest::SetUp();
        Engine.SetLogLevel(llInfo);
        Engine.OnLog = [this](int, TLogLevel, const std::string& text) {
            std::lock_guard lock(FLogLock);
            FLog.push_back(text);
        };
    }

    bool Logged(const std::string& part)
    {
        std::lock_guard lock(FLogLock);
        return std::any_of(FLog.begin(), FLog.end(), [&](const std::string& l) { return l.find(part) != std::string::npos; });
    }

    void CheckPattern(const Picture& picture, bool interlaced, double scale)
    {
        const double white = picture.Mean(kWhiteSquare), black = picture.Mean(kBlackArea);
        EXPECT_NEAR(white, 235, 12) << "white is studio white";
        EXPECT_NEAR(black, 16, 8) << "black is studio black";
        // One source pixel of blur on each side of the bar, plus what the encoder adds; the
        // fields of an interlaced source lie 8 source pixels apart.
        const int allowedGrey = static_cast<int>(2 * (2 * scale + 2));
        int worstGrey = 0, worstStep = 0, previous = -1;
        for (int y = picture.Row(kBarRows.Y0); y < picture.Row(kBarRows.Y1); ++y) {
            worstGrey = std::max(worstGrey, picture.GreyPixels(y));
            const int edge = picture.LeftEdge(y);
            if (previous >= 0 && edge >= 0)
                worstStep = std::max(worstStep, std::abs(edge - previous));
            previous = edge;
        }
        EXPECT_LE(worstGrey, allowedGrey) << "the moving bar's edges are blurred or doubled"
                                          << (interlaced ? " (interlaced source)" : "");
        EXPECT_LE(worstStep, static_cast<int>(2 * scale + 1)) << "the bar's edge combs from row to row";
    }

    std::mutex FLogLock;
    std::vector<std::string> FLog;
};

// Every picture of the output's video, decoded by the ffmpeg program to 8-bit 4:2:0, and
// what the decoder complained of.
struct Decoded {
    std::vector<uint8_t> Pictures;
    std::string Errors;
};

Decoded DecodeAll(const std::string& path)
{
    const std::string errors = path + ".errors";
    Decoded d;
    const std::string raw = Capture("ffmpeg -v error -nostdin -i " + ShellQuote(path) +
                                    " -map 0:v:0 -f rawvideo -pix_fmt yuv420p - 2>" + ShellQuote(errors));
    d.Pictures.assign(raw.begin(), raw.end());
    std::ifstream text(errors);
    d.Errors.assign(std::istreambuf_iterator<char>(text), {});
    return d;
}

TEST_P(SourceKindConversion, DecodesAsEightBitStudioRangeWithTheSourceDurationAndOneEdge)
{
    const auto& [kind, profile] = GetParam();
    Choose(profile.Caption);
    ASSERT_EQ(ConvertClip(kind.File), "Done") << Builder.LastJob().FailText;
    const std::string path = OutputPath();

    const Fields video = ProbeStream(path, "v");
    ASSERT_FALSE(video.empty()) << "no video stream in " << path;
    EXPECT_EQ(video.at("pix_fmt"), "yuv420p");
    EXPECT_NE(video.count("color_range") ? video.at("color_range") : "", "pc");
    EXPECT_EQ(Logged("is interlaced"), kind.Interlaced);

    const int width = static_cast<int>(Number(video, "width")), height = static_cast<int>(Number(video, "height"));
    const size_t pictureBytes = static_cast<size_t>(width) * height * 3 / 2;
    const Decoded decoded = DecodeAll(path);
    EXPECT_EQ(decoded.Errors, "") << "the output does not decode cleanly";
    ASSERT_GT(pictureBytes, 0u);
    const int count = static_cast<int>(decoded.Pictures.size() / pictureBytes);
    const double fps = Rate(video.at("r_frame_rate"));
    EXPECT_GE(count, std::max(kind.MinPictures, 1));
    if (kind.MinPictures == 0) {
        EXPECT_NEAR(count / fps, kind.Seconds, 2.5 / fps + 0.02) << count << " pictures at " << fps << " fps";
    }
    if (!kind.Pattern || count == 0)
        return;
    const auto middle = decoded.Pictures.begin() + static_cast<std::ptrdiff_t>(count / 2 * pictureBytes);
    CheckPattern(Picture({middle, middle + static_cast<std::ptrdiff_t>(width) * height}, width, height),
                 kind.Interlaced, width / 160.0);
}

INSTANTIATE_TEST_SUITE_P(SourceKinds, SourceKindConversion,
                         ::testing::Combine(::testing::ValuesIn(kKinds), ::testing::ValuesIn(kProfiles)),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).Name) + "_" + std::get<1>(info.param).Name;
                         });

}  // namespace
}  // namespace tavrin::test

namespace tavrin::test {
namespace {

// A clip of two pictures keeps at least as many pictures at every rate the MP4 and 3GP
// profiles offer as the ffmpeg program writes with the same encoder and rate.
class TinyClip : public DeviceJobTest, public ::testing::WithParamInterface<const char*> {};

int PictureCount(const std::string& path)
{
    return std::atoi(Capture("ffprobe -v error -count_frames -select_streams v:0 -show_entries "
                             "stream=nb_read_frames -of csv=p=0 " + ShellQuote(path)).c_str());
}

TEST_P(TinyClip, KeepsAsManyPicturesAsTheFfmpegProgramAtEveryOfferedRate)
{
    Choose(GetParam());
    const std::vector<std::string> rates = Window.Settings.FrameRate.Items();
    ASSERT_GT(rates.size(), 1u);
    for (size_t i = 1; i < rates.size(); ++i) {  // after "Auto"
        Window.Settings.FrameRate.SetItemIndex(static_cast<int>(i));
        ASSERT_EQ(ConvertClip("kind-two-frames.ts"), "Done") << rates[i] << ": " << Builder.LastJob().FailText;
        const std::string reference = (Work / ("reference" + std::to_string(i) + ".mp4")).string();
        Capture("ffmpeg -v error -nostdin -y -i " + ShellQuote(Fixture("kind-two-frames.ts")) + " -r " +
                rates[i].substr(0, rates[i].find(' ')) + " -c:v mpeg4 -an " + ShellQuote(reference));
        EXPECT_GE(PictureCount(OutputPath()), std::max(PictureCount(reference), 1)) << rates[i];
    }
}

INSTANTIATE_TEST_SUITE_P(Profiles, TinyClip,
                         ::testing::Values("MP4 - MPEG4 Video (*.mp4)", "3GP - Mobile Video Format (*.3gp)"),
                         [](const auto& info) { return std::string(info.index == 0 ? "MP4" : "3GP"); });

}  // namespace
}  // namespace tavrin::test
