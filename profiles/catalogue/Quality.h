// Quality presets: "Highest" ... "Lowest" move the bit-rate selections of the current
// profile; audio-only profiles switch the video controls off.
#pragma once

#include "catalogue/ProfileControls.h"

#include <array>

namespace tavrin {

// Bit rates of one profile per quality, "Highest" first: video in Kbps (0 for audio-only
// profiles), audio in Kbps or, for AMR audio, in bits per second.
struct TQualityRow {
    std::array<int, 5> Video;
    std::array<int, 5> Audio;
};

// The row of a catalogue kind (0..74).
const TQualityRow& QualityRow(int kind);

// Disables the video quality, size and frame-rate combos for audio-only profiles and
// enables them for every other text of the output-format combo.
void UpdateQualityControls(const TProfileControls& controls);

// Selects the bit rates the quality combos ask for, where the bit-rate lists hold them; a
// value a list does not hold leaves that selection alone.
void ApplyQualityPreset(const TProfileControls& controls);

}  // namespace tavrin
