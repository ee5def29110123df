// A window's worth of setting combos in memory, for programs without a window and for tests.
#pragma once

#include "catalogue/MemoryCombo.h"
#include "catalogue/ProfileControls.h"

namespace tavrin {

struct TMemoryProfileControls {
    TMemoryCombo OutputFormat, VideoCodec, AudioCodec, VideoSize, VideoBitrate, FrameRate,
        AudioBitrate, SampleRate, Channels, AspectRatio, LetterBox, VideoQuality, AudioQuality;
    TProfileControls Controls{OutputFormat, VideoCodec,   AudioCodec, VideoSize, VideoBitrate,
                              FrameRate,    AudioBitrate, SampleRate, Channels,  AspectRatio,
                              LetterBox,    VideoQuality, AudioQuality};

    // Fills the output-format list and the fixed combos the way the window does at start-up.
    TMemoryProfileControls();
    TMemoryProfileControls(const TMemoryProfileControls&) = delete;
    TMemoryProfileControls& operator=(const TMemoryProfileControls&) = delete;
};

}  // namespace tavrin
