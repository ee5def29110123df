// The level tables of H.264 (Annex A) and MPEG-4 Part 2 Simple Profile (Annex N): the
// largest picture, macroblock rate, bit rate and decoder buffer each level allows, and the
// smallest level a stream fits in.
#pragma once

#include <optional>
#include <span>
#include <string>

namespace tavrin {

struct TCodecLevel {
    int Code;             // what the encoder signals: level_idc for H.264, the low nibble of
                          // profile_and_level_indication for MPEG-4 ("4" is level 4a)
    const char* Name;     // "3.1", "4a"
    int MaxMacroblocks;   // per picture
    int MaxMacroblockRate;  // per second
    int MaxKbps;          // peak bit rate
    int MaxBufferKbit;    // coded picture / video buffer
};

// Both tables are ordered from the smallest level up.
std::span<const TCodecLevel> H264Levels();
std::span<const TCodecLevel> MPEG4SimpleLevels();

// 16x16 macroblocks of a picture.
int MacroblockCount(int width, int height);

// The smallest level of the table that holds this picture size and rate at this peak
// bit rate; nothing when even the largest does not.
std::optional<TCodecLevel> SmallestLevel(std::span<const TCodecLevel> levels, int width,
                                         int height, double fps, int peakKbps);

}  // namespace tavrin
