// Settings tables of the BlackBerry profiles. None of them touches channels or aspect.
#include "catalogue/FillTables.h"
#include "catalogue/SharedLists.h"

namespace tavrin {

namespace {

constexpr std::string_view kMPEG4[] = {"MPEG4"};
constexpr std::string_view kH263[] = {"H263"};
constexpr std::string_view kMPEG4H263[] = {"MPEG4", "H263"};
constexpr std::string_view kAAC[] = {"mpeg4aac"};
constexpr std::string_view kMP3PCM[] = {"mp3", "pcm_s16le"};
constexpr std::string_view kAMRAAC[] = {"amr_nb", "mpeg4aac"};
constexpr std::string_view kAMR[] = {"amr_nb"};

constexpr std::string_view kSizes[] = {"176 x 144", "240 x 180", "320 x 240"};
constexpr std::string_view kSize176x144[] = {"176 x 144"};
constexpr std::string_view kMPEG4Bitrates[] = {"80 Kbps",  "128 Kbps", "200 Kbps",
                                               "256 Kbps", "300 Kbps", "512 Kbps"};
constexpr std::string_view kAVIBitrates[] = {"80 Kbps",  "120 Kbps", "200 Kbps",
                                             "256 Kbps", "300 Kbps", "512 Kbps"};
constexpr std::string_view k3GPBitrates[] = {"40 Kbps",  "80 Kbps",  "120 Kbps",
                                             "128 Kbps", "256 Kbps", "512 Kbps"};
constexpr std::string_view kFrameRates[] = {"11 fps", "15 fps", "20 fps", "24 fps", "25 fps"};
constexpr std::string_view k3GPFrameRates[] = {"Auto",   "11 fps", "15 fps",
                                               "20 fps", "24 fps", "25 fps"};
constexpr std::string_view kMPEG4AudioBitrates[] = {"40 Kbps", "48 Kbps", "64 Kbps",
                                                    "80 Kbps", "96 Kbps", "112 Kbps"};
constexpr std::string_view kAMRBitrates[] = {"5150 bps", "5900 bps",  "6700 bps", "7400 bps",
                                             "7950 bps", "10200 bps", "12200 bps"};
constexpr std::string_view kAMRSampleRates[] = {"8000  Hz", "16000 Hz"};

}  // namespace

constinit const TProfileSettings kFillBlackBerryMPEG4{
    .VideoCodec = Fill(kMPEG4),
    .AudioCodec = Fill(kAAC),
    .VideoSize = Fill(kSizes, "320 x 240"),
    .VideoBitrate = Fill(kMPEG4Bitrates, "300 Kbps"),
    .FrameRate = Fill(kFrameRates, "24 fps"),
    .AudioBitrate = Fill(kMPEG4AudioBitrates, "80 Kbps"),
    .SampleRate = Fill(kListR, "44100 Hz")};

constinit const TProfileSettings kFillBlackBerryAVI{
    .VideoCodec = Fill(kH263),
    .AudioCodec = Fill(kMP3PCM),
    .VideoSize = Fill(kSize176x144),
    .VideoBitrate = Fill(kAVIBitrates, "300 Kbps"),
    .FrameRate = Fill(kFrameRates, "24 fps"),
    .AudioBitrate = Fill(kListA, "64 Kbps"),
    .SampleRate = Fill(kListR, "44100 Hz")};

constinit const TProfileSettings kFillBlackBerry3GP{
    .VideoCodec = Fill(kMPEG4H263),
    .AudioCodec = Fill(kAMRAAC),
    .VideoSize = Fill(kSizes, "176 x 144"),
    .VideoBitrate = Fill(k3GPBitrates, "128 Kbps"),
    .FrameRate = Fill(k3GPFrameRates, "15 fps"),
    .AudioBitrate = Fill(kListB, "4750 bps"),
    .SampleRate = Fill(kAMRSampleRates, "8000  Hz")};

constinit const TProfileSettings kFillBlackBerryAMR{
    .VideoCodec = Cleared(),
    .AudioCodec = Fill(kAMR),
    .VideoSize = Cleared(),
    .VideoBitrate = Cleared(),
    .FrameRate = Cleared(),
    .AudioBitrate = Fill(kAMRBitrates, "5900 bps"),
    .SampleRate = Fill(kAMRSampleRates, "8000  Hz")};

}  // namespace tavrin
