// Picture operations the library no longer offers.
#pragma once

#include <cstdint>

namespace tavrin {

struct PictureRef {
    uint8_t* data[4] = {};
    int linesize[4] = {};
};

// Copies src into dst with a vertical 5-tap (-1 4 2 4 -1)/8 filter on the odd lines of
// every plane; even lines pass unchanged. Only 8-bit planar YUV and grey formats are
// supported; returns false for any other format (nothing is written then).
bool DeinterlacePicture(const PictureRef& dst, const PictureRef& src, int pixFmt, int width,
                        int height);

}  // namespace tavrin
