#include "binding/Picture.h"

#include <algorithm>

#include "binding/LibAV.h"

namespace tavrin {
namespace {

bool IsDeinterlaceable(int pixFmt) {
    switch (pixFmt) {
    case AV_PIX_FMT_YUV420P: case AV_PIX_FMT_YUVJ420P: case AV_PIX_FMT_YUV422P:
    case AV_PIX_FMT_YUVJ422P: case AV_PIX_FMT_YUV444P: case AV_PIX_FMT_YUVJ444P:
    case AV_PIX_FMT_YUV411P: case AV_PIX_FMT_GRAY8:
        return true;
    default:
        return false;
    }
}

void FilterPlane(uint8_t* dst, int dstStride, const uint8_t* src, int srcStride, int w, int h) {
    auto row = [&](int y) { return src + static_cast<ptrdiff_t>(std::clamp(y, 0, h - 1)) * srcStride; };
    for (int y = 0; y < h; ++y) {
        uint8_t* out = dst + static_cast<ptrdiff_t>(y) * dstStride;
        if (y % 2 == 0) {
            std::copy_n(row(y), w, out);
            continue;
        }
        const uint8_t *a = row(y - 2), *b = row(y - 1), *c = row(y), *d = row(y + 1), *e = row(y + 2);
        for (int x = 0; x < w; ++x) {
            const int v = (-a[x] + 4 * b[x] + 2 * c[x] + 4 * d[x] - e[x] + 4) >> 3;
            out[x] = static_cast<uint8_t>(std::clamp(v, 0, 255));
        }
    }
}

}  // namespace

bool DeinterlacePicture(const PictureRef& dst, const PictureRef& src, int pixFmt, int width,
                        int height) {
    if (!IsDeinterlaceable(pixFmt) || width <= 0 || height <= 0)
        return false;
    const AVPixFmtDescriptor* desc = av_pix_fmt_desc_get(static_cast<AVPixelFormat>(pixFmt));
    for (int p = 0; p < desc->nb_components; ++p) {
        const bool chroma = p == 1 || p == 2;
        const int w = chroma ? AV_CEIL_RSHIFT(width, desc->log2_chroma_w) : width;
        const int h = chroma ? AV_CEIL_RSHIFT(height, desc->log2_chroma_h) : height;
        FilterPlane(dst.data[p], dst.linesize[p], src.data[p], src.linesize[p], w, h);
    }
    return true;
}

}  // namespace tavrin
