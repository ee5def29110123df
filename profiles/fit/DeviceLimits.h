// What the devices that the Apple and mobile profiles name can play, as one table: per
// device and video encoder the H.264 or MPEG-4 profile, the highest level, the entropy
// coder, reference and B-frames, the peak bit rate and decoder buffer, the largest picture
// and frame rate; per device the audio limits. The job builder turns a row into encoder
// options and notes every user choice that goes beyond it.
#pragma once

#include <span>
#include <string_view>

namespace tavrin {

enum class TDevice { None, AppleTV, IPod, IPodTouch, IPhone, Phone3GP };

enum class TVideoFamily { H264, MPEG4 };

struct TVideoLimits {
    TDevice Device;
    TVideoFamily Family;
    int MaxMacroblocks;    // largest picture, as 16x16 blocks (640x480 is 1200)
    std::string_view SizeText;  // that picture for the log: "640x480"
    double MaxFps;         // 0: no limit of the device
    std::string_view Profile;   // x264's profile name; "" for MPEG-4 (always Simple)
    int MaxLevel;          // H.264 level_idc (31 is 3.1); 0: none
    bool Cabac;            // H.264 arithmetic coding allowed
    int MaxRefs;           // H.264 reference frames
    int MaxBFrames;        // B-frames in a row; 0: none
    int PeakKbps;          // 0: the level's own peak
    int BufferKbit;        // 0: the level's own buffer
};

struct TAudioLimits {
    TDevice Device;
    int MaxKbps;           // 0: no limit
    int MaxSampleRate;     // 0: no limit
    int MaxChannels;
};

// The device a catalogue kind's files are meant for; TDevice::None for the general
// formats.
TDevice DeviceOfKind(int kind);
// "Apple TV", "iPod" ... for log lines.
std::string_view DeviceName(TDevice device);

// The device's rows for one encoder family, smallest picture first; empty when the
// device has none.
std::span<const TVideoLimits> VideoLimitsOf(TDevice device, TVideoFamily family);
// The row for a picture of this many macroblocks: the first that holds it, else the
// largest. Null when the device has no rows for the family.
const TVideoLimits* VideoLimitsFor(TDevice device, TVideoFamily family, int macroblocks);

const TAudioLimits* AudioLimitsOf(TDevice device);

}  // namespace tavrin
