// Adding video, audio and subtitle streams to an output, with their encoder settings.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "common/FFMpegException.h"
#include "options/FFmpeg.h"
#include "options/OptionContexts.h"
#include "setup/EncoderChoices.h"
#include "setup/TaskFiles.h"
#include "binding/PictureFormat.h"
#include "binding/PrivateOptions.h"

namespace tavrin {
namespace {

constexpr AVMediaType kTypeOf[] = {AVMEDIA_TYPE_VIDEO, AVMEDIA_TYPE_AUDIO, AVMEDIA_TYPE_DATA,
                                   AVMEDIA_TYPE_SUBTITLE, AVMEDIA_TYPE_ATTACHMENT};

bool WantsGlobalHeader(int videoGlobalHeader, const AVOutputFormat* fmt) {
    return (videoGlobalHeader & 1) || (videoGlobalHeader == 0 && (fmt->flags & AVFMT_GLOBALHEADER));
}

// An encoder context of the codec's own defaults (or a bare one for copies).
CodecContextPtr NewEncoderContext(int codecId, TMediaKind kind, int threadCount) {
    const AVCodec* codec = codecId ? avcodec_find_encoder(static_cast<AVCodecID>(codecId)) : nullptr;
    CodecContextPtr e(avcodec_alloc_context3(codec));
    if (!e)
        throw FFMpegException("Could not alloc stream");
    e->codec_type = kTypeOf[kind];
    e->codec_id = static_cast<AVCodecID>(codecId);
    e->thread_count = threadCount;
    return e;
}

// A forced codec tag, and global headers when the container keeps them apart.
void SetTagAndHeaders(AVCodecContext* e, uint32_t tag, bool globalHeader) {
    if (tag)
        e->codec_tag = tag;
    if (globalHeader)
        e->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
}

// A picture side with its padding; a sum beyond what a picture can have is refused.
int PaddedSize(int size, int padA, int padB) {
    const int64_t sum = int64_t{size} + padA + padB;
    if (sum > std::numeric_limits<int>::max())
        throw FFMpegException("Incorrect frame size");
    return static_cast<int>(sum);
}

}  // namespace

// The listed rate nearest to fps; ties keep the earlier entry.
AVRational NearestFrameRate(AVRational fps, const AVRational* list) {
    AVRational best = list[0];
    AVRational bestError{0, 0};
    for (const AVRational* r = list; r->num || r->den; ++r) {
        AVRational err;
        av_reduce(&err.num, &err.den, std::llabs(static_cast<int64_t>(fps.num) * r->den - static_cast<int64_t>(r->num) * fps.den),
                  static_cast<int64_t>(fps.den) * r->den, 2147483647);
        if (r == list || static_cast<int64_t>(err.num) * bestError.den < static_cast<int64_t>(bestError.num) * err.den) {
            best = *r;
            bestError = err;
        }
    }
    return best;
}

// The sample aspect ratio that shows the picture at the display aspect ratio,
// with numerator and denominator at most 255.
AVRational SampleAspectFor(float displayAspect, int width, int height) {
    if (width <= 0 || height <= 0)
        return {0, 1};
    const double x = static_cast<double>(displayAspect) * height / width;
    const int k = std::max(0, static_cast<int>(std::lround(std::log2(std::fabs(x) + 1e-20))));
    const int64_t d = int64_t{1} << (29 - k);
    AVRational r;
    av_reduce(&r.num, &r.den, static_cast<int64_t>(std::llround(x * d + 0.5)), d, 255);
    return r;
}

// "start,end,q/start,end,q..." into the encoder's rate-control overrides.
std::vector<RcOverride> ParseRcOverride(const std::string& text) {
    std::vector<RcOverride> list;
    size_t pos = 0;
    while (pos <= text.size()) {
        const size_t slash = std::min(text.find('/', pos), text.size());
        const std::string item = text.substr(pos, slash - pos);
        int start = 0, end = 0, q = 0;
        if (std::sscanf(item.c_str(), "%d,%d,%d", &start, &end, &q) != 3)
            throw FFMpegException("error parsing rc_override");
        RcOverride o{};
        o.start_frame = start;
        o.end_frame = end;
        o.qscale = q > 0 ? q : 0;
        o.quality_factor = q > 0 ? 1.0f : static_cast<float>(-q) / 100.0f;
        list.push_back(o);
        pos = slash + 1;
    }
    return list;
}

void TCustomFFmpeg::NewStream(TOutputFile& out, TMediaKind kind) {
    std::optional<std::string>* names[] = {&Opt.VideoCodecName, &Opt.AudioCodecName, nullptr,
                                           &Opt.SubtitleCodecName, nullptr};
    AVStream* st = avformat_new_stream(out.Context.get(), nullptr);
    if (!st) {
        if (names[kind])
            names[kind]->reset();
        throw FFMpegException("Could not alloc stream");
    }
    TOutputStreamInfo info;
    try {
        if (kind == mkVideo)
            info = MakeVideoEncoder(out);
        else if (kind == mkAudio)
            info = MakeAudioEncoder(out, st);
        else
            info = MakeSubtitleEncoder(st);
    } catch (...) {
        ResetStreamKind(kind);
        throw;
    }
    ResetStreamKind(kind);
    st->codecpar->codec_type = kTypeOf[kind];
    out.Streams.push_back(std::move(info));
}

void TCustomFFmpeg::ResetStreamKind(TMediaKind kind) {
    if (kind == mkVideo) {
        Opt.VideoDisable = Opt.VideoStreamCopy = false;
        Opt.VideoCodecName.reset();
    } else if (kind == mkAudio) {
        Opt.AudioDisable = Opt.AudioStreamCopy = false;
        Opt.AudioCodecName.reset();
    } else {
        Opt.SubtitleDisable = Opt.SubtitleStreamCopy = false;
        Opt.SubtitleCodecName.reset();
    }
}

int TCustomFFmpeg::EncoderIdFor(TMediaKind kind, const TOutputFile& out) {
    const std::optional<std::string>& name =
        kind == mkVideo ? Opt.VideoCodecName : kind == mkAudio ? Opt.AudioCodecName : Opt.SubtitleCodecName;
    int id = 0;
    if (name) {
        if (!FindCodec(name, kind, true, id))
            throw FFMpegException(ErrorText);
        return id;
    }
    if (kind == mkSubtitle)
        return 0;
    return av_guess_codec(out.Context->oformat, nullptr, out.FileName.c_str(), nullptr, kTypeOf[kind]);
}

TOutputStreamInfo TCustomFFmpeg::MakeVideoEncoder(const TOutputFile& out) {
    TOutputStreamInfo info;
    info.StreamCopy = Opt.VideoStreamCopy;
    info.Encoder = NewEncoderContext(info.StreamCopy ? 0 : EncoderIdFor(mkVideo, out), mkVideo, Opt.ThreadCount);
    AVCodecContext* e = info.Encoder.get();
    SetTagAndHeaders(e, Opt.VideoCodecTag, WantsGlobalHeader(Opt.VideoGlobalHeader, out.Context->oformat));
    if (Opt.VideoGlobalHeader & 2)
        e->flags2 |= AV_CODEC_FLAG2_LOCAL_HEADER;
    if (info.StreamCopy)
        return info;
    ApplyContextOptions(e, optionContexts_->codec[mkVideo].get(), AV_OPT_FLAG_VIDEO_PARAM | AV_OPT_FLAG_ENCODING_PARAM);
    ApplyPrivateOptions(e, Opt.EncoderPrivateOptions[mkVideo]);
    SetVideoGeometry(e);
    SetVideoRateControl(e, info);
    return info;
}

void TCustomFFmpeg::SetVideoGeometry(AVCodecContext* e) {
    AVRational fps{Opt.FrameRate.num, Opt.FrameRate.den};
    if (fps.num == 0)
        fps = {25, 1};
    const AVCodec* codec = avcodec_find_encoder(e->codec_id);
    if (codec && codec->supported_framerates)
        fps = NearestFrameRate(fps, codec->supported_framerates);
    e->time_base = {fps.den, fps.num};
    e->framerate = fps;
    e->width = PaddedSize(Opt.FrameWidth, Opt.PadLeft, Opt.PadRight);
    e->height = PaddedSize(Opt.FrameHeight, Opt.PadTop, Opt.PadBottom);
    if (e->width > 0 && e->height > 0 && av_image_check_size(static_cast<unsigned>(e->width), static_cast<unsigned>(e->height), 0, nullptr) < 0)
        throw FFMpegException("Incorrect frame size");
    e->sample_aspect_ratio = SampleAspectFor(Opt.FrameAspectRatio, e->width, e->height);
    // The source's format (or the one asked for) when the encoder and its profile take it.
    e->pix_fmt = EncoderPixelFormat(e, static_cast<AVPixelFormat>(Opt.FramePixFmt));
}

void TCustomFFmpeg::SetVideoRateControl(AVCodecContext* e, TOutputStreamInfo& info) {
    if (Opt.IntraOnly)
        e->gop_size = 0;
    if (Opt.VideoQScale != 0 || Opt.SameQuality) {
        e->flags |= AV_CODEC_FLAG_QSCALE;
        info.Quality = Opt.VideoQScale * FF_QP2LAMBDA;
        e->global_quality = static_cast<int>(info.Quality);
    }
    auto copyMatrix = [](const std::optional<std::array<uint16_t, 64>>& m, uint16_t*& dst) {
        if (!m)
            return;
        dst = static_cast<uint16_t*>(av_malloc(sizeof(uint16_t) * 64));
        if (dst)
            std::copy(m->begin(), m->end(), dst);
    };
    copyMatrix(Opt.IntraMatrix, e->intra_matrix);
    copyMatrix(Opt.InterMatrix, e->inter_matrix);
    if (Opt.VideoRcOverride) {
        const std::vector<RcOverride> list = ParseRcOverride(*Opt.VideoRcOverride);
        e->rc_override = static_cast<RcOverride*>(av_malloc_array(list.size() + 1, sizeof(RcOverride)));
        if (e->rc_override) {
            std::copy(list.begin(), list.end(), e->rc_override);
            e->rc_override_count = static_cast<int>(list.size());
        }
    }
    if (e->rc_initial_buffer_occupancy == 0)
        e->rc_initial_buffer_occupancy = e->rc_buffer_size * 3 / 4;
    e->intra_dc_precision = Opt.IntraDcPrecision - 8;
    if (Opt.DoPsnr)
        e->flags |= AV_CODEC_FLAG_PSNR;
    if (Opt.DoPass == 1)
        e->flags |= AV_CODEC_FLAG_PASS1;
    else if (Opt.DoPass != 0)
        e->flags |= AV_CODEC_FLAG_PASS2;
}

TOutputStreamInfo TCustomFFmpeg::MakeAudioEncoder(const TOutputFile& out, AVStream* st) {
    TOutputStreamInfo info;
    info.StreamCopy = Opt.AudioStreamCopy;
    info.Encoder = NewEncoderContext(info.StreamCopy ? 0 : EncoderIdFor(mkAudio, out), mkAudio, Opt.ThreadCount);
    AVCodecContext* e = info.Encoder.get();
    SetTagAndHeaders(e, Opt.AudioCodecTag, out.Context->oformat->flags & AVFMT_GLOBALHEADER);
    if (!info.StreamCopy) {
        ApplyContextOptions(e, optionContexts_->codec[mkAudio].get(), AV_OPT_FLAG_AUDIO_PARAM | AV_OPT_FLAG_ENCODING_PARAM);
        ApplyPrivateOptions(e, Opt.EncoderPrivateOptions[mkAudio]);
        if (Opt.AudioQScale > -99999.0f) {
            e->flags |= AV_CODEC_FLAG_QSCALE;
            info.Quality = Opt.AudioQScale * FF_QP2LAMBDA;
            e->global_quality = static_cast<int>(info.Quality);
        }
        const AVCodec* codec = avcodec_find_encoder(e->codec_id);
        e->sample_fmt = codec && codec->sample_fmts ? codec->sample_fmts[0] : AV_SAMPLE_FMT_S16;
    }
    av_channel_layout_uninit(&e->ch_layout);
    av_channel_layout_default(&e->ch_layout, Opt.AudioChannels);
    e->sample_rate = Opt.AudioSampleRate;
    e->time_base = {1, Opt.AudioSampleRate};
    if (!Opt.AudioLanguage.empty()) {
        av_dict_set(&st->metadata, "language", Opt.AudioLanguage.substr(0, 3).c_str(), 0);
        Opt.AudioLanguage.clear();
    }
    return info;
}

TOutputStreamInfo TCustomFFmpeg::MakeSubtitleEncoder(AVStream* st) {
    TOutputStreamInfo info;
    info.StreamCopy = Opt.SubtitleStreamCopy;
    if (info.StreamCopy) {
        info.Encoder = NewEncoderContext(0, mkSubtitle, Opt.ThreadCount);
    } else {
        int id = 0;
        if (!FindCodec(Opt.SubtitleCodecName, mkSubtitle, true, id))
            throw FFMpegException(ErrorText);
        info.Encoder = NewEncoderContext(id, mkSubtitle, Opt.ThreadCount);
        ApplyContextOptions(info.Encoder.get(), optionContexts_->codec[mkSubtitle].get(),
                            AV_OPT_FLAG_SUBTITLE_PARAM | AV_OPT_FLAG_ENCODING_PARAM);
        ApplyPrivateOptions(info.Encoder.get(), Opt.EncoderPrivateOptions[mkSubtitle]);
    }
    if (!Opt.SubtitleLanguage.empty()) {
        av_dict_set(&st->metadata, "language", Opt.SubtitleLanguage.substr(0, 3).c_str(), 0);
        Opt.SubtitleLanguage.clear();
    }
    return info;
}

}  // namespace tavrin
