// Settings tables of the Zune, PSP, PS3, Archos, Creative Zen, iRiver and BlackBerry profiles.
#include "catalogue/FillTables.h"
#include "catalogue/SharedLists.h"

namespace tavrin {

namespace {

constexpr std::string_view kMPEG4[] = {"MPEG4"};
constexpr std::string_view kMPEG4H264[] = {"MPEG4", "H264"};
constexpr std::string_view kMPEG4H264XVID[] = {"MPEG4", "H264", "XVID"};
constexpr std::string_view kH264[] = {"H264"};
constexpr std::string_view kWMV2[] = {"WMV2"};
constexpr std::string_view kAAC[] = {"mpeg4aac"};
constexpr std::string_view kWMAv2[] = {"wmav2"};
constexpr std::string_view k2997[] = {"29.97 fps"};

constexpr std::string_view kZuneSizes[] = {"320 x 240 ", "640 x 480"};
constexpr std::string_view kZuneBitrates[] = {"256 Kbps",  "512 Kbps",  "768 Kbps",
                                              "1200 Kbps", "1500 Kbps", "2000 Kbps"};

constexpr std::string_view kPSPSizes[] = {"160 x 112", "320 x 240", "368 x 208", "480 x 272"};
constexpr std::string_view kPSPBitrates[] = {"128 Kbps", "216 Kbps", "384 Kbps", "512 Kbps",
                                             "768 Kbps"};
constexpr std::string_view kPSPFrameRates[] = {"14.985 fps", "29.97 fps"};
constexpr std::string_view kPSPAudioBitrates[] = {"32 Kbps", "48 Kbps",  "64 Kbps",
                                                  "96 Kbps", "128 Kbps", "160 Kbps"};
constexpr std::string_view kPSPSampleRate[] = {"24000 Hz"};

constexpr std::string_view kPS3Sizes[] = {"640 x 480", "720 x 480", "720 x 576"};
constexpr std::string_view kPS3Size720P[] = {"1280 x 720"};
constexpr std::string_view kPS3Size1080P[] = {"1920 x 1072"};
constexpr std::string_view kPS3Bitrates[] = {"1200 Kbps", "1500 Kbps", "2000 Kbps",
                                             "2500 Kbps", "3000 Kbps"};

constexpr std::string_view kPlayerAudio[] = {"mp3", "mp2"};
constexpr std::string_view kPlayerSizes[] = {"Auto",      "160 x 120", "320 x 240",
                                             "480 x 272", "720 x 480", "640 x 480"};
constexpr std::string_view kPlayerBitrates[] = {"800 Kbps", "1200 Kbps", "1500 Kbps",
                                                "2000 Kbps", "2500 Kbps"};

// Zune members share the size and bit-rate lists. The MPEG-4 members offer one frame rate,
// "29.97 fps", and select it: the position they were meant to select (that of "29.97 fps"
// in the general frame-rate list) lies beyond their one-item list.
constexpr TProfileSettings Zune(std::span<const std::string_view> video,
                                std::span<const std::string_view> audio,
                                std::string_view bitrate,
                                std::span<const std::string_view> frameRates,
                                std::string_view sampleRate)
{
    return StereoOriginal({.VideoCodec = Fill(video),
                           .AudioCodec = Fill(audio),
                           .VideoSize = Fill(kZuneSizes),
                           .VideoBitrate = Fill(kZuneBitrates, bitrate),
                           .FrameRate = Fill(frameRates),
                           .AudioBitrate = Fill(kListA, "128 Kbps"),
                           .SampleRate = Fill(kListR2, sampleRate)});
}

constexpr TProfileSettings PSP(std::string_view size, std::string_view bitrate)
{
    return StereoOriginal({.VideoCodec = Fill(kMPEG4H264XVID),
                           .AudioCodec = Fill(kAAC),
                           .VideoSize = Fill(kPSPSizes, size),
                           .VideoBitrate = Fill(kPSPBitrates, bitrate),
                           .FrameRate = Fill(kPSPFrameRates, "29.97 fps"),
                           .AudioBitrate = Fill(kPSPAudioBitrates, "64 Kbps"),
                           .SampleRate = Fill(kPSPSampleRate)});
}

constexpr TProfileSettings PS3(std::span<const std::string_view> sizes, std::string_view size,
                               std::string_view bitrate)
{
    return StereoOriginal({.VideoCodec = Fill(kH264),
                           .AudioCodec = Fill(kAAC),
                           .VideoSize = Fill(sizes, size),
                           .VideoBitrate = Fill(kPS3Bitrates, bitrate),
                           .FrameRate = Fill(k2997),
                           .AudioBitrate = Fill(kListA, "96 Kbps"),
                           .SampleRate = Fill(kListR2, "44100 Hz")});
}

// Archos, Creative Zen and iRiver players keep the channels and aspect the user had.
constexpr TProfileSettings Player(std::string_view size, std::string_view bitrate)
{
    return {.VideoCodec = Fill(kMPEG4),
            .AudioCodec = Fill(kPlayerAudio),
            .VideoSize = Fill(kPlayerSizes, size),
            .VideoBitrate = Fill(kPlayerBitrates, bitrate),
            .FrameRate = Fill(kListF, "Auto"),
            .AudioBitrate = Fill(kListA, "128 Kbps"),
            .SampleRate = Fill(kListR, "48000 Hz")};
}

}  // namespace

constinit const TProfileSettings kFillZuneMPEG4 =
    Zune(kMPEG4H264, kAAC, "1500 Kbps", k2997, "44100 Hz");
constinit const TProfileSettings kFillZuneWMV =
    Zune(kWMV2, kWMAv2, "1200 Kbps", kListF, "48000 Hz");
constinit const TProfileSettings kFillZuneAVC = Zune(kH264, kAAC, "1500 Kbps", k2997, "44100 Hz");

constinit const TProfileSettings kFillPSPGood = PSP("368 x 208", "768 Kbps");
constinit const TProfileSettings kFillPSPNormal = PSP("368 x 208", "384 Kbps");
constinit const TProfileSettings kFillPSPSmall = PSP("160 x 112", "128 Kbps");

constinit const TProfileSettings kFillPS3_480P = PS3(kPS3Sizes, "720 x 480", "1200 Kbps");
constinit const TProfileSettings kFillPS3_720P = PS3(kPS3Size720P, "1280 x 720", "2000 Kbps");
constinit const TProfileSettings kFillPS3_1080P = PS3(kPS3Size1080P, "1920 x 1072", "2000 Kbps");

constinit const TProfileSettings kFillArchosAV500 = Player("480 x 272", "1500 Kbps");
constinit const TProfileSettings kFillArchosAV700 = Player("720 x 480", "2000 Kbps");
constinit const TProfileSettings kFillPlayer640x480 = Player("640 x 480", "1500 Kbps");

}  // namespace tavrin
