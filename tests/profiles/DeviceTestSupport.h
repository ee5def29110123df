// Oracles for the device checks, all read with the ffmpeg tools: stream fields from
// ffprobe, the H.264 parameter sets and slice headers from the trace_headers filter, the
// MPEG-4 visual headers and picture types from the elementary stream, the decoder-buffer
// model of the video packets, and the luma of one decoded picture.
#pragma once

#include "JobBuilderTestSupport.h"
#include "MediaInfo.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace tavrin::test {

// The standard output of a shell command.
std::string Capture(const std::string& command);
std::string ShellQuote(const std::string& text);

// Every field ffprobe shows for the first stream of that type ("v", "a").
Fields ProbeStream(const std::string& path, const std::string& type);

struct H264Trace {
    std::map<std::string, int> Sps;  // first sequence parameter set: profile_idc, level_idc ...
    std::map<std::string, int> Pps;  // first picture parameter set: entropy_coding_mode_flag ...
    int Slices = 0;
    int BSlices = 0;
    int ReferencedBSlices = 0;      // B slices other pictures predict from (B-pyramid)
    bool Ok = false;
};
H264Trace TraceH264(const std::string& path);

struct MPEG4Headers {
    int ProfileAndLevel = -1;  // visual object sequence: 0x04 is Simple Profile level 4a
    int ObjectType = -1;       // video object layer: 1 is Simple Object
    int Vops = 0, BVops = 0, SpriteVops = 0;
};
MPEG4Headers ReadMPEG4Headers(const std::string& path);

struct RateCheck {
    bool Fits = false;        // the decoder buffer never runs dry
    double WorstFill = 0;     // lowest fill of the buffer, as a share of it
    double PeakKbps = 0;      // most bits in any one second of decoding time
    double AverageKbps = 0;
};
// The video packets through a decoder buffer of bufferBits filled at maxBitsPerSecond,
// full when the first picture is taken out.
RateCheck CheckVideoRate(const std::string& path, double maxBitsPerSecond, double bufferBits);

// A job builder over the real engine that converts one clip per call.
class DeviceJobTest : public JobBuilderTest {
protected:
    // Adds a row for the fixture clip, builds its job and waits until the row shows how it
    // ended; the row's "Progress" text.
    std::string ConvertClip(const std::string& clip);
    std::string OutputPath() const { return Builder.LastJob().OutputPath; }
};

// The luma plane of picture number index at video levels (black is 16), width x height
// bytes; empty when it cannot be read.
std::vector<uint8_t> LumaPicture(const std::string& path, int index, int width, int height);

}  // namespace tavrin::test
