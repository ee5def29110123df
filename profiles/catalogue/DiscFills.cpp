// Settings tables of the Flash and disc (VCD, SVCD, DVD) profiles.
#include "catalogue/FillTables.h"
#include "catalogue/SharedLists.h"

namespace tavrin {

namespace {

constexpr std::string_view kFLV[] = {"FLV"};
constexpr std::string_view kMP3[] = {"mp3"};
constexpr std::string_view kFlashSizes[] = {
    "Original Video Size", "128 x 96 (SQCIF)", "160 x 120 (QVGA)", "176 x 144 (QCIF)",
    "320 x 240 (VGA)",     "352 x 240",        "352 x 288 (CIF)",  "480 x 272",
    "640 x 480",           "704 x 576 (4CIF)"};
constexpr std::string_view kFlashFrameRates[] = {
    "Auto",     "8 fps",      "10 fps",  "12 fps",    "14.985 fps", "15.0 fps",
    "20 fps",   "23.975 fps", "25.0 fps", "29.97 fps", "30.0 fps",   "60 fps"};
constexpr std::string_view kFlashSampleRates[] = {"11025 Hz", "22050 Hz", "44100 Hz"};
constexpr std::string_view kSWFBitrates[] = {"800 Kbps", "400 Kbps", "200 Kbps", "128 Kbps",
                                             "100 Kbps"};
constexpr std::string_view kFLVBitrates[] = {"1200 Kbps", "512 Kbps", "368 Kbps",
                                             "200 Kbps", "120 Kbps"};

constexpr std::string_view kMPEG1Video[] = {"MPEG1VIDEO"};
constexpr std::string_view kMPEG2Video[] = {"MPEG2VIDEO"};
constexpr std::string_view kMP2[] = {"mp2"};
constexpr std::string_view kAC3MP2[] = {"ac3", "mp2"};
constexpr std::string_view kDiscSizes[] = {
    "128 x 96 (SQCIF)", "176 x 144 (QCIF)", "352 x 240", "352 x 288 (CIF)",
    "480 x 272",        "480 x 480",        "640 x 480", "704 x 576 (4CIF)"};
constexpr std::string_view kDVDSizes[] = {
    "128 x 96 (SQCIF)", "176 x 144 (QCIF)", "352 x 240",        "352 x 288 (CIF)",
    "480 x 272",        "480 x 480",        "640 x 480",        "704 x 576 (4CIF)",
    "724 x 480",        "724 x 576"};
constexpr std::string_view kDiscFrameRates[] = {
    "23.976 fps [NTSC]", "24 fps", "25 fps [PAL]", "29.97 fps [NTSC]",
    "30.0 fps",          "50 fps", "59.94 fps"};
constexpr std::string_view kVCDBitrate[] = {"1150 Kbps"};
constexpr std::string_view kSVCDBitrate[] = {"2040 Kbps"};
constexpr std::string_view kDVDBitrate[] = {"6000 Kbps"};
constexpr std::string_view k44100Hz[] = {"44100 Hz"};
constexpr std::string_view kDVDSampleRates[] = {"44100 Hz", "48000 Hz", "54000 Hz",
                                                "96000 Hz"};

constexpr TProfileSettings Flash(std::span<const std::string_view> bitrates,
                                 std::string_view bitrate)
{
    return {.VideoCodec = Fill(kFLV),
            .AudioCodec = Fill(kMP3),
            .VideoSize = Fill(kFlashSizes, "Original Video Size"),
            .VideoBitrate = Fill(bitrates, bitrate),
            .FrameRate = Fill(kFlashFrameRates, "15.0 fps"),
            .AudioBitrate = Fill(kListA, "96 Kbps"),
            .SampleRate = Fill(kFlashSampleRates, "44100 Hz")};
}

// Disc profiles keep the channels and aspect the user had.
constexpr TProfileSettings Disc(std::span<const std::string_view> video,
                                std::span<const std::string_view> audio,
                                std::span<const std::string_view> sizes, std::string_view size,
                                std::span<const std::string_view> bitrate,
                                std::span<const std::string_view> sampleRates,
                                std::string_view sampleRate)
{
    return {.VideoCodec = Fill(video),
            .AudioCodec = Fill(audio),
            .VideoSize = Fill(sizes, size),
            .VideoBitrate = Fill(bitrate),
            .FrameRate = Fill(kDiscFrameRates, "29.97 fps [NTSC]"),
            .AudioBitrate = Fill(kListA, "224 Kbps"),
            .SampleRate = Fill(sampleRates, sampleRate)};
}

}  // namespace

constinit const TProfileSettings kFillSWF = StereoOriginal(Flash(kSWFBitrates, "200 Kbps"));
constinit const TProfileSettings kFillFLV = Flash(kFLVBitrates, "368 Kbps");

constinit const TProfileSettings kFillVCD =
    Disc(kMPEG1Video, kMP2, kDiscSizes, "352 x 240", kVCDBitrate, k44100Hz, "44100 Hz");
constinit const TProfileSettings kFillSVCD =
    Disc(kMPEG2Video, kMP2, kDiscSizes, "480 x 480", kSVCDBitrate, k44100Hz, "44100 Hz");
// The size default is the item the general size list holds at the position this profile
// was meant to select; this shorter list has no item at that position.
constinit const TProfileSettings kFillDVD = Disc(kMPEG2Video, kAC3MP2, kDVDSizes,
                                                 "704 x 576 (4CIF)", kDVDBitrate,
                                                 kDVDSampleRates, "48000 Hz");

}  // namespace tavrin
