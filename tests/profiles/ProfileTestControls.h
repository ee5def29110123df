// A main window's worth of setting combos in memory, filled the way the window fills them
// at start-up.
#pragma once

#include "MemoryCombo.h"
#include "ProfileControls.h"

#include <string>
#include <string_view>
#include <vector>

namespace tavrin::test {

struct TTestControls {
    TMemoryCombo OutputFormat, VideoCodec, AudioCodec, VideoSize, VideoBitrate, FrameRate,
        AudioBitrate, SampleRate, Channels, AspectRatio, LetterBox, VideoQuality, AudioQuality;
    TProfileControls Controls{OutputFormat, VideoCodec, AudioCodec,   VideoSize,   VideoBitrate,
                              FrameRate,    AudioBitrate, SampleRate, Channels,    AspectRatio,
                              LetterBox,    VideoQuality, AudioQuality};
    std::string CurrentKey;

    TTestControls();
    // Shows the caption in the output-format combo (adding it when the combo does not list
    // it) and runs FillProfileControls; returns its result.
    bool Choose(std::string_view caption);
};

// Replaces a combo's items and selects the given one.
void SetItems(TMemoryCombo& combo, const std::vector<std::string>& items,
              const std::string& selected);

}  // namespace tavrin::test
