// Picture operations the library no longer offers.
#pragma once

#include <cstdint>

struct AVFrame;

namespace tavrin {

struct PictureRef {
    uint8_t* data[4] = {};
    int linesize[4] = {};
};

// Copies src into dst with a vertical 5-tap (-1 4 2 4 -1)/8 filter on the odd lines of
// every plane; even lines pass unchanged, so an edge that moved between the two fields is
// drawn where the even field has it, once. Works on any format whose rows hold whole
// 8-bit or native-endian 16-bit samples (planar, semi-planar or packed YUV, grey, RGB);
// returns false for bit-packed, palette and hardware formats (nothing is written then).
bool DeinterlacePicture(const PictureRef& dst, const PictureRef& src, int pixFmt, int width,
                        int height);

// The deinterlaced picture of src in dst, a frame of its own (reused while it fits), with
// src's timing and colours and marked progressive; false when src's format cannot be.
bool DeinterlaceFrame(AVFrame* dst, const AVFrame* src);

}  // namespace tavrin
