#include "binding/Picture.h"

#include <algorithm>

#include "binding/LibAV.h"

namespace tavrin {
namespace {

// Bytes per sample when every component is a whole 8-bit or native 16-bit sample; 0 else.
int SampleBytes(const AVPixFmtDescriptor* d) {
    if (!d || (d->flags & (AV_PIX_FMT_FLAG_BITSTREAM | AV_PIX_FMT_FLAG_PAL | AV_PIX_FMT_FLAG_HWACCEL |
                           AV_PIX_FMT_FLAG_FLOAT)))
        return 0;
    const int bits = d->comp[0].depth + d->comp[0].shift;
    const int bytes = bits <= 8 ? 1 : bits <= 16 ? 2 : 0;
    const bool nativeOrder = bytes == 1 || !(d->flags & AV_PIX_FMT_FLAG_BE) == (AV_HAVE_BIGENDIAN == 0);
    for (int c = 0; c < d->nb_components; ++c) {
        const int b = d->comp[c].depth + d->comp[c].shift;
        if ((b <= 8 ? 1 : b <= 16 ? 2 : 0) != bytes || d->comp[c].offset % bytes || d->comp[c].step % bytes)
            return 0;
    }
    return nativeOrder ? bytes : 0;
}

template <typename Sample>
void FilterPlane(uint8_t* dst, int dstStride, const uint8_t* src, int srcStride, int samples, int h, int maxValue) {
    auto row = [&](int y) {
        return reinterpret_cast<const Sample*>(src + static_cast<ptrdiff_t>(std::clamp(y, 0, h - 1)) * srcStride);
    };
    for (int y = 0; y < h; ++y) {
        auto* out = reinterpret_cast<Sample*>(dst + static_cast<ptrdiff_t>(y) * dstStride);
        if (y % 2 == 0) {
            std::copy_n(row(y), samples, out);
            continue;
        }
        const Sample *a = row(y - 2), *b = row(y - 1), *c = row(y), *d = row(y + 1), *e = row(y + 2);
        for (int x = 0; x < samples; ++x) {
            const int v = (-a[x] + 4 * b[x] + 2 * c[x] + 4 * d[x] - e[x] + 4) >> 3;
            out[x] = static_cast<Sample>(std::clamp(v, 0, maxValue));
        }
    }
}

}  // namespace

bool DeinterlacePicture(const PictureRef& dst, const PictureRef& src, int pixFmt, int width,
                        int height) {
    const auto fmt = static_cast<AVPixelFormat>(pixFmt);
    const AVPixFmtDescriptor* desc = av_pix_fmt_desc_get(fmt);
    const int bytes = SampleBytes(desc);
    if (!bytes || width <= 0 || height <= 0)
        return false;
    const int maxValue = bytes == 1 ? 255 : 65535;
    for (int p = 0; p < av_pix_fmt_count_planes(fmt); ++p) {
        const bool chroma = (p == 1 || p == 2) && !(desc->flags & AV_PIX_FMT_FLAG_RGB);
        const int h = chroma ? AV_CEIL_RSHIFT(height, desc->log2_chroma_h) : height;
        const int samples = av_image_get_linesize(fmt, width, p) / bytes;
        if (bytes == 1)
            FilterPlane<uint8_t>(dst.data[p], dst.linesize[p], src.data[p], src.linesize[p], samples, h, maxValue);
        else
            FilterPlane<uint16_t>(dst.data[p], dst.linesize[p], src.data[p], src.linesize[p], samples, h, maxValue);
    }
    return true;
}

bool DeinterlaceFrame(AVFrame* dst, const AVFrame* src) {
    if (!SampleBytes(av_pix_fmt_desc_get(static_cast<AVPixelFormat>(src->format))))
        return false;
    const bool fits = dst->buf[0] && dst->format == src->format && dst->width == src->width &&
                      dst->height == src->height && av_frame_is_writable(dst);
    if (!fits) {
        av_frame_unref(dst);
        dst->format = src->format;
        dst->width = src->width;
        dst->height = src->height;
        if (av_frame_get_buffer(dst, 0) < 0)
            return false;
    }
    PictureRef in, out;
    for (int i = 0; i < 4; ++i) {
        in.data[i] = src->data[i];
        in.linesize[i] = src->linesize[i];
        out.data[i] = dst->data[i];
        out.linesize[i] = dst->linesize[i];
    }
    if (!DeinterlacePicture(out, in, src->format, src->width, src->height))
        return false;
    av_frame_copy_props(dst, src);
    dst->interlaced_frame = 0;
    dst->top_field_first = 0;
    return true;
}

}  // namespace tavrin
