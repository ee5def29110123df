// Settings tables of the iPod, iPod Touch, iPhone, Apple TV and Apple TV H264 profiles.
#include "catalogue/FillTables.h"
#include "catalogue/SharedLists.h"

namespace tavrin {

namespace {

constexpr std::string_view kMPEG4H264[] = {"MPEG4", "H264"};
constexpr std::string_view kMPEG4[] = {"MPEG4"};
constexpr std::string_view kH264[] = {"H264"};
constexpr std::string_view kAAC[] = {"mpeg4aac"};

constexpr std::string_view kSize320x240[] = {"320 x 240"};
constexpr std::string_view kSize480x320[] = {"480 x 320"};
constexpr std::string_view kSize640x480[] = {"640 x 480"};
constexpr std::string_view kSize720x406[] = {"720 x 406"};
constexpr std::string_view kSize720x480[] = {"720 x 480"};
constexpr std::string_view kSize1280x720[] = {"1280 x 720"};

constexpr std::string_view kH264Bitrates[] = {"512 Kbps",  "800 Kbps",  "1200 Kbps",
                                              "1500 Kbps", "2000 Kbps", "2500 Kbps",
                                              "4000 Kbps", "7000 Kbps"};

enum class TSetsStereo { No, Yes };

// The shared step of the Apple devices: list VA, list A, list F at "Auto", list R at
// "44100 Hz"; some members also select "Stereo" and "Original".
constexpr TProfileSettings AppleDevice(std::span<const std::string_view> codecs,
                                       std::span<const std::string_view> size,
                                       std::string_view video, std::string_view audio,
                                       TSetsStereo stereo)
{
    const bool selects = stereo == TSetsStereo::Yes;
    return {.VideoCodec = Fill(codecs),
            .AudioCodec = Fill(kAAC),
            .VideoSize = Fill(size),
            .VideoBitrate = Fill(kListVA, video),
            .FrameRate = Fill(kListF, "Auto"),
            .AudioBitrate = Fill(kListA, audio),
            .SampleRate = Fill(kListR, "44100 Hz"),
            .Channels = selects ? Select(kStereo) : Keep(),
            .AspectRatio = selects ? Select(kOriginalAspect) : Keep()};
}

constexpr TProfileSettings AppleTVH264(std::span<const std::string_view> size,
                                       std::string_view video, std::string_view frameRate)
{
    return {.VideoCodec = Fill(kH264),
            .AudioCodec = Fill(kAAC),
            .VideoSize = Fill(size),
            .VideoBitrate = Fill(kH264Bitrates, video),
            .FrameRate = Fill(kListF, frameRate),
            .AudioBitrate = Fill(kListA, "64 Kbps"),
            .SampleRate = Fill(kListR, "48000 Hz"),
            .Channels = Select(kStereo),
            .AspectRatio = Select(kOriginalAspect)};
}

using enum TSetsStereo;

}  // namespace

constinit const TProfileSettings kFillIPodNormal =
    AppleDevice(kMPEG4H264, kSize320x240, "512 Kbps", "64 Kbps", No);
constinit const TProfileSettings kFillIPodExtra =
    AppleDevice(kMPEG4H264, kSize640x480, "1500 Kbps", "64 Kbps", No);
constinit const TProfileSettings kFillIPodWideScreen =
    AppleDevice(kMPEG4H264, kSize720x406, "1500 Kbps", "128 Kbps", Yes);

constinit const TProfileSettings kFillIPodTouchNormal =
    AppleDevice(kMPEG4, kSize480x320, "1200 Kbps", "80 Kbps", No);
constinit const TProfileSettings kFillIPodTouchExtra =
    AppleDevice(kMPEG4, kSize640x480, "1500 Kbps", "80 Kbps", No);
constinit const TProfileSettings kFillIPodTouchWideScreen =
    AppleDevice(kMPEG4, kSize720x406, "1500 Kbps", "128 Kbps", Yes);

constinit const TProfileSettings kFillIPhone480x320 =
    AppleDevice(kMPEG4, kSize480x320, "1200 Kbps", "80 Kbps", Yes);
constinit const TProfileSettings kFillIPhone640x480 =
    AppleDevice(kMPEG4, kSize640x480, "1500 Kbps", "128 Kbps", Yes);
constinit const TProfileSettings kFillIPhone720x480 =
    AppleDevice(kMPEG4, kSize720x480, "1500 Kbps", "128 Kbps", Yes);

constinit const TProfileSettings kFillAppleTVGood =
    AppleDevice(kMPEG4, kSize640x480, "1500 Kbps", "128 Kbps", Yes);
constinit const TProfileSettings kFillAppleTVNormal =
    AppleDevice(kMPEG4, kSize640x480, "1200 Kbps", "96 Kbps", Yes);

constinit const TProfileSettings kFillAppleTVH264_320x240 =
    AppleTVH264(kSize320x240, "1200 Kbps", "29.97 fps");
constinit const TProfileSettings kFillAppleTVH264_640x480 =
    AppleTVH264(kSize640x480, "2000 Kbps", "29.97 fps");
constinit const TProfileSettings kFillAppleTVH264_1280x720 =
    AppleTVH264(kSize1280x720, "2500 Kbps", "23.975 fps");

}  // namespace tavrin
