// "LetterBox" in the Video Zoom choice: the picture keeps its display shape inside the
// output frame, scaled to fit and bordered by black bars of even height (or width).
#pragma once

#include "fit/EncoderValues.h"
#include "OptionRecords.h"

#include <cstdint>

namespace tavrin {

struct TLetterBox {
    TFrameSize Picture;  // the scaled picture inside the frame
    int Top = 0, Bottom = 0, Left = 0, Right = 0;

    bool HasBars() const { return Top + Bottom + Left + Right > 0; }
};

// RGB 16,16,16: the engine turns it into Y 16, U 128, V 128, the black of video levels.
inline constexpr uint32_t kLetterBoxColor = 0x00101010;

// Fits a picture of display shape pictureAspect (width / height) into frame. Bars of less
// than four lines in all are not worth the scaling step: the picture then fills the frame.
TLetterBox FitLetterBox(TFrameSize frame, double pictureAspect);

// Sets the output's size, pads, pad colour and aspect for a letterboxed frame: the
// picture size goes to FrameSize, the bars to the pad fields, and the aspect becomes the
// frame's own shape, so that its pixels are square.
void ApplyLetterBox(TOutputOptions& options, TFrameSize frame, const TLetterBox& box);

}  // namespace tavrin
