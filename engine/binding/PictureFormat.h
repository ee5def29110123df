// The picture an encoder is given: a pixel format it lists and its chosen profile allows,
// the range and colour matrix that go with it, and the scaler that converts into it.
#pragma once

#include "binding/LibAV.h"

namespace tavrin {

// requested (the source's format or the one asked for) when the encoder lists it and its
// profile allows it; else the first listed format the profile allows; else the first
// listed. An encoder that lists none takes requested, or planar 8-bit 4:2:0 when none.
AVPixelFormat EncoderPixelFormat(const AVCodecContext* enc, AVPixelFormat requested);

// Whether the profile set on enc (by name in the encoder's private options, or by number)
// allows pictures of this format.
bool ProfileAllowsFormat(const AVCodecContext* enc, AVPixelFormat format);

// Pixels of this format span the full range (JPEG formats, RGB, palettes).
bool IsFullRangeFormat(AVPixelFormat format);

// Range, matrix, primaries and transfer of the encoder's pictures: studio range unless its
// format is full-range by nature; the source's matrix carried over (assumed from the source
// height when it tells none), or the output's standard matrix for RGB sources.
void DescribeOutputColours(AVCodecContext* enc, const AVCodecParameters* source);

// What a decoded picture holds: its format, range and matrix.
struct TPictureColours {
    int Format = -1;
    bool FullRange = false;
    int Matrix = AVCOL_SPC_UNSPECIFIED;
    bool operator==(const TPictureColours&) const = default;
};
TPictureColours ColoursOf(const AVFrame* f);
// Whether pictures like these reach the encoder only through the scaler.
bool NeedsConversion(const TPictureColours& source, const AVCodecContext* enc);

// A scaler from src's size and colours to width x height in the encoder's format, range
// and matrix; null when the library cannot make one.
SwsContext* MakeScaler(int srcWidth, int srcHeight, const TPictureColours& src, int width,
                       int height, const AVCodecContext* enc, int flags);

}  // namespace tavrin
