// What one profile puts into the setting combos, as data: one step per combo, applied by
// ApplyProfileFill. Every profile's table is a TProfileSettings constant (see FillTables.h).
#pragma once

#include "catalogue/ProfileControls.h"

#include <span>
#include <stdexcept>
#include <string_view>

namespace tavrin {

enum class TFillAction {
    faKeep,    // leave items and selection alone
    faClear,   // empty the combo (video combos of audio-only profiles)
    faFill,    // replace the items, then select Position
    faSelect,  // keep the fixed items, select Position
};

struct TComboFill {
    TFillAction Action = TFillAction::faKeep;
    std::span<const std::string_view> Items{};
    int Position = -1;
};

constexpr TComboFill Keep() { return {}; }
constexpr TComboFill Cleared() { return {TFillAction::faClear, {}, -1}; }
constexpr TComboFill Select(int position) { return {TFillAction::faSelect, {}, position}; }
constexpr TComboFill Fill(std::span<const std::string_view> items, int position = 0)
{
    return {TFillAction::faFill, items, position};
}

// Position of an item in a list; tables use it so that a default that is not in its list
// fails to compile instead of leaving the combo without a selection.
constexpr int PositionOf(std::span<const std::string_view> items, std::string_view item)
{
    for (size_t i = 0; i < items.size(); ++i)
        if (items[i] == item)
            return static_cast<int>(i);
    throw std::invalid_argument("default item is not in its list");
}

constexpr TComboFill Fill(std::span<const std::string_view> items, std::string_view selected)
{
    return Fill(items, PositionOf(items, selected));
}

// Positions of the fixed channel and aspect items.
inline constexpr int kStereo = 0;
inline constexpr int kMono = 1;
inline constexpr int kOriginalAspect = 0;

struct TProfileSettings {
    TComboFill VideoCodec;
    TComboFill AudioCodec;
    TComboFill VideoSize;
    TComboFill VideoBitrate;
    TComboFill FrameRate;
    TComboFill AudioBitrate;
    TComboFill SampleRate;
    TComboFill Channels = Keep();
    TComboFill AspectRatio = Keep();
};

// Most profiles also put the channels on "Stereo" and the aspect on "Original".
constexpr TProfileSettings StereoOriginal(TProfileSettings settings)
{
    settings.Channels = Select(kStereo);
    settings.AspectRatio = Select(kOriginalAspect);
    return settings;
}

void ApplyFill(TCombo& combo, const TComboFill& step);
void ApplyProfileFill(const TProfileControls& controls, const TProfileSettings& settings);

}  // namespace tavrin
