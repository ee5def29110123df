#include "catalogue/OutputSettings.h"

#include "catalogue/CodecNames.h"
#include "catalogue/SettingText.h"

#include <array>
#include <string>

namespace tavrin {

namespace {

constexpr std::array<std::string_view, 11> kAudioOnlyKeys{
    "aac", "ac3", "au", "mp2", "mp3", "wav", "wma", "ra", "m4a", "ogg", "amr"};

// "512 Kbps" -> 512000.
int32_t KbpsValue(const TCombo& combo)
{
    return SettingInteger(NumberBeforeBlank(combo.Text()) + "000");
}

// "44100 Hz" -> 44100, "7400 bps" -> 7400.
int32_t PlainValue(const TCombo& combo)
{
    return SettingInteger(NumberBeforeBlank(combo.Text()));
}

// The size lists start with an entry that means "keep the source size": "Original Video
// Size", or "Auto" on some player profiles, which the engine would reject as a size.
bool KeepsSourceSize(const std::string& sizeText)
{
    return sizeText == "Original Video Size" || LowerCase(TrimText(sizeText)) == "auto";
}

// What the Apple and 3GP routines share: bit rates, sample rate, video codec and size.
void MapDeviceVideo(const TProfileControls& controls, TOutputOptions& options)
{
    options.VideoBitrate = KbpsValue(controls.ComboVideoBitrate);
    options.AudioSampleRate = PlainValue(controls.ComboSamplingRate);
    options.VideoCodec = DeviceVideoEncoderName(LowerCase(controls.ComboVideoCodec.Text()));
    options.FrameSize = NormalizeFrameSize(controls.ComboVideoSize.Text());
}

}  // namespace

bool IsAudioOnlyKey(std::string_view key)
{
    const std::string lower = LowerCase(key);
    for (std::string_view audioKey : kAudioOnlyKeys)
        if (lower == audioKey)
            return true;
    return false;
}

void MapCommonSettings(const TProfileControls& controls, std::string_view key,
                       TOutputOptions& options)
{
    options.VideoBitrate = KbpsValue(controls.ComboVideoBitrate);
    const TCombo& audioBitrate = controls.ComboAudioBitrate;
    options.AudioBitrate =
        Contains(audioBitrate.Text(), "Kbps") ? KbpsValue(audioBitrate) : PlainValue(audioBitrate);
    options.AudioSampleRate = PlainValue(controls.ComboSamplingRate);
    options.VideoCodec = VideoEncoderName(LowerCase(controls.ComboVideoCodec.Text()));
    options.AudioCodec = AudioEncoderName(LowerCase(controls.ComboAudioCodec.Text()));

    const std::string size = controls.ComboVideoSize.Text();
    if (!KeepsSourceSize(size))
        options.FrameSize = NormalizeFrameSize(size);
    const std::string aspect = controls.ComboAspectRatio.Text();
    if (aspect != "Original")
        options.AspectRatio = aspect;

    options.AudioChannels = controls.ComboAudioChannels.Text() == "Stereo" ? 2 : 1;
    if (key == "3GP" || key == "3G2")
        options.AudioChannels = 1;
    if (IsAudioOnlyKey(key))
        options.DisableVideo = true;
}

void MapAppleSettings(const TProfileControls& controls, std::string_view,
                      TOutputOptions& options)
{
    MapDeviceVideo(controls, options);
    options.AudioBitrate = KbpsValue(controls.ComboAudioBitrate);
    options.AudioCodec = "libfaac";
    // Left unset, the engine would keep a 5.1 source's six channels, which no Apple device
    // plays: the channels combo decides, as on the other profiles.
    options.AudioChannels = controls.ComboAudioChannels.Text() == "Mono" ? 1 : 2;
}

void Map3GPSettings(const TProfileControls& controls, std::string_view, TOutputOptions& options)
{
    MapDeviceVideo(controls, options);
    options.AudioBitrate = PlainValue(controls.ComboAudioBitrate);
    options.AudioCodec = "libamr_nb";
    options.AudioChannels = 1;
}

}  // namespace tavrin
