#include "catalogue/CodecNames.h"

#include <array>
#include <span>
#include <utility>

namespace tavrin {

namespace {

using TNamePair = std::pair<std::string_view, std::string_view>;

constexpr std::array<TNamePair, 5> kVideoNames{{
    {"mpeg4", "mpeg4"},
    {"h264", "libx264"},
    {"xvid", "libxvid"},
    {"wmv2x", "wmv2"},
    {"mpeg4_qt", "mpeg4"},
}};

constexpr std::array<TNamePair, 12> kAudioNames{{
    {"aac", "libfaac"},
    {"ac3", "ac3"},
    {"flac", "flac"},
    {"asf", "mp3"},
    {"mp3", "libmp3lame"},
    {"m4a", "mpeg4aac"},
    {"mpeg4aac", "libfaac"},
    {"ra", "ac3"},
    {"wma7x", "wmav2"},
    {"wav", "pcm_s16le"},
    {"mpeg4aac_qt", "libfaac"},
    {"amr_nb", "libamr_nb"},
}};

constexpr std::array<TNamePair, 2> kDeviceVideoNames{{
    {"h264", "libx264"},
    {"xvid", "libxvid"},
}};

// The first pair whose label matches decides; no match keeps the label.
std::string MapName(std::span<const TNamePair> names, std::string_view label)
{
    for (const auto& [from, to] : names)
        if (label == from)
            return std::string(to);
    return std::string(label);
}

}  // namespace

std::string VideoEncoderName(std::string_view label)
{
    return MapName(kVideoNames, label);
}

std::string AudioEncoderName(std::string_view label)
{
    return MapName(kAudioNames, label);
}

std::string DeviceVideoEncoderName(std::string_view label)
{
    return MapName(kDeviceVideoNames, label);
}

}  // namespace tavrin
