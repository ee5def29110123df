// Video output: sync to the output frame rate (drop or duplicate), crop, scale, pad, encode.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "common/FFMpegException.h"
#include "options/OptionContexts.h"
#include "run/TranscodeRun.h"
#include "binding/PictureFormat.h"

namespace tavrin {
namespace {

// A view of the planes of pic without the frame's references.
void ShallowView(AVFrame* view, const AVFrame* pic) {
    for (int i = 0; i < 4; ++i) {
        view->data[i] = pic->data[i];
        view->linesize[i] = pic->linesize[i];
    }
    view->format = pic->format;
    view->width = pic->width;
    view->height = pic->height;
    view->color_range = pic->color_range;
    view->colorspace = pic->colorspace;
}

bool CropView(AVFrame* view, int top, int left, int bottom, int right) {
    view->crop_top = static_cast<size_t>(top);
    view->crop_left = static_cast<size_t>(left);
    view->crop_bottom = static_cast<size_t>(bottom);
    view->crop_right = static_cast<size_t>(right);
    return av_frame_apply_cropping(view, AV_FRAME_CROP_UNALIGNED) >= 0;
}

// Fills rows [y0, y1) and, on the other rows, columns [0, left) and [width - right, width).
void PaintPadding(AVFrame* f, int top, int bottom, int left, int right, const int color[3]) {
    const AVPixFmtDescriptor* d = av_pix_fmt_desc_get(static_cast<AVPixelFormat>(f->format));
    if (!d || (d->flags & AV_PIX_FMT_FLAG_RGB) || d->nb_components < 3)
        return;
    for (int p = 0; p < 3; ++p) {
        const int hs = p ? d->log2_chroma_w : 0, vs = p ? d->log2_chroma_h : 0;
        const int w = AV_CEIL_RSHIFT(f->width, hs), h = AV_CEIL_RSHIFT(f->height, vs);
        const int t = top >> vs, b = bottom >> vs, l = left >> hs, r = right >> hs;
        const auto c = static_cast<uint8_t>(color[p]);
        for (int y = 0; y < h; ++y) {
            uint8_t* row = f->data[p] + static_cast<ptrdiff_t>(y) * f->linesize[p];
            if (y < t || y >= h - b) {
                std::memset(row, c, static_cast<size_t>(w));
            } else {
                std::memset(row, c, static_cast<size_t>(l));
                std::memset(row + w - r, c, static_cast<size_t>(r));
            }
        }
    }
}

// The longest a single decoded picture is held on the output by duplication; beyond that
// its duration is taken for a damaged header rather than a still.
constexpr double kMaxHeldSeconds = 300;

}  // namespace

int TTranscodeRun::VideoSyncCount(TOutputStreamState& ost, TInputStreamState& ist) {
    const double tb = av_q2d(ost.Enc->time_base);
    const double ipts = static_cast<double>(ist.Pts - opt_.StartTime) / 1000000.0;
    const bool sync = opt_.VideoSyncMethod >= 1 || (opt_.VideoSyncMethod < 0 && tb > 0.001);
    if (!sync) {
        ost.SyncOpts = std::llrint(ipts / tb);
        return 1;
    }
    const double vdelta = ipts / tb - static_cast<double>(ost.SyncOpts);
    int nb = 1;
    if (vdelta < -1.1) {
        nb = 0;
    } else if (opt_.VideoSyncMethod == 2) {
        ost.SyncOpts = std::llrint(ipts / tb);
    } else if (vdelta > 1.1) {
        // A header that makes one picture last hours would have it written for hours: such a
        // duplication is skipped and the picture written once.
        const double bound = kMaxHeldSeconds / tb;
        if (vdelta - 1 > bound) {
            Log(0, std::to_string(std::llrint(std::min(vdelta - 1, 1e18))) + " frame duplication too large, skipping");
            return 1;
        }
        nb = static_cast<int>(std::lrint(vdelta));
    }
    if (nb == 0) {
        ++DropCount;
        if (task_.Verbosity > 2)
            Log(1, "*** drop!");
    } else if (nb > 1) {
        DupCount += nb;
        if (task_.Verbosity > 2)
            Log(1, "*** " + std::to_string(nb - 1) + " dup!");
    }
    return nb;
}

// Crop, scale and pad as set up for this stream; returns the picture to encode or null.
// Every picture is checked against the encoder's size and format on its own, so a source
// whose size or pixel format changes mid-stream still reaches the encoder as it expects.
const AVFrame* TTranscodeRun::FormatPicture(TOutputStreamState& ost, const AVFrame* pic) {
    const AVCodecContext* enc = ost.Enc;
    AVFrame* formatted = ost.Formatted.get();
    av_frame_unref(formatted);
    ShallowView(formatted, pic);
    if (ost.VideoCrop && !CropView(formatted, ost.CropTop, ost.CropLeft, opt_.CropBottom, opt_.CropRight)) {
        Log(0, "error cropping picture");
        return nullptr;
    }
    const int innerWidth = enc->width - ost.PadLeft - ost.PadRight;
    const int innerHeight = enc->height - ost.PadTop - ost.PadBottom;
    const bool scale = formatted->width != innerWidth || formatted->height != innerHeight ||
                       NeedsConversion(ColoursOf(formatted), enc);
    if (!scale && !ost.VideoPad)
        return ost.VideoCrop ? formatted : pic;
    AVFrame* temp = WritableTemp(ost, scale);
    AVFrame* target = ost.ScaleTarget.get();
    av_frame_unref(target);
    ShallowView(target, temp);
    if (ost.VideoPad && !CropView(target, ost.PadTop, ost.PadLeft, ost.PadBottom, ost.PadRight)) {
        Log(0, "error padding picture");
        return nullptr;
    }
    if (scale) {
        SwsContext* scaler = ScalerFor(ost, formatted, innerWidth, innerHeight);
        sws_scale(scaler, formatted->data, formatted->linesize, 0, formatted->height, target->data, target->linesize);
    } else {
        av_image_copy(target->data, target->linesize, const_cast<const uint8_t**>(formatted->data), formatted->linesize,
                      static_cast<AVPixelFormat>(temp->format), target->width, target->height);
    }
    if (ost.VideoPad)
        PaintPadding(temp, ost.PadTop, ost.PadBottom, ost.PadLeft, ost.PadRight, opt_.PadColor);
    return temp;
}

// The picture at the encoder's size and format, with a buffer of its own unless the encoder
// still holds the last one.
AVFrame* TTranscodeRun::WritableTemp(TOutputStreamState& ost, bool scale) {
    AVFrame* temp = ost.PictureTemp.get();
    if (temp->buf[0] && av_frame_is_writable(temp))
        return temp;
    av_frame_unref(temp);
    temp->format = ost.Enc->pix_fmt;
    temp->width = ost.Enc->width;
    temp->height = ost.Enc->height;
    if (av_frame_get_buffer(temp, 0) < 0)
        throw FFMpegException(scale ? "Cannot allocate temp picture, check pix fmt" : "avpicture_alloc fail");
    return temp;
}

// The scaler from pictures like src to width x height in the encoder's format, range and
// matrix; made again whenever the decoder starts delivering another size or colours.
SwsContext* TTranscodeRun::ScalerFor(TOutputStreamState& ost, const AVFrame* src, int width, int height) {
    auto& made = ost.ScalerSource;
    const TPictureColours colours = ColoursOf(src);
    if (ost.Scaler && made.width == src->width && made.height == src->height && made.colours == colours)
        return ost.Scaler.get();
    ost.Scaler.reset(MakeScaler(src->width, src->height, colours, width, height, ost.Enc, opt_.ScalerFlags));
    if (!ost.Scaler)
        throw FFMpegException("Cannot get resampling context");
    made.width = src->width;
    made.height = src->height;
    made.colours = colours;
    return ost.Scaler.get();
}

int TTranscodeRun::EncodeVideo(TOutputStreamState& ost, TInputStreamState& ist, const AVFrame* pic) {
    int nb = VideoSyncCount(ost, ist);
    nb = std::min(nb, opt_.MaxFrames[0] - ost.FrameNumber);
    if (nb <= 0)
        return 0;
    if (pipelined_) {
        HandPicture(ost, pic, ost.SyncOpts, nb, SendQuality(ost, ist));
        ost.SyncOpts += nb;
        ost.FrameNumber += nb;
        return 0;
    }
    const AVFrame* final = FormatPicture(ost, pic);
    if (!final)
        return 0;
    int written = 0;
    for (int i = 0; i < nb && !task_.CheckStop(); ++i) {
        written = SendPicture(ost, pic, final, ost.SyncOpts, SendQuality(ost, ist));
        ++ost.SyncOpts;
        ++ost.FrameNumber;
    }
    return written;
}

// The picture goes to the stream's picture stage with a reference of its own: the decoder,
// the deinterlacer and the hooks reuse their buffers for the next one.
void TTranscodeRun::HandPicture(TOutputStreamState& ost, const AVFrame* pic, int64_t pts, int count, float quality) {
    FramePtr ref = MakeFrame();
    if (!ref || av_frame_ref(ref.get(), pic) < 0)
        throw FFMpegException("av_malloc fail");
    ost.PictureStage->Post([this, &ost, ref = std::move(ref), pts, count, quality]() mutable {
        EncodePicture(ost, std::move(ref), pts, count, quality);
    });
}

// On the picture stage: crop, scale and pad, then to the encoder's stage the result with
// the source picture's field and type marks, which is all the encoder needs of it.
void TTranscodeRun::EncodePicture(TOutputStreamState& ost, FramePtr pic, int64_t pts, int count, float quality) {
    const AVFrame* final = FormatPicture(ost, pic.get());
    if (!final)
        return;
    FramePtr out = MakeFrame();
    if (!out || av_frame_ref(out.get(), final) < 0)
        throw FFMpegException("av_malloc fail");
    out->interlaced_frame = pic->interlaced_frame;
    out->top_field_first = pic->top_field_first;
    out->pict_type = pic->pict_type;
    pic.reset();
    ost.EncodeStage->Post([this, &ost, out = std::move(out), pts, count, quality] {
        for (int i = 0; i < count && !task_.StopRequested; ++i)
            SendPicture(ost, out.get(), out.get(), pts + i, quality);
    });
}

// With "sameq" the source picture's quantiser, once the source has told one; else the
// stream's fixed quantiser (0 when the encoder runs its own rate control).
float TTranscodeRun::SendQuality(const TOutputStreamState& ost, const TInputStreamState& ist) const {
    return opt_.SameQuality && ist.Quality > 0 ? ist.Quality : ost.StreamQuality;
}

int TTranscodeRun::SendPicture(TOutputStreamState& ost, const AVFrame* pic, const AVFrame* final, int64_t pts,
                               float quality) {
    AVCodecContext* enc = ost.Enc;
    AVFrame* f = ost.Picture.get();
    if (final->buf[0]) {
        if (av_frame_ref(f, final) < 0)
            throw FFMpegException("av_malloc fail");
    } else {
        ShallowView(f, final);  // the encoder copies pictures it does not share
    }
    f->interlaced_frame = pic->interlaced_frame;
    const AVCodecContext* videoOptions = task_.OptionContexts().codec[mkVideo].get();
    const int64_t flags = videoOptions ? videoOptions->flags : enc->flags;
    if (flags & (AV_CODEC_FLAG_INTERLACED_DCT | AV_CODEC_FLAG_INTERLACED_ME))
        f->top_field_first = opt_.TopFieldFirst == -1 ? pic->top_field_first : opt_.TopFieldFirst;
    f->quality = static_cast<int>(std::lrint(quality));
    f->pict_type = opt_.MotionEstimationThreshold == 0 ? AV_PICTURE_TYPE_NONE : pic->pict_type;
    f->sample_aspect_ratio = enc->sample_aspect_ratio;
    f->color_range = enc->color_range;
    f->colorspace = enc->colorspace;
    f->pts = pts;
    const int ret = avcodec_send_frame(enc, f);
    av_frame_unref(f);
    if (ret < 0)
        throw FFMpegException("Video encoding failed");
    return DrainEncoder(ost);
}

}  // namespace tavrin
