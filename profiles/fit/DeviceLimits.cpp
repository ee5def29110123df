#include "fit/DeviceLimits.h"

#include <array>

namespace tavrin {

namespace {

using enum TDevice;
using enum TVideoFamily;

struct TKindDevice {
    int Kind;
    TDevice Device;
};

// Catalogue kinds of the device profiles, offered or not.
constexpr TKindDevice kKindDevices[] = {
    {0, Phone3GP}, {1, Phone3GP},
    {3, IPod}, {4, IPod}, {5, IPod}, {6, IPod},
    {7, AppleTV}, {8, AppleTV}, {9, AppleTV}, {10, AppleTV}, {11, AppleTV}, {12, AppleTV},
    {13, IPodTouch}, {14, IPodTouch}, {15, IPodTouch},
    {18, IPhone}, {19, IPhone}, {20, IPhone},
};

// The devices' published limits. Apple TV: H.264 Main profile up to 5 Mbit/s, 1280x720
// at 24 fps, without CABAC, B-pyramid or weighted prediction (its decoder refuses them);
// MPEG-4 Simple Profile up to 3 Mbit/s at 720x432. iPod: H.264 Baseline at level 1.3
// (768 Kbit/s) for 320x240, at level 3 (2.5 Mbit/s) for 640x480. iPod Touch and iPhone:
// H.264 Baseline level 3 and MPEG-4 Simple Profile, both 2.5 Mbit/s at 640x480.
// 3GP phones: Baseline and Simple Profile at the level the picture and bit rate need.
constexpr std::array kVideoLimits{
    TVideoLimits{AppleTV, H264, 1620, "720x576", 30, "main", 31, false, 3, 3, 5000, 5000},
    TVideoLimits{AppleTV, H264, 3600, "1280x720", 24, "main", 31, false, 3, 3, 5000, 5000},
    TVideoLimits{AppleTV, MPEG4, 1215, "720x432", 30, "", 0, false, 1, 0, 3000, 0},
    TVideoLimits{IPod, H264, 300, "320x240", 30, "baseline", 13, false, 1, 0, 768, 768},
    TVideoLimits{IPod, H264, 1200, "640x480", 30, "baseline", 30, false, 1, 0, 2500, 2500},
    TVideoLimits{IPod, MPEG4, 1200, "640x480", 30, "", 0, false, 1, 0, 2500, 0},
    TVideoLimits{IPodTouch, H264, 1200, "640x480", 30, "baseline", 30, false, 1, 0, 2500, 2500},
    TVideoLimits{IPodTouch, MPEG4, 1200, "640x480", 30, "", 0, false, 1, 0, 2500, 0},
    TVideoLimits{IPhone, H264, 1200, "640x480", 30, "baseline", 30, false, 1, 0, 2500, 2500},
    TVideoLimits{IPhone, MPEG4, 1200, "640x480", 30, "", 0, false, 1, 0, 2500, 0},
    TVideoLimits{Phone3GP, H264, 396, "352x288", 0, "baseline", 0, false, 1, 0, 0, 0},
    TVideoLimits{Phone3GP, MPEG4, 396, "352x288", 0, "", 0, false, 1, 0, 0, 0},
};

// AAC-LC up to 160 Kbit/s, 48 kHz, stereo on every Apple device; AMR-NB is mono by nature.
constexpr TAudioLimits kAudioLimits[] = {
    {AppleTV, 160, 48000, 2},
    {IPod, 160, 48000, 2},
    {IPodTouch, 160, 48000, 2},
    {IPhone, 160, 48000, 2},
    {Phone3GP, 0, 8000, 1},
};

}  // namespace

TDevice DeviceOfKind(int kind)
{
    for (const TKindDevice& row : kKindDevices)
        if (row.Kind == kind)
            return row.Device;
    return None;
}

std::string_view DeviceName(TDevice device)
{
    switch (device) {
    case AppleTV:
        return "Apple TV";
    case IPod:
        return "iPod";
    case IPodTouch:
        return "iPod Touch";
    case IPhone:
        return "iPhone";
    case Phone3GP:
        return "3GP phone";
    case None:
        break;
    }
    return "";
}

std::span<const TVideoLimits> VideoLimitsOf(TDevice device, TVideoFamily family)
{
    size_t first = 0;
    while (first < kVideoLimits.size() &&
           (kVideoLimits[first].Device != device || kVideoLimits[first].Family != family))
        ++first;
    size_t last = first;
    while (last < kVideoLimits.size() && kVideoLimits[last].Device == device &&
           kVideoLimits[last].Family == family)
        ++last;
    return std::span<const TVideoLimits>(kVideoLimits).subspan(first, last - first);
}

const TVideoLimits* VideoLimitsFor(TDevice device, TVideoFamily family, int macroblocks)
{
    const std::span<const TVideoLimits> rows = VideoLimitsOf(device, family);
    for (const TVideoLimits& row : rows)
        if (macroblocks <= row.MaxMacroblocks)
            return &row;
    return rows.empty() ? nullptr : &rows.back();
}

const TAudioLimits* AudioLimitsOf(TDevice device)
{
    for (const TAudioLimits& row : kAudioLimits)
        if (row.Device == device)
            return &row;
    return nullptr;
}

}  // namespace tavrin
