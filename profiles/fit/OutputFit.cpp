#include "fit/OutputFit.h"

#include "fit/DeviceOptions.h"
#include "fit/EncoderValues.h"
#include "fit/LetterBox.h"
#include "catalogue/SettingText.h"

#include <algorithm>
#include <optional>

namespace tavrin {

namespace {

bool HasVideo(const TOutputOptions& options)
{
    return !options.DisableVideo && !options.VideoCodec.empty();
}

bool HasAudio(const TOutputOptions& options)
{
    return !options.DisableAudio && !options.AudioCodec.empty();
}

std::string NotPossibleNote(std::string_view what, const std::string& chosen,
                            std::string_view encoder, const std::string& used)
{
    return std::string(what) + " " + chosen + " is not possible with " + EncoderLabel(encoder) +
           "; converting at " + used + ".";
}

std::string AudioRateText(std::string_view encoder, int bitrate)
{
    return encoder == "libamr_nb" ? std::to_string(bitrate) + " bps"
                                  : std::to_string(bitrate / 1000) + " Kbps";
}

// The output picture: the chosen size, or the source's when the size is left to it.
std::optional<TFrameSize> OutputFrame(const TOutputOptions& options, const TFitRequest& request)
{
    if (const std::optional<TFrameSize> size = ParseFrameSize(options.FrameSize))
        return size;
    return ParseFrameSize(std::string(TrimText(request.VideoSizeCell)));
}

void FitAudioToEncoder(TOutputOptions& options, std::vector<std::string>& notes)
{
    const std::string& encoder = options.AudioCodec;
    if (options.AudioSampleRate > 0)
        if (const std::optional<int> rate = NearestSampleRate(encoder, options.AudioSampleRate)) {
            notes.push_back(NotPossibleNote("Sample rate", std::to_string(options.AudioSampleRate) + " Hz",
                                            encoder, std::to_string(*rate) + " Hz"));
            options.AudioSampleRate = *rate;
        }
    if (options.AudioBitrate > 0)
        if (const std::optional<int> bitrate =
                NearestAudioBitrate(encoder, options.AudioSampleRate, options.AudioBitrate)) {
            const std::string at = options.AudioSampleRate > 0
                                       ? " at " + std::to_string(options.AudioSampleRate) + " Hz"
                                       : "";
            notes.push_back(NotPossibleNote("Audio bit rate", AudioRateText(encoder, options.AudioBitrate),
                                            std::string(encoder) + at, AudioRateText(encoder, *bitrate)));
            options.AudioBitrate = *bitrate;
        }
}

void FitVideoToEncoder(TOutputOptions& options, const TFitRequest& request,
                       std::vector<std::string>& notes)
{
    const std::string& encoder = options.VideoCodec;
    if (const std::optional<TFrameSize> frame = OutputFrame(options, request))
        if (const std::optional<TFrameSize> size = NearestFrameSize(encoder, *frame)) {
            notes.push_back(NotPossibleNote("Frame size", FrameSizeText(*frame), encoder,
                                            FrameSizeText(*size)));
            options.FrameSize = FrameSizeText(*size);
        }
    if (const std::optional<TFrameRate> fps = ParseFrameRate(options.FrameRate))
        if (const std::optional<TFrameRate> rate = NearestFrameRate(encoder, fps->Value())) {
            notes.push_back(NotPossibleNote("Frame rate", FpsText(fps->Value()) + " fps", encoder,
                                            FpsText(rate->Value()) + " fps"));
            options.FrameRate = FrameRateOptionText(*rate);
        }
}

// The shape the picture is shown at: the aspect choice, or the source's own.
double PictureAspect(const TFitRequest& request)
{
    switch (request.AspectIndex) {
    case 1:
        return 4.0 / 3.0;
    case 2:
        return 16.0 / 9.0;
    default:
        break;
    }
    const std::optional<TFrameSize> source = ParseFrameSize(std::string(TrimText(request.VideoSizeCell)));
    return source ? static_cast<double>(source->Width) / source->Height : 4.0 / 3.0;
}

void LetterBoxPicture(TOutputOptions& options, const TFitRequest& request)
{
    const std::optional<TFrameSize> frame = OutputFrame(options, request);
    if (!frame)
        return;
    ApplyLetterBox(options, *frame, FitLetterBox(*frame, PictureAspect(request)));
}

// Every player and device these files are made for decodes 8-bit 4:2:0 pictures at studio
// range; a camera's 4:2:2, a screen recording's 4:4:4 or a phone's 10-bit pictures would
// otherwise reach encoders that keep them (and profiles that then refuse them).
void AskForPlayablePictures(TOutputOptions& options)
{
    std::string& lines = options.ExtraOptions;
    if (!lines.empty() && lines.back() != '\n')
        lines += '\n';
    lines += "pix_fmt=yuv420p";
}

void FitToDevice(TDevice device, TOutputOptions& options, const TFitRequest& request,
                 std::vector<std::string>& notes)
{
    if (HasVideo(options)) {
        const std::optional<TFrameSize> picture = OutputFrame(options, request);
        const std::optional<TFrameRate> fps = ParseFrameRate(options.FrameRate);
        if (picture && fps) {
            const TFrameSize frame{picture->Width + std::max(options.PadLeft, 0) + std::max(options.PadRight, 0),
                                   picture->Height + std::max(options.PadTop, 0) + std::max(options.PadBottom, 0)};
            ApplyDeviceVideoLimits(device, frame, fps->Value(), options, notes);
        }
    }
    if (HasAudio(options))
        ApplyDeviceAudioLimits(device, options, notes);
}

}  // namespace

std::vector<std::string> FitOutputOptions(const TFitRequest& request, TOutputOptions& options)
{
    std::vector<std::string> notes;
    if (HasAudio(options))
        FitAudioToEncoder(options, notes);
    if (HasVideo(options)) {
        FitVideoToEncoder(options, request, notes);
        if (request.LetterBox)
            LetterBoxPicture(options, request);
        AskForPlayablePictures(options);
    }
    const TDevice device = DeviceOfKind(request.Kind);
    if (device != TDevice::None)
        FitToDevice(device, options, request, notes);
    return notes;
}

}  // namespace tavrin
