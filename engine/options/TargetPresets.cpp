// The VCD, SVCD, DVD and DV presets.
#include <algorithm>
#include <cmath>
#include <iterator>
#include <string_view>

#include "common/FFMpegException.h"
#include "options/FFmpeg.h"
#include "options/OptionHandlers.h"
#include "binding/LibAV.h"

namespace tavrin {
namespace {

enum TNorm { nmPal, nmNtsc, nmFilm, nmUndecided };

struct TargetRow {
    std::string_view type;
    const char* videoCodec;  // nullptr: left as it is
    const char* audioCodec;
    const char* format;
    const char* size[2];  // PAL, NTSC
    const char* gop[2];
    // Generic options by name, nullptr where the preset leaves them.
    const char* bitrate;
    const char* maxrate;
    const char* minrate;
    const char* bufsize;
    const char* audioBitrate;
    int sampleRate;
    int channels;  // 0: mono becomes stereo, other channel counts stay
    const char* packetSize;
    const char* muxRate;
    float muxPreload;     // 0: unchanged
    const char* aspect;   // applied when no aspect is set
    bool scanOffset;
};

constexpr TargetRow kTargets[] = {
    {"vcd", "mpeg1video", "mp2", "vcd", {"352x288", "352x240"}, {"15", "18"}, "1150000", "1150000",
     "1150000", "327680", "224000", 44100, 2, "2324", "1411200", 0.44f, "4:3", false},
    {"svcd", "mpeg2video", "mp2", "svcd", {"480x576", "480x480"}, {"15", "18"}, "2040000", "2516000", "0",
     "1835008", "224000", 44100, 0, "2324", nullptr, 0, "4:3", true},
    {"dvd", "mpeg2video", "ac3", "dvd", {"720x576", "720x480"}, {"15", "18"}, "6000000", "9000000", "0",
     "1835008", "448000", 48000, 0, "2048", "10080000", 0, "16:9", false},
    {"dv", nullptr, nullptr, "dv", {"720x576", "720x480"}, {nullptr, nullptr}, nullptr, nullptr, nullptr,
     nullptr, nullptr, 48000, 2, nullptr, nullptr, 0, nullptr, false},
    {"dv50", nullptr, nullptr, "dv", {"720x576", "720x480"}, {nullptr, nullptr}, nullptr, nullptr, nullptr,
     nullptr, nullptr, 48000, 2, nullptr, nullptr, 0, nullptr, false},
};

TNorm NormOfRate(int64_t fr) {
    if (fr == 25000) return nmPal;
    if (fr == 29970 || fr == 23976) return nmNtsc;
    return nmUndecided;
}

int64_t MilliRate(int num, int den) { return std::llround(static_cast<double>(num) * 1000.0 / den); }

// The norm the frame rate set so far, or the first video input, points to.
TNorm GuessNorm(TCustomFFmpeg& task) {
    const TRational rate = task.Opt.FrameRate;
    if (rate.den == 0)
        throw FFMpegException("frame_rate is invalid.");
    TNorm norm = NormOfRate(MilliRate(rate.num, rate.den));
    for (const TRational& r : task.InputVideoFrameRates()) {
        if (norm != nmUndecided)
            break;
        norm = NormOfRate(MilliRate(r.num, r.den));
    }
    return norm;
}

void SetGeneric(TCustomFFmpeg& task, const char* name, const char* value) {
    if (value)
        task.SetGenericOption(name, value);
}

void ApplyRow(TCustomFFmpeg& task, const TargetRow& row, bool pal) {
    const int n = pal ? 0 : 1;
    if (row.videoCodec) task.DispatchOption("vcodec", row.videoCodec);
    if (row.audioCodec) task.DispatchOption("acodec", row.audioCodec);
    task.Opt.ForcedOutputFormat = row.format;
    task.DispatchOption("s", row.size[n]);
    SetGeneric(task, "gop", row.gop[n]);
    SetGeneric(task, "b", row.bitrate);
    SetGeneric(task, "maxrate", row.maxrate);
    SetGeneric(task, "minrate", row.minrate);
    SetGeneric(task, "bufsize", row.bufsize);
    SetGeneric(task, "ab", row.audioBitrate);
    task.Opt.AudioSampleRate = row.sampleRate;
    if (row.channels > 0)
        task.Opt.AudioChannels = row.channels;
    else if (task.Opt.AudioChannels == 1)
        task.Opt.AudioChannels = 2;
    SetGeneric(task, "packetsize", row.packetSize);
    SetGeneric(task, "muxrate", row.muxRate);
    if (row.muxPreload > 0)
        task.Opt.MuxPreload = row.muxPreload;
    if (row.scanOffset)
        task.SetGenericOption("flags", "+SCAN_OFFSET");
    if (row.aspect && task.Opt.FrameAspectRatio == 0)
        task.DispatchOption("aspect", row.aspect);
    if (row.type == "dv50")
        task.DispatchOption("pix_fmt", "yuv422p");
    else if (row.type == "dv")
        task.DispatchOption("pix_fmt", pal ? "yuv420p" : "yuv411p");
}

}  // namespace

void TCustomFFmpeg::ApplyTarget(const std::string& type, const std::string& norm, const std::string& fallbackNorm) {
    TNorm chosen = norm == "pal" ? nmPal : norm == "ntsc" ? nmNtsc : norm == "film" ? nmFilm : nmUndecided;
    if (chosen == nmUndecided) {
        chosen = GuessNorm(*this);
        if (chosen == nmUndecided)
            chosen = fallbackNorm == "film" ? nmFilm : fallbackNorm == "ntsc" ? nmNtsc : nmPal;
        if (Verbosity > 0 && LogHandlerBound())
            Log(1, std::string("Assuming ") + (chosen == nmPal ? "PAL" : "NTSC") + " for target.");
    }
    static constexpr const char* kRates[] = {"25", "30000/1001", "24000/1001"};
    DispatchOption("r", kRates[chosen]);
    auto row = std::find_if(std::begin(kTargets), std::end(kTargets),
                            [&](const TargetRow& r) { return r.type == type; });
    if (row == std::end(kTargets))
        throw FFMpegException("Unknown target type");
    ApplyRow(*this, *row, chosen == nmPal);
}

}  // namespace tavrin
