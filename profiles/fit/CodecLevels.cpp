#include "fit/CodecLevels.h"

#include <array>
#include <cmath>

namespace tavrin {

namespace {

// Level 1b is left out: it is signalled differently per profile and no device here needs
// it. Bit rates and buffers are those of the Baseline and Main profiles.
constexpr std::array<TCodecLevel, 11> kH264Levels{{
    {10, "1", 99, 1485, 64, 175},
    {11, "1.1", 396, 3000, 192, 500},
    {12, "1.2", 396, 6000, 384, 1000},
    {13, "1.3", 396, 11880, 768, 2000},
    {20, "2", 396, 11880, 2000, 2000},
    {21, "2.1", 792, 19800, 4000, 4000},
    {22, "2.2", 1620, 20250, 4000, 4000},
    {30, "3", 1620, 40500, 10000, 10000},
    {31, "3.1", 3600, 108000, 14000, 14000},
    {32, "3.2", 5120, 216000, 20000, 20000},
    {40, "4", 8192, 245760, 20000, 25000},
}};

// Levels 0 and 0b are left out: they add limits of their own that this encoder does not
// keep, and every phone that plays them plays level 1 or 2 as well. Buffers are the VBV
// sizes of the level (multiples of 16384 bits) in kbit.
constexpr std::array<TCodecLevel, 6> kMPEG4SimpleLevels{{
    {1, "1", 99, 1485, 64, 163},
    {2, "2", 396, 5940, 128, 655},
    {3, "3", 396, 11880, 384, 655},
    {4, "4a", 1200, 36000, 4000, 1310},
    {5, "5", 1620, 40500, 8000, 1835},
    {6, "6", 3600, 108000, 12000, 4063},
}};

}  // namespace

std::span<const TCodecLevel> H264Levels()
{
    return kH264Levels;
}

std::span<const TCodecLevel> MPEG4SimpleLevels()
{
    return kMPEG4SimpleLevels;
}

int MacroblockCount(int width, int height)
{
    return ((width + 15) / 16) * ((height + 15) / 16);
}

std::optional<TCodecLevel> SmallestLevel(std::span<const TCodecLevel> levels, int width,
                                         int height, double fps, int peakKbps)
{
    const int macroblocks = MacroblockCount(width, height);
    const double rate = std::ceil(macroblocks * fps - 1e-6);
    for (const TCodecLevel& level : levels)
        if (macroblocks <= level.MaxMacroblocks && rate <= level.MaxMacroblockRate &&
            peakKbps <= level.MaxKbps)
            return level;
    return std::nullopt;
}

}  // namespace tavrin
