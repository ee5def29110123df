// Settings tables of the 3GP, AVI, MOV, MP4, MPEG, WMV, RealMedia and ASF profiles.
#include "catalogue/FillTables.h"
#include "catalogue/SharedLists.h"

namespace tavrin {

namespace {

constexpr std::string_view kMPEG4[] = {"MPEG4"};
constexpr std::string_view kMPEG4H264[] = {"MPEG4", "H264"};
constexpr std::string_view kMPEG4H264XVid[] = {"MPEG4", "H264", "XVid"};
constexpr std::string_view kXVID[] = {"XVID"};
constexpr std::string_view kRawVideo[] = {"RAWVIDEO"};
constexpr std::string_view kAAC[] = {"mpeg4aac"};
constexpr std::string_view kMP3[] = {"mp3"};
constexpr std::string_view kAVIAudio[] = {"pcm_s16le", "mp3", "mp2", "ac3"};

constexpr std::string_view k3GPVideo[] = {"MPEG4", "H263", "H264"};
constexpr std::string_view k3GPAudio[] = {"amr_nb", "mpeg4aac"};
constexpr std::string_view k3GPSizes[] = {"128 x 96 (SQCIF)", "160 x 120 (QVGA)",
                                          "176 x 144 (QCIF)", "208 x 176",
                                          "220 x 176",        "320 x 240 (VGA)",
                                          "352 x 288 (CIF)"};
constexpr std::string_view k3GPBitrates[] = {"48 Kbps",  "64 Kbps",  "96 Kbps",
                                             "128 Kbps", "256 Kbps", "512 Kbps"};
constexpr std::string_view k3GPFrameRates[] = {"Auto", "11 fps", "14.985 fps", "15 fps"};
constexpr std::string_view k3GPSampleRates[] = {"8000  bps", "16000 bps"};

constexpr std::string_view kRMVideo[] = {"RV10", "RV20"};
constexpr std::string_view kAC3[] = {"ac3"};
constexpr std::string_view kRMBitrates[] = {"384  Kbps", "400  Kbps", "600  Kbps",
                                            "1200 Kbps", "1800 Kbps", "2200 Kbps",
                                            "2600 Kbps", "3000 Kbps"};
constexpr std::string_view kASFVideo[] = {"MSMPEG4"};
constexpr std::string_view kASFBitrates[] = {"512 Kbps",  "768 Kbps",  "1200 Kbps",
                                             "1500 Kbps", "2000 Kbps", "2500 Kbps",
                                             "3000 Kbps"};

constexpr std::string_view kMPEG1Video[] = {"MPEG1VIDEO"};
constexpr std::string_view kMPEG2Video[] = {"MPEG2VIDEO"};
constexpr std::string_view kMP2[] = {"mp2"};
constexpr std::string_view kMP2AC3[] = {"mp2", "ac3"};
constexpr std::string_view kWMV2[] = {"WMV2"};
constexpr std::string_view kWMAv2[] = {"wmav2"};

// AVI members differ only in their codec lists.
constexpr TProfileSettings AVI(std::span<const std::string_view> video,
                               std::span<const std::string_view> audio)
{
    return StereoOriginal({.VideoCodec = Fill(video),
                           .AudioCodec = Fill(audio),
                           .VideoSize = Fill(kListS, "Original Video Size"),
                           .VideoBitrate = Fill(kListV2, "1200 Kbps"),
                           .FrameRate = Fill(kListF, "Auto"),
                           .AudioBitrate = Fill(kListA, "128 Kbps"),
                           .SampleRate = Fill(kListR, "48000 Hz")});
}

// MPEG-1 and MPEG-2 differ in codec lists and the video bit-rate default.
constexpr TProfileSettings MPEG(std::span<const std::string_view> video,
                                std::span<const std::string_view> audio,
                                std::string_view videoBitrate)
{
    return StereoOriginal({.VideoCodec = Fill(video),
                           .AudioCodec = Fill(audio),
                           .VideoSize = Fill(kListS, "320 x 240 (VGA)"),
                           .VideoBitrate = Fill(kListV, videoBitrate),
                           .FrameRate = Fill(kListF, "25.0 fps"),
                           .AudioBitrate = Fill(kListA, "192 Kbps"),
                           .SampleRate = Fill(kListR, "44100 Hz")});
}

// MOV and MP4: list S from the source size, list V at "1200 Kbps", "44100 Hz".
constexpr TProfileSettings QuickTime(std::span<const std::string_view> video)
{
    return StereoOriginal({.VideoCodec = Fill(video),
                           .AudioCodec = Fill(kAAC),
                           .VideoSize = Fill(kListS, "Original Video Size"),
                           .VideoBitrate = Fill(kListV, "1200 Kbps"),
                           .FrameRate = Fill(kListF, "Auto"),
                           .AudioBitrate = Fill(kListA, "128 Kbps"),
                           .SampleRate = Fill(kListR, "44100 Hz")});
}

}  // namespace

// Mono is the only choice the AMR encoder takes.
constinit const TProfileSettings kFill3GP{.VideoCodec = Fill(k3GPVideo),
                                          .AudioCodec = Fill(k3GPAudio),
                                          .VideoSize = Fill(k3GPSizes, "176 x 144 (QCIF)"),
                                          .VideoBitrate = Fill(k3GPBitrates, "128 Kbps"),
                                          .FrameRate = Fill(k3GPFrameRates, "Auto"),
                                          .AudioBitrate = Fill(kListB, "7400 bps"),
                                          .SampleRate = Fill(k3GPSampleRates, "8000  bps"),
                                          .Channels = Select(kMono)};

constinit const TProfileSettings kFillAVINormal = AVI(kMPEG4H264, kAVIAudio);
constinit const TProfileSettings kFillAVIDivX = AVI(kMPEG4, kMP3);
constinit const TProfileSettings kFillAVIXviD = AVI(kXVID, kMP3);
constinit const TProfileSettings kFillAVIUncompress = AVI(kRawVideo, kAVIAudio);

constinit const TProfileSettings kFillMOV = QuickTime(kMPEG4);
constinit const TProfileSettings kFillMP4 = QuickTime(kMPEG4H264XVid);

constinit const TProfileSettings kFillMPEG1 = MPEG(kMPEG1Video, kMP2, "1600 Kbps");
constinit const TProfileSettings kFillMPEG2 = MPEG(kMPEG2Video, kMP2AC3, "2000 Kbps");

constinit const TProfileSettings kFillWMV =
    StereoOriginal({.VideoCodec = Fill(kWMV2),
                    .AudioCodec = Fill(kWMAv2),
                    .VideoSize = Fill(kListS, "320 x 240 (VGA)"),
                    .VideoBitrate = Fill(kListV, "1200 Kbps"),
                    .FrameRate = Fill(kListF, "Auto"),
                    .AudioBitrate = Fill(kListA, "128 Kbps"),
                    .SampleRate = Fill(kListR, "48000 Hz")});

constinit const TProfileSettings kFillRM =
    StereoOriginal({.VideoCodec = Fill(kRMVideo),
                    .AudioCodec = Fill(kAC3),
                    .VideoSize = Fill(kListS, "320 x 240 (VGA)"),
                    .VideoBitrate = Fill(kRMBitrates, "384  Kbps"),
                    .FrameRate = Fill(kListF, "Auto"),
                    .AudioBitrate = Fill(kListA, "128 Kbps"),
                    .SampleRate = Fill(kListR2, "48000 Hz")});

// The default is the item the general video list holds at the same position as the one
// this profile was meant to select; this shorter list has no item at that position.
constinit const TProfileSettings kFillASF =
    StereoOriginal({.VideoCodec = Fill(kASFVideo),
                    .AudioCodec = Fill(kMP3),
                    .VideoSize = Fill(kListS, "Original Video Size"),
                    .VideoBitrate = Fill(kASFBitrates, "1200 Kbps"),
                    .FrameRate = Fill(kListF, "Auto"),
                    .AudioBitrate = Fill(kListA, "128 Kbps"),
                    .SampleRate = Fill(kListR, "48000 Hz")});

}  // namespace tavrin
