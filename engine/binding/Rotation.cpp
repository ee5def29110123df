#include "binding/Rotation.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace tavrin {
namespace {

// Bytes of one cell in each plane when every plane is a grid of equal cells that can be
// turned as a whole; false for bit-packed, palette and hardware formats, for luma and
// subsampled chroma packed together (YUYV), and for chroma subsampled unequally (4:2:2),
// which a quarter turn would make 4:4:0.
bool PlaneSteps(const AVPixFmtDescriptor* d, int degrees, int steps[4]) {
    if (!d || (d->flags & (AV_PIX_FMT_FLAG_HWACCEL | AV_PIX_FMT_FLAG_BITSTREAM | AV_PIX_FMT_FLAG_PAL)))
        return false;
    if (SwapsSides(degrees) && d->log2_chroma_w != d->log2_chroma_h)
        return false;
    const bool subsampled = d->log2_chroma_w || d->log2_chroma_h;
    if (!(d->flags & AV_PIX_FMT_FLAG_PLANAR) && d->nb_components > 1 && subsampled)
        return false;
    std::fill(steps, steps + 4, 0);
    for (int c = 0; c < d->nb_components; ++c) {
        const AVComponentDescriptor& comp = d->comp[c];
        if (steps[comp.plane] && steps[comp.plane] != comp.step)
            return false;
        steps[comp.plane] = comp.step;
    }
    return true;
}

// Whether a plane holds only chroma (and so is subsampled).
bool ChromaPlane(const AVPixFmtDescriptor* d, int plane) {
    return d->comp[0].plane != plane && ((d->nb_components > 1 && d->comp[1].plane == plane) ||
                                         (d->nb_components > 2 && d->comp[2].plane == plane));
}

// Turns one plane of w x h cells of step bytes clockwise by degrees.
void TurnPlane(uint8_t* dst, int dstStride, const uint8_t* src, int srcStride, int w, int h, int step,
               int degrees) {
    for (int y = 0; y < h; ++y) {
        const uint8_t* row = src + static_cast<ptrdiff_t>(y) * srcStride;
        for (int x = 0; x < w; ++x) {
            int dx = y, dy = w - 1 - x;  // 270
            if (degrees == 90) {
                dx = h - 1 - y;
                dy = x;
            } else if (degrees == 180) {
                dx = w - 1 - x;
                dy = h - 1 - y;
            }
            std::memcpy(dst + static_cast<ptrdiff_t>(dy) * dstStride + static_cast<ptrdiff_t>(dx) * step,
                        row + static_cast<ptrdiff_t>(x) * step, static_cast<size_t>(step));
        }
    }
}

// A frame of its own in that format and size, reused while nobody else holds it.
bool EnsureFrame(FramePtr& f, int format, int width, int height) {
    if (f && f->format == format && f->width == width && f->height == height && av_frame_is_writable(f.get()))
        return true;
    f = MakeFrame();
    if (!f)
        return false;
    f->format = format;
    f->width = width;
    f->height = height;
    return av_frame_get_buffer(f.get(), 0) >= 0;
}

// The picture facts the encoder and the hooks read; the side data stays behind (the display
// matrix, above all, no longer applies).
void CopyPictureFacts(AVFrame* dst, const AVFrame* src, int degrees) {
    dst->pts = src->pts;
    dst->pkt_dts = src->pkt_dts;
    dst->pkt_duration = src->pkt_duration;
    dst->key_frame = src->key_frame;
    dst->pict_type = src->pict_type;
    dst->quality = src->quality;
    dst->interlaced_frame = src->interlaced_frame;
    dst->top_field_first = src->top_field_first;
    dst->color_range = src->color_range;
    dst->colorspace = src->colorspace;
    dst->color_primaries = src->color_primaries;
    dst->color_trc = src->color_trc;
    const AVRational sar = src->sample_aspect_ratio;
    dst->sample_aspect_ratio = SwapsSides(degrees) && sar.num ? AVRational{sar.den, sar.num} : sar;
}

}  // namespace

int DisplayRotation(const AVStream* st) {
    size_t size = 0;
    const uint8_t* data = av_stream_get_side_data(st, AV_PKT_DATA_DISPLAYMATRIX, &size);
    if (!data || size < 9 * sizeof(int32_t))
        return 0;
    // The matrix turns counter-clockwise by the angle it reports.
    const double angle = av_display_rotation_get(reinterpret_cast<const int32_t*>(data));
    if (std::isnan(angle))
        return 0;
    const long quarter = std::lround(-angle / 90.0) % 4;
    return static_cast<int>((quarter + 4) % 4) * 90;
}

void CopyDisplayMatrix(const AVStream* from, AVStream* to) {
    size_t size = 0;
    const uint8_t* data = av_stream_get_side_data(from, AV_PKT_DATA_DISPLAYMATRIX, &size);
    if (!data)
        return;
    if (uint8_t* copy = av_stream_new_side_data(to, AV_PKT_DATA_DISPLAYMATRIX, size))
        std::memcpy(copy, data, size);
}

const AVFrame* TPictureRotator::Turnable(const AVFrame* src, int degrees) {
    const AVPixFmtDescriptor* d = av_pix_fmt_desc_get(static_cast<AVPixelFormat>(src->format));
    int steps[4];
    if (PlaneSteps(d, degrees, steps))
        return src;
    const AVPixelFormat planar = d && (d->flags & AV_PIX_FMT_FLAG_ALPHA) ? AV_PIX_FMT_YUVA444P : AV_PIX_FMT_YUV444P;
    toPlanar_.reset(sws_getCachedContext(toPlanar_.release(), src->width, src->height,
                                         static_cast<AVPixelFormat>(src->format), src->width, src->height, planar,
                                         SWS_BICUBIC, nullptr, nullptr, nullptr));
    if (!toPlanar_ || !EnsureFrame(converted_, planar, src->width, src->height))
        return nullptr;
    sws_scale(toPlanar_.get(), src->data, src->linesize, 0, src->height, converted_->data, converted_->linesize);
    return converted_.get();
}

const AVFrame* TPictureRotator::Turn(const AVFrame* src, int degrees) {
    if (degrees != 90 && degrees != 180 && degrees != 270)
        return src;
    const AVFrame* in = Turnable(src, degrees);
    if (!in)
        return nullptr;
    const int w = SwapsSides(degrees) ? in->height : in->width;
    const int h = SwapsSides(degrees) ? in->width : in->height;
    if (!EnsureFrame(turned_, in->format, w, h))
        return nullptr;
    const AVPixFmtDescriptor* d = av_pix_fmt_desc_get(static_cast<AVPixelFormat>(in->format));
    int steps[4];
    PlaneSteps(d, degrees, steps);
    for (int p = 0; p < 4; ++p) {
        if (!steps[p])
            continue;
        const bool chroma = ChromaPlane(d, p);
        const int pw = chroma ? AV_CEIL_RSHIFT(in->width, d->log2_chroma_w) : in->width;
        const int ph = chroma ? AV_CEIL_RSHIFT(in->height, d->log2_chroma_h) : in->height;
        TurnPlane(turned_->data[p], turned_->linesize[p], in->data[p], in->linesize[p], pw, ph, steps[p], degrees);
    }
    CopyPictureFacts(turned_.get(), src, degrees);
    return turned_.get();
}

}  // namespace tavrin
