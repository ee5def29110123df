// The volume track bar's positions: the percentage its label shows and the value handed to
// the engine. The values are used as they stand: 100% is 255 and 200% is 600.
#pragma once

#include <array>

namespace tavrin {

struct TVolumeStep {
    int Percent;
    int Value;
};

inline constexpr std::array<TVolumeStep, 11> kVolumeSteps{{
    {0, 1}, {20, 50}, {40, 100}, {60, 150}, {80, 200}, {100, 255},
    {120, 300}, {140, 350}, {160, 400}, {180, 450}, {200, 600},
}};
inline constexpr int kDefaultVolumePosition = 5;

}  // namespace tavrin
