// Combos whose items never change with the profile: the window fills them once at start-up.
#pragma once

#include "catalogue/ProfileControls.h"

#include <array>
#include <string_view>

namespace tavrin {

inline constexpr std::array<std::string_view, 2> kChannelItems{"Stereo", "Mono"};
inline constexpr std::array<std::string_view, 3> kAspectRatioItems{
    "Original", "4:3 (Standard", "16:9 (Wide Screen)"};
inline constexpr std::array<std::string_view, 2> kLetterBoxItems{"None", "LetterBox"};
inline constexpr std::array<std::string_view, 5> kQualityItems{
    "Highest", "Higher", "Normal", "Lower", "Lowest"};
inline constexpr int kNormalQuality = 2;

// Fills channels ("Stereo"), aspect ratio ("Original"), letterbox ("None") and both quality
// combos ("Normal"), each with its start-up selection.
void FillFixedCombos(const TProfileControls& controls);

}  // namespace tavrin
