// The settings records: their fields applied as options, in the order of the records.
#include <cmath>
#include <ctime>

#include "common/FFMpegException.h"
#include "options/FFmpeg.h"
#include "options/OptionHandlers.h"
#include "options/OptionParsing.h"
#include "binding/LibAV.h"

namespace tavrin {
namespace {

using O = TOutputOptions;

// Record fields that go to the generic options when positive.
struct GenericField {
    int32_t O::*field;
    const char* option;
};

constexpr GenericField kAudioGeneric[] = {{&O::AudioBitrate, "ab"}, {&O::AudioBitrateTolerance, "abt"}};
constexpr GenericField kVideoGeneric[] = {{&O::GopSize, "gop"},   {&O::VideoBitrate, "vb"},
                                          {&O::MaxRate, "maxrate"}, {&O::MinRate, "minrate"},
                                          {&O::BitrateTolerance, "bt"}, {&O::BufferSize, "bufsize"}};

// Record fields given as options when not negative.
struct OptionField {
    int32_t O::*field;
    const char* option;
};

constexpr OptionField kCropPad[] = {
    {&O::CropTop, "croptop"}, {&O::CropBottom, "cropbottom"}, {&O::CropLeft, "cropleft"},
    {&O::CropRight, "cropright"}, {&O::PadTop, "padtop"},       {&O::PadBottom, "padbottom"},
    {&O::PadLeft, "padleft"},   {&O::PadRight, "padright"},
};

struct MetadataField {
    std::string O::*field;
    std::string TOptionSettings::*setting;
    size_t maxLength;  // characters the record's fixed-size field holds
};

constexpr MetadataField kMetadata[] = {
    {&O::Title, &TOptionSettings::Title, 511},         {&O::Author, &TOptionSettings::Author, 511},
    {&O::Copyright, &TOptionSettings::Copyright, 511}, {&O::Comment, &TOptionSettings::Comment, 511},
    {&O::Album, &TOptionSettings::Album, 511},         {&O::Genre, &TOptionSettings::Genre, 31},
};

template <size_t N>
void ApplyGeneric(TCustomFFmpeg& task, const TOutputOptions& o, const GenericField (&fields)[N]) {
    for (const GenericField& f : fields)
        if (o.*f.field > 0)
            task.SetGenericOption(f.option, std::to_string(o.*f.field));
}

void DispatchIfSet(TCustomFFmpeg& task, const char* name, const std::string& value) {
    if (!value.empty())
        task.DispatchOption(name, value);
}

void ApplyFormatAndMux(TCustomFFmpeg& task, const TOutputOptions& o) {
    if (!o.ForceFormat.empty()) {
        const std::string name = options::FormatName(task, o.ForceFormat);
        if (!av_guess_format(name.c_str(), nullptr, nullptr))
            throw FFMpegException("Unknown output format: " + o.ForceFormat);
        task.Opt.ForcedOutputFormat = name;
    }
    if (o.PacketSize > 0) task.SetGenericOption("packetsize", std::to_string(o.PacketSize));
    if (o.MuxRate > 0) task.SetGenericOption("muxrate", std::to_string(o.MuxRate));
    if (o.MuxMaxDelay > 0) task.Opt.MuxMaxDelay = o.MuxMaxDelay;
    if (o.MuxPreload > 0) task.Opt.MuxPreload = o.MuxPreload;
}

void ApplyAudio(TCustomFFmpeg& task, const TOutputOptions& o) {
    DispatchIfSet(task, "acodec", o.AudioCodec);
    if (o.DisableAudio) task.Opt.AudioDisable = true;
    if (o.AudioVolume >= 0) task.Opt.AudioVolume = o.AudioVolume;
    if (o.AudioChannels > 0) task.Opt.AudioChannels = o.AudioChannels;
    if (o.AudioSampleRate > 0) task.Opt.AudioSampleRate = o.AudioSampleRate;
    ApplyGeneric(task, o, kAudioGeneric);
    task.Opt.AudioLanguage = o.AudioLanguage;
    task.Opt.AudioSyncMethod = o.AudioSyncMethod;
    DispatchIfSet(task, "atag", o.AudioTag);
}

void ApplyVideo(TCustomFFmpeg& task, const TOutputOptions& o) {
    DispatchIfSet(task, "vcodec", o.VideoCodec);
    if (o.DisableVideo) task.Opt.VideoDisable = true;
    DispatchIfSet(task, "r", o.FrameRate);
    DispatchIfSet(task, "s", o.FrameSize);
    DispatchIfSet(task, "aspect", o.AspectRatio);
    for (const OptionField& f : kCropPad)
        if (o.*f.field >= 0)
            task.DispatchOption(f.option, std::to_string(o.*f.field));
    options::SetPadColor(task, ResolveColor(o.PadColor));
    ApplyGeneric(task, o, kVideoGeneric);
    task.Opt.VideoSyncMethod = o.VideoSyncMethod;
    DispatchIfSet(task, "vtag", o.VideoTag);
}

// 0 means now; other positive values are local standard time, days since 30 Dec 1899.
void ApplyTimestamp(TCustomFFmpeg& task, double days) {
    if (days == 0) {
        task.Opt.RecTimestamp = std::time(nullptr);
    } else if (days > 0) {
        if (!std::isfinite(days) || days > 2958466.0)  // beyond 31 Dec 9999
            throw FFMpegException("Timestamp is not a date between 1899 and 9999: " + std::to_string(days));
        task.Opt.RecTimestamp = DateTimeToUnix(days, StandardZoneOffset());
    }
}

void ApplyTimesAndMetadata(TCustomFFmpeg& task, const TOutputOptions& o) {
    if (o.DisableSubtitle) task.Opt.SubtitleDisable = true;
    task.Opt.SubtitleLanguage = o.SubtitleLanguage;
    task.Opt.CopyTimestamps = o.CopyTimestamps;
    if (o.TimeLimit > 0) {
        task.Opt.RecordingTime = int64_t(o.TimeLimit) * 1000;
        task.TotalOutputDuration = o.TimeLimit;
    }
    ApplyTimestamp(task, o.Timestamp);
    if (o.Year > 0) task.Opt.Year = o.Year;
    if (o.Track > 0) task.Opt.Track = o.Track;
    for (const MetadataField& m : kMetadata) {
        const std::string& text = o.*m.field;
        // The fixed-size field ends at its first zero character or its last cell.
        const std::string value = text.substr(0, std::min(text.find('\0'), m.maxLength));
        if (!value.empty())
            task.Opt.*m.setting = value;
    }
}

}  // namespace

void TCustomFFmpeg::ApplyInputOptions(const TInputOptions& options) {
    ApplyOptionLines(options.ExtraOptions);
    if (!options.ForceFormat.empty()) {
        const std::string name = options::FormatName(*this, options.ForceFormat);
        if (!av_find_input_format(name.c_str()))
            throw FFMpegException("Unknown input format: " + options.ForceFormat);
        Opt.ForcedInputFormat = name;
    }
    if (options.StartTime > 0)
        Opt.StartTime = int64_t(options.StartTime) * 1000;
    if (options.ProgramID >= 0)
        Opt.ProgramID = options.ProgramID;
}

void TCustomFFmpeg::ApplyOutputOptions(const TOutputOptions& options) {
    ApplyOptionLines(options.ExtraOptions);
    ApplyFormatAndMux(*this, options);
    ApplyAudio(*this, options);
    ApplyVideo(*this, options);
    ApplyTimesAndMetadata(*this, options);
}

void TCustomFFmpeg::ApplyTargetFromRecord(const TOutputOptions& options) {
    static constexpr const char* kTypes[] = {"vcd", "svcd", "dvd"};
    if (options.Target < 1 || options.Target > 3)
        return;
    const char* norm = options.TargetNorm == 1 ? "pal" : options.TargetNorm == 2 ? "ntsc" : "auto";
    ApplyTarget(kTypes[options.Target - 1], norm, options.DefaultNorm == 1 ? "pal" : "ntsc");
}

}  // namespace tavrin
