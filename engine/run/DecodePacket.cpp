// Decoding one packet (or flushing at the end) and handing every decoded unit to the
// output streams it feeds; copied streams get the packet itself.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>

#include "common/FFMpegException.h"
#include "run/TranscodeRun.h"

namespace tavrin {
namespace {

int64_t ToMicros(int64_t t, AVRational tb) { return av_rescale_q(t, tb, AV_TIME_BASE_Q); }

// One picture's duration in microseconds: the frame's own when known, else the stream's rate.
int64_t PictureDuration(const AVFrame* f, const AVStream* st) {
    if (f && f->pkt_duration > 0)
        return ToMicros(f->pkt_duration, st->time_base);
    const AVRational rate = st->r_frame_rate.num ? st->r_frame_rate : st->avg_frame_rate;
    return rate.num ? av_rescale(1000000, rate.den, rate.num) : 0;
}

}  // namespace

bool TTranscodeRun::Started(const TInputStreamState& ist) const {
    return opt_.StartTime == 0 || ist.Pts >= opt_.StartTime;
}

int TTranscodeRun::DecodePacket(TInputStreamState& ist, const AVPacket* pkt) {
    if (ist.NextPts == AV_NOPTS_VALUE)
        ist.NextPts = ist.Pts;
    if (pkt && pkt->dts != AV_NOPTS_VALUE)
        ist.NextPts = ist.Pts = ToMicros(pkt->dts, ist.Stream->time_base);
    if (!ist.DecodingNeeded) {
        if (pkt)
            CopyPacket(ist, pkt);
        return 0;
    }
    const int ret = ist.Stream->codecpar->codec_type == AVMEDIA_TYPE_SUBTITLE ? DecodeSubtitle(ist, pkt)
                                                                               : ReceiveFrames(ist, pkt);
    if (ret < 0)
        return ret;
    if (!pkt)
        FlushEncoders(ist);
    return 0;
}

// Sends the packet (none flushes) and handles every unit the decoder gives back.
int TTranscodeRun::ReceiveFrames(TInputStreamState& ist, const AVPacket* pkt) {
    const AVMediaType type = ist.Stream->codecpar->codec_type;
    if (type != AVMEDIA_TYPE_AUDIO && type != AVMEDIA_TYPE_VIDEO)
        return -1;
    int ret = avcodec_send_packet(ist.Dec, pkt);
    if (ret < 0 && ret != AVERROR_EOF)
        return -1;
    AVFrame* frame = ist.Decoded.get();
    for (;;) {
        ret = avcodec_receive_frame(ist.Dec, frame);
        if (ret == AVERROR(EAGAIN) || ret == AVERROR_EOF)
            return 0;
        if (ret < 0)
            return -1;
        ist.Pts = ist.NextPts;
        if (type == AVMEDIA_TYPE_AUDIO)
            HandleDecodedAudio(ist, pkt);
        else
            HandleDecodedVideo(ist);
        av_frame_unref(frame);
    }
}

void TTranscodeRun::HandleDecodedAudio(TInputStreamState& ist, const AVPacket*) {
    AVFrame* f = ist.Decoded.get();
    const int channels = f->ch_layout.nb_channels;
    if (channels <= 0 || f->sample_rate <= 0)
        return;
    const size_t bytes = static_cast<size_t>(f->nb_samples) * 2 * channels;
    if (ist.Samples.size() < std::max<size_t>(bytes, 192000))
        ist.Samples.resize(std::max<size_t>(bytes, 192000));
    uint8_t* out = ist.Samples.data();
    if (f->format == AV_SAMPLE_FMT_S16) {
        std::copy_n(f->data[0], bytes, out);
    } else {
        if (!ist.ToS16) {
            SwrContext* s = nullptr;
            swr_alloc_set_opts2(&s, &f->ch_layout, AV_SAMPLE_FMT_S16, f->sample_rate, &f->ch_layout,
                                static_cast<AVSampleFormat>(f->format), f->sample_rate, 0, nullptr);
            ist.ToS16.reset(s);
            if (!s || swr_init(s) < 0)
                throw FFMpegException("Can not convert decoded audio to 16-bit samples");
        }
        swr_convert(ist.ToS16.get(), &out, f->nb_samples, const_cast<const uint8_t**>(f->extended_data), f->nb_samples);
    }
    ist.NextPts += static_cast<int64_t>(f->nb_samples) * 1000000 / f->sample_rate;
    if (opt_.AudioVolume != 256) {
        auto* s = reinterpret_cast<int16_t*>(out);
        for (size_t i = 0; i < bytes / 2; ++i)
            s[i] = static_cast<int16_t>(std::clamp((s[i] * opt_.AudioVolume + 128) >> 8, -32768, 32767));
    }
    EmulateRate(ist);
    if (!Started(ist))
        return;
    for (TOutputStreamState& ost : ost_)
        if (&ist_[static_cast<size_t>(ost.SourceIndex)] == &ist && ost.EncodingNeeded)
            EncodeAudio(ost, ist, out, static_cast<int>(bytes));
}

void TTranscodeRun::HandleDecodedVideo(TInputStreamState& ist) {
    AVFrame* f = ist.Decoded.get();
    ist.Quality = static_cast<float>(f->quality);
    ist.NextPts += PictureDuration(f, ist.Stream);
    const PictureRef work = task_.Hooks.Preprocess(f, ist.Pts, opt_.Deinterlace);
    if (work.data[0] != f->data[0]) {
        // The hooks worked on their own copy: encode that one.
        av_frame_unref(f);
        f->format = ist.Dec->pix_fmt;
        for (int i = 0; i < 4; ++i) {
            f->data[i] = work.data[i];
            f->linesize[i] = work.linesize[i];
        }
        f->width = ist.Dec->width;
        f->height = ist.Dec->height;
    }
    EmulateRate(ist);
    if (!Started(ist))
        return;
    for (TOutputStreamState& ost : ost_) {
        if (&ist_[static_cast<size_t>(ost.SourceIndex)] != &ist || !ost.EncodingNeeded)
            continue;
        const int size = EncodeVideo(ost, ist, f);
        if (opt_.VideoStatsFileName && size > 0)
            WriteVideoStats(ost, size);
    }
}

int TTranscodeRun::DecodeSubtitle(TInputStreamState& ist, const AVPacket* pkt) {
    if (!pkt)
        return 0;
    AVSubtitle sub{};
    int got = 0;
    if (avcodec_decode_subtitle2(ist.Dec, &sub, &got, const_cast<AVPacket*>(pkt)) < 0)
        return -1;
    if (!got)
        return 0;
    if (Started(ist))
        for (TOutputStreamState& ost : ost_)
            if (&ist_[static_cast<size_t>(ost.SourceIndex)] == &ist && ost.EncodingNeeded)
                EncodeSubtitle(ost, ist, &sub, pkt->pts);
    avsubtitle_free(&sub);
    return 0;
}

// Reads no faster than the input's own rate, for live-like inputs: a unit is released when
// the wall clock since the start has caught up with its time in the stream.
void TTranscodeRun::EmulateRate(TInputStreamState& ist) {
    if (!ist.RateEmulation)
        return;
    const int64_t pts = ist.Pts;
    const int64_t now = av_gettime() - ist.Start;
    if (pts - now > 50000)
        std::this_thread::sleep_for(std::chrono::microseconds(pts - now));
    ++ist.Frame;
}

void TTranscodeRun::CopyPacket(TInputStreamState& ist, const AVPacket* pkt) {
    ist.Pts = ist.NextPts;
    const AVCodecParameters* par = ist.Stream->codecpar;
    if (par->codec_type == AVMEDIA_TYPE_AUDIO && par->sample_rate > 0)
        ist.NextPts += pkt->duration > 0 ? ToMicros(pkt->duration, ist.Stream->time_base)
                                         : static_cast<int64_t>(par->frame_size) * 1000000 / par->sample_rate;
    else if (par->codec_type == AVMEDIA_TYPE_VIDEO)
        ist.NextPts += pkt->duration > 0 ? ToMicros(pkt->duration, ist.Stream->time_base) : PictureDuration(nullptr, ist.Stream);
    EmulateRate(ist);
    if (!Started(ist))
        return;
    for (TOutputStreamState& ost : ost_)
        if (&ist_[static_cast<size_t>(ost.SourceIndex)] == &ist && !ost.EncodingNeeded)
            CopyToOutput(ost, ist, pkt);
}

void TTranscodeRun::CopyToOutput(TOutputStreamState& ost, TInputStreamState& ist, const AVPacket* pkt) {
    if (ost.FrameNumber == 0 && !(pkt->flags & AV_PKT_FLAG_KEY))
        return;
    const AVRational inTb = ist.Stream->time_base;
    const AVRational outTb = ost.Stream->time_base;
    AVPacket* out = outPacket_.get();
    if (av_packet_ref(out, pkt) < 0)
        throw FFMpegException("av_malloc fail");
    out->stream_index = ost.Index;
    out->pts = pkt->pts == AV_NOPTS_VALUE ? AV_NOPTS_VALUE : av_rescale_q(pkt->pts, inTb, outTb);
    out->dts = pkt->dts == AV_NOPTS_VALUE ? av_rescale_q(ist.Pts, AV_TIME_BASE_Q, outTb) : av_rescale_q(pkt->dts, inTb, outTb);
    out->duration = av_rescale_q(pkt->duration, inTb, outTb);
    if (ost.Stream->codecpar->codec_type == AVMEDIA_TYPE_AUDIO) {
        AudioBytes += pkt->size;
    } else if (ost.Stream->codecpar->codec_type == AVMEDIA_TYPE_VIDEO) {
        VideoBytes += pkt->size;
        ++ost.SyncOpts;
    }
    WritePacket(ost, out);
    ++ost.FrameNumber;
}

}  // namespace tavrin
