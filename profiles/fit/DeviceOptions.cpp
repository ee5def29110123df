#include "fit/DeviceOptions.h"

#include "fit/CodecLevels.h"

#include <algorithm>

namespace tavrin {

namespace {

// The MPEG-4 encoder signals its profile from the generic profile number (0 is Simple
// Profile) and the audio encoder reads the same number (1 is AAC Low Complexity), so each
// goes to its own kind with the "v" and "a" prefixes. x264's profile is a name of its own.
constexpr int kMPEG4SimpleProfile = 0;
constexpr int kAACLowComplexity = 1;

std::string Kbps(int kbps)
{
    return std::to_string(kbps) + " Kbps";
}

std::string BeyondNote(std::string_view what, const std::string& chosen,
                       const std::string& limit, TDevice device, const std::string& where = "")
{
    return std::string(what) + " " + chosen + " is above the " + limit + " the " +
           std::string(DeviceName(device)) + " plays" + where + "; kept as chosen.";
}

void AddLine(std::string& lines, const std::string& name, const std::string& value)
{
    if (!lines.empty() && lines.back() != '\n')
        lines += '\n';
    lines += name + "=" + value;
}

void AddLine(std::string& lines, const std::string& name, int64_t value)
{
    AddLine(lines, name, std::to_string(value));
}

// The notes for a picture size, rate and bit rate beyond the row; returns the peak the
// stream may reach: the device's, or the user's bit rate when that is higher.
int CheckVideoChoices(const TVideoLimits& row, TFrameSize frame, double fps, int kbps,
                      std::vector<std::string>& notes)
{
    if (MacroblockCount(frame.Width, frame.Height) > row.MaxMacroblocks)
        notes.push_back(BeyondNote("Frame size", FrameSizeText(frame), std::string(row.SizeText),
                                   row.Device));
    if (row.MaxFps > 0 && fps > row.MaxFps + 0.01)
        notes.push_back(BeyondNote("Frame rate", FpsText(fps) + " fps", FpsText(row.MaxFps) + " fps",
                                   row.Device, " at " + FrameSizeText(frame)));
    if (row.PeakKbps > 0 && kbps > row.PeakKbps) {
        notes.push_back(BeyondNote("Video bit rate", Kbps(kbps), Kbps(row.PeakKbps), row.Device));
        return kbps;
    }
    return row.PeakKbps;
}

// The level the stream fits in; the largest level when none holds it.
TCodecLevel LevelFor(std::span<const TCodecLevel> levels, TFrameSize frame, double fps, int kbps)
{
    return SmallestLevel(levels, frame.Width, frame.Height, fps, kbps).value_or(levels.back());
}

void AddH264Lines(const TVideoLimits& row, const TCodecLevel& level, std::string& lines)
{
    AddLine(lines, "profile", std::string(row.Profile));
    AddLine(lines, "vlevel", level.Code);
    AddLine(lines, "coder", row.Cabac ? "cabac" : "cavlc");
    AddLine(lines, "refs", row.MaxRefs);
    AddLine(lines, "bf", row.MaxBFrames);
    AddLine(lines, "b-pyramid", "none");
    AddLine(lines, "weightp", "none");
    AddLine(lines, "weightb", "0");
}

// Even held to one second of tolerance the MPEG-4 encoder overshoots its average by a few
// per cent, so a rate at the very peak the level allows (a phone's 128 Kbit/s) empties the
// decoder's buffer after some minutes. Such a rate is aimed a little below the peak.
constexpr int kMPEG4AimPercent = 95;

void AimMPEG4BelowPeak(int peakKbps, TOutputOptions& options, std::vector<std::string>& notes)
{
    const int64_t aim = int64_t{peakKbps} * 1000 * kMPEG4AimPercent / 100;
    if (peakKbps <= 0 || options.VideoBitrate <= aim || options.VideoBitrate > int64_t{peakKbps} * 1000)
        return;
    options.VideoBitrate = static_cast<int>(aim);
    notes.push_back("Video bit rate aimed at " + Kbps(static_cast<int>(aim / 1000)) + ", below the " +
                    Kbps(peakKbps) + " peak the stream must keep to.");
}

// The MPEG-4 encoder corrects its rate only by the bits it is off beyond its tolerance,
// 4 Mbit unless told: at a phone's 128 Kbit/s that is half a minute of drift, and files came
// out 15 to 45 % above the chosen rate (beyond the level's peak for 3GP). One second of the
// chosen rate keeps the average within about 8 %.
void AddMPEG4Lines(const TCodecLevel& level, int bitrate, std::string& lines)
{
    AddLine(lines, "vprofile", kMPEG4SimpleProfile);
    AddLine(lines, "vlevel", level.Code);
    AddLine(lines, "bf", 0);
    if (bitrate > 0)
        AddLine(lines, "bt", bitrate);
}

}  // namespace

std::optional<TVideoFamily> VideoFamilyOf(std::string_view videoEncoder)
{
    if (videoEncoder == "libx264")
        return TVideoFamily::H264;
    if (videoEncoder == "mpeg4")
        return TVideoFamily::MPEG4;
    return std::nullopt;
}

void ApplyDeviceVideoLimits(TDevice device, TFrameSize frame, double fps,
                            TOutputOptions& options, std::vector<std::string>& notes)
{
    const std::optional<TVideoFamily> family = VideoFamilyOf(options.VideoCodec);
    if (!family)
        return;
    const TVideoLimits* row =
        VideoLimitsFor(device, *family, MacroblockCount(frame.Width, frame.Height));
    if (!row)
        return;
    const int kbps = std::max(options.VideoBitrate, 0) / 1000;
    const int devicePeak = CheckVideoChoices(*row, frame, fps, kbps, notes);
    const bool h264 = *family == TVideoFamily::H264;
    const TCodecLevel level =
        LevelFor(h264 ? H264Levels() : MPEG4SimpleLevels(), frame, fps, kbps);
    if (row->MaxLevel > 0 && level.Code > row->MaxLevel && notes.empty())
        notes.push_back("The picture needs level " + std::string(level.Name) +
                        ", above what the " + std::string(DeviceName(device)) + " plays.");

    const int peak = devicePeak > 0 ? std::min(devicePeak, level.MaxKbps) : level.MaxKbps;
    const int buffer = row->BufferKbit > 0 ? std::min(row->BufferKbit, level.MaxBufferKbit)
                                           : level.MaxBufferKbit;
    std::string& lines = options.ExtraOptions;
    if (h264) {
        AddH264Lines(*row, level, lines);
    } else {
        if (devicePeak == row->PeakKbps)  // a rate beyond the device is kept as chosen
            AimMPEG4BelowPeak(peak, options, notes);
        AddMPEG4Lines(level, options.VideoBitrate, lines);
    }
    AddLine(lines, "maxrate", int64_t{peak} * 1000);
    AddLine(lines, "bufsize", int64_t{buffer} * 1000);
}

void ApplyDeviceAudioLimits(TDevice device, TOutputOptions& options,
                            std::vector<std::string>& notes)
{
    const TAudioLimits* limits = AudioLimitsOf(device);
    if (!limits || options.DisableAudio)
        return;
    if (options.AudioChannels <= 0 || options.AudioChannels > limits->MaxChannels)
        options.AudioChannels = limits->MaxChannels;
    const int kbps = options.AudioBitrate / 1000;
    if (limits->MaxKbps > 0 && kbps > limits->MaxKbps)
        notes.push_back(BeyondNote("Audio bit rate", Kbps(kbps), Kbps(limits->MaxKbps), device));
    if (limits->MaxSampleRate > 0 && options.AudioSampleRate > limits->MaxSampleRate)
        notes.push_back(BeyondNote("Sample rate", std::to_string(options.AudioSampleRate) + " Hz",
                                   std::to_string(limits->MaxSampleRate) + " Hz", device));
    if (options.AudioCodec == "libfaac")
        AddLine(options.ExtraOptions, "aprofile", kAACLowComplexity);
}

}  // namespace tavrin
