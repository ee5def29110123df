// Settings tables of the audio-only profiles: the video combos are emptied.
#include "catalogue/FillTables.h"
#include "catalogue/SharedLists.h"

namespace tavrin {

namespace {

constexpr std::string_view kAACCodec[] = {"aac"};
constexpr std::string_view kPCMBE[] = {"pcm_s16be"};
constexpr std::string_view kMPEG4AAC[] = {"mpeg4aac"};
constexpr std::string_view kMP3[] = {"mp3"};
constexpr std::string_view kMP2[] = {"mp2"};
constexpr std::string_view kVorbis[] = {"vorbis"};
constexpr std::string_view kAC3[] = {"ac3"};
constexpr std::string_view kPCMLE[] = {"pcm_s16le"};
constexpr std::string_view kWMAv2[] = {"wmav2"};

constexpr TProfileSettings AudioOnly(std::span<const std::string_view> codec,
                                     std::string_view bitrate,
                                     std::span<const std::string_view> sampleRates,
                                     std::string_view sampleRate)
{
    return StereoOriginal({.VideoCodec = Cleared(),
                           .AudioCodec = Fill(codec),
                           .VideoSize = Cleared(),
                           .VideoBitrate = Cleared(),
                           .FrameRate = Cleared(),
                           .AudioBitrate = Fill(kListA, bitrate),
                           .SampleRate = Fill(sampleRates, sampleRate)});
}

}  // namespace

constinit const TProfileSettings kFillAAC = AudioOnly(kAACCodec, "128 Kbps", kListR, "48000 Hz");
constinit const TProfileSettings kFillAU = AudioOnly(kPCMBE, "128 Kbps", kListR, "48000 Hz");
constinit const TProfileSettings kFillM4A = AudioOnly(kMPEG4AAC, "128 Kbps", kListR, "48000 Hz");
constinit const TProfileSettings kFillMP3 = AudioOnly(kMP3, "192 Kbps", kListR, "48000 Hz");
constinit const TProfileSettings kFillMP2 = AudioOnly(kMP2, "224 Kbps", kListR, "48000 Hz");
constinit const TProfileSettings kFillOGG = AudioOnly(kVorbis, "160 Kbps", kListR, "48000 Hz");
constinit const TProfileSettings kFillRA = AudioOnly(kAC3, "128 Kbps", kListR2, "48000 Hz");
constinit const TProfileSettings kFillWAV = AudioOnly(kPCMLE, "128 Kbps", kListR2, "44100 Hz");
constinit const TProfileSettings kFillWMA = AudioOnly(kWMAv2, "128 Kbps", kListR2, "48000 Hz");

}  // namespace tavrin
