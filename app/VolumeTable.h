// The volume track bar: each position's label text and the volume value the engine gets.
// The values are the product's own: 100% is 255 and 200% is 600.
#pragma once

#include <array>
#include <string_view>

namespace tavrin {

struct TVolumeStep {
    std::string_view Label;
    int Value;
};

inline constexpr std::array<TVolumeStep, 11> kVolumeSteps{{
    {"0%", 1},     {"20%", 50},   {"40%", 100},  {"60%", 150},  {"80%", 200}, {"100%", 255},
    {"120%", 300}, {"140%", 350}, {"160%", 400}, {"180%", 450}, {"200%", 600},
}};
inline constexpr int kDefaultVolumePosition = 5;

}  // namespace tavrin
