#include "binding/PictureFormat.h"

#include <cstring>

namespace tavrin {
namespace {

// What a profile lets the stream carry: bit depth, the least chroma subsampling (log2,
// horizontal and vertical) and whether grey pictures are allowed. Profiles left out allow
// whatever the encoder lists.
struct TProfileFormats {
    const char* Encoder;
    const char* Name;  // in the encoder's private "profile" option
    int Number;        // the generic profile number
    int MaxDepth;
    int ChromaShiftW, ChromaShiftH;
    bool Grey;
};

constexpr TProfileFormats kProfileFormats[] = {
    {"libx264", "baseline", FF_PROFILE_H264_BASELINE, 8, 1, 1, false},
    {"libx264", "baseline", FF_PROFILE_H264_CONSTRAINED_BASELINE, 8, 1, 1, false},
    {"libx264", "main", FF_PROFILE_H264_MAIN, 8, 1, 1, false},
    {"libx264", "high", FF_PROFILE_H264_HIGH, 8, 1, 1, true},
    {"libx264", "high10", FF_PROFILE_H264_HIGH_10, 10, 1, 1, true},
    {"libx264", "high422", FF_PROFILE_H264_HIGH_422, 10, 1, 0, true},
};

// The row of the profile enc is set to: the private option's name first, the number else.
const TProfileFormats* ProfileRow(const AVCodecContext* enc) {
    if (!enc->codec)
        return nullptr;
    uint8_t* name = nullptr;
    if (enc->priv_data && av_opt_get(enc->priv_data, "profile", 0, &name) < 0)
        name = nullptr;
    const TProfileFormats* found = nullptr;
    for (const TProfileFormats& row : kProfileFormats) {
        if (std::strcmp(row.Encoder, enc->codec->name) != 0)
            continue;
        const bool named = name && *name;
        if ((named && std::strcmp(row.Name, reinterpret_cast<const char*>(name)) == 0) ||
            (!named && enc->profile == row.Number)) {
            found = &row;
            break;
        }
    }
    av_free(name);
    return found;
}

int AssumedMatrix(int height) { return height > 576 ? AVCOL_SPC_BT709 : AVCOL_SPC_SMPTE170M; }

bool IsRgbLike(const AVPixFmtDescriptor* d) { return d && (d->flags & (AV_PIX_FMT_FLAG_RGB | AV_PIX_FMT_FLAG_PAL)); }

}  // namespace

bool ProfileAllowsFormat(const AVCodecContext* enc, AVPixelFormat format) {
    const TProfileFormats* row = ProfileRow(enc);
    if (!row)
        return true;
    const AVPixFmtDescriptor* d = av_pix_fmt_desc_get(format);
    if (!d || IsRgbLike(d) || (d->flags & AV_PIX_FMT_FLAG_HWACCEL))
        return false;
    if (d->nb_components < 3)
        return row->Grey && d->comp[0].depth <= row->MaxDepth;
    return d->comp[0].depth <= row->MaxDepth && d->log2_chroma_w >= row->ChromaShiftW &&
           d->log2_chroma_h >= row->ChromaShiftH;
}

AVPixelFormat EncoderPixelFormat(const AVCodecContext* enc, AVPixelFormat requested) {
    const AVPixelFormat* listed = enc->codec ? enc->codec->pix_fmts : nullptr;
    if (!listed)
        return requested == AV_PIX_FMT_NONE ? AV_PIX_FMT_YUV420P : requested;
    AVPixelFormat firstAllowed = AV_PIX_FMT_NONE;
    for (const AVPixelFormat* p = listed; *p != AV_PIX_FMT_NONE; ++p) {
        if (!ProfileAllowsFormat(enc, *p))
            continue;
        if (*p == requested)
            return requested;
        if (firstAllowed == AV_PIX_FMT_NONE)
            firstAllowed = *p;
    }
    return firstAllowed != AV_PIX_FMT_NONE ? firstAllowed : listed[0];
}

bool IsFullRangeFormat(AVPixelFormat format) {
    switch (format) {
    case AV_PIX_FMT_YUVJ420P: case AV_PIX_FMT_YUVJ422P: case AV_PIX_FMT_YUVJ444P:
    case AV_PIX_FMT_YUVJ440P: case AV_PIX_FMT_YUVJ411P:
        return true;
    default:
        return IsRgbLike(av_pix_fmt_desc_get(format));
    }
}

void DescribeOutputColours(AVCodecContext* enc, const AVCodecParameters* source) {
    if (enc->color_range == AVCOL_RANGE_UNSPECIFIED)
        enc->color_range = IsFullRangeFormat(enc->pix_fmt) ? AVCOL_RANGE_JPEG : AVCOL_RANGE_MPEG;
    if (IsRgbLike(av_pix_fmt_desc_get(enc->pix_fmt)) || enc->colorspace != AVCOL_SPC_UNSPECIFIED)
        return;
    const auto sourceFormat = static_cast<AVPixelFormat>(source->format);
    if (sourceFormat == AV_PIX_FMT_NONE || IsRgbLike(av_pix_fmt_desc_get(sourceFormat))) {
        enc->colorspace = static_cast<AVColorSpace>(AssumedMatrix(enc->height));
        return;
    }
    enc->colorspace = source->color_space != AVCOL_SPC_UNSPECIFIED && source->color_space != AVCOL_SPC_RGB
                          ? source->color_space
                          : static_cast<AVColorSpace>(AssumedMatrix(source->height));
    if (enc->color_primaries == AVCOL_PRI_UNSPECIFIED)
        enc->color_primaries = source->color_primaries;
    if (enc->color_trc == AVCOL_TRC_UNSPECIFIED)
        enc->color_trc = source->color_trc;
}

TPictureColours ColoursOf(const AVFrame* f) {
    const auto format = static_cast<AVPixelFormat>(f->format);
    const bool full = f->color_range == AVCOL_RANGE_JPEG || IsFullRangeFormat(format);
    const int matrix = f->colorspace != AVCOL_SPC_UNSPECIFIED ? f->colorspace : AssumedMatrix(f->height);
    return {f->format, full, matrix};
}

bool NeedsConversion(const TPictureColours& source, const AVCodecContext* enc) {
    return source.Format != enc->pix_fmt || source.FullRange != (enc->color_range == AVCOL_RANGE_JPEG);
}

SwsContext* MakeScaler(int srcWidth, int srcHeight, const TPictureColours& src, int width, int height,
                       const AVCodecContext* enc, int flags) {
    SwsContext* s = sws_alloc_context();
    if (!s)
        return nullptr;
    const bool dstFull = enc->color_range == AVCOL_RANGE_JPEG;
    av_opt_set_int(s, "srcw", srcWidth, 0);
    av_opt_set_int(s, "srch", srcHeight, 0);
    av_opt_set_int(s, "src_format", src.Format, 0);
    av_opt_set_int(s, "dstw", width, 0);
    av_opt_set_int(s, "dsth", height, 0);
    av_opt_set_int(s, "dst_format", enc->pix_fmt, 0);
    av_opt_set_int(s, "sws_flags", flags, 0);
    av_opt_set_int(s, "src_range", src.FullRange, 0);
    av_opt_set_int(s, "dst_range", dstFull, 0);
    if (sws_init_context(s, nullptr, nullptr) < 0) {
        sws_freeContext(s);
        return nullptr;
    }
    // The matrices matter where RGB and YUV meet; between YUV formats the samples keep theirs.
    const int dstMatrix = enc->colorspace != AVCOL_SPC_UNSPECIFIED ? enc->colorspace : AssumedMatrix(height);
    sws_setColorspaceDetails(s, sws_getCoefficients(src.Matrix), src.FullRange, sws_getCoefficients(dstMatrix),
                             dstFull, 0, 1 << 16, 1 << 16);
    return s;
}

}  // namespace tavrin
