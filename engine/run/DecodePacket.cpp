// Decoding one packet (or flushing at the end) and handing every decoded unit to the
// output streams it feeds; copied streams get the packet itself.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>

#include "common/FFMpegException.h"
#include "run/TranscodeRun.h"
#include "binding/Picture.h"
#include "binding/SourceQuality.h"

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

// A frame-threaded decoder hands a picture back some packets after the one it came from,
// so the packet clock runs ahead of its pictures. Each picture starts where its own
// packet's time says, except that the pictures' clock never runs back: a decoder that
// labels several pictures alike still has them follow one another.
int64_t ThreadedPictureTime(TInputStreamState& ist, const AVFrame* f) {
    int64_t t = ist.PictureClock;
    if (f->pkt_dts != AV_NOPTS_VALUE) {
        const int64_t own = ToMicros(f->pkt_dts, ist.Stream->time_base);
        if (t == AV_NOPTS_VALUE || own > t)
            t = own;
    } else if (t == AV_NOPTS_VALUE) {
        t = ist.NextPts;
    }
    ist.PictureClock = t + PictureDuration(f, ist.Stream);
    return t;
}

bool FrameThreaded(const TInputStreamState& ist) {
    return ist.Type == AVMEDIA_TYPE_VIDEO && (ist.Dec->active_thread_type & FF_THREAD_FRAME);
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
    const int ret = ist.Type == AVMEDIA_TYPE_SUBTITLE ? DecodeSubtitle(ist, pkt)
                                                                               : ReceiveFrames(ist, pkt);
    if (ret < 0)
        return ret;
    if (!pkt)
        FlushEncoders(ist);
    return 0;
}

// Sends the packet (none flushes) and handles every unit the decoder gives back.
int TTranscodeRun::ReceiveFrames(TInputStreamState& ist, const AVPacket* pkt) {
    const AVMediaType type = ist.Type;
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
        if (FrameThreaded(ist))
            ist.NextPts = ThreadedPictureTime(ist, frame);
        ist.Pts = ist.NextPts;
        if (type == AVMEDIA_TYPE_AUDIO)
            HandleDecodedAudio(ist, pkt);
        else
            HandleDecodedVideo(ist, pkt);
        av_frame_unref(frame);
    }
}

void TTranscodeRun::HandleDecodedVideo(TInputStreamState& ist, const AVPacket* pkt) {
    AVFrame* f = ist.Decoded.get();
    if (const float q = PictureQuality(f, pkt); q > 0)
        ist.Quality = q;
    ist.NextPts += PictureDuration(f, ist.Stream);
    // Fields are undone before anything moves rows; then upright, so the hooks, crop, scale
    // and pad all see the picture a person sees.
    const AVFrame* pic = ProgressivePicture(ist, f);
    pic = ist.Rotation ? ist.Rotator.Turn(pic, ist.Rotation) : pic;
    if (!pic) {
        Log(0, "error rotating picture");
        return;
    }
    pic = HookedPicture(ist, pic);
    EmulateRate(ist);
    if (!Started(ist))
        return;
    for (TOutputStreamState& ost : ost_) {
        if (&ist_[static_cast<size_t>(ost.SourceIndex)] != &ist || !ost.EncodingNeeded)
            continue;
        // Pictures that a threaded decoder still held when the output reached its time limit
        // come out at the end; a one-thread run would not have decoded them.
        if (FrameThreaded(ist) && static_cast<double>(ost.SyncOpts) * av_q2d(ost.Enc->time_base) >=
                                      static_cast<double>(opt_.RecordingTime) / 1000000.0)
            continue;
        const int size = EncodeVideo(ost, ist, pic);
        if (opt_.VideoStatsFileName && size > 0)
            WriteVideoStats(ost, size);
    }
}

const AVFrame* TTranscodeRun::ProgressivePicture(TInputStreamState& ist, const AVFrame* pic) {
    if (!ist.Deinterlace || !pic->interlaced_frame)
        return pic;
    if (!ist.Deinterlaced)
        ist.Deinterlaced = MakeFrame();
    if (!ist.Deinterlaced || !DeinterlaceFrame(ist.Deinterlaced.get(), pic)) {
        Log(0, "deinterlace error.");
        ist.Deinterlace = false;  // said once; the pictures go on as they are
        return pic;
    }
    if (!ist.DeinterlaceLogged) {
        ist.DeinterlaceLogged = true;
        Log(1, "Input stream #" + std::to_string(ist.FileIndex) + "." + std::to_string(ist.Index) + " is interlaced (" +
                   (pic->top_field_first ? "top" : "bottom") + " field first): its pictures are deinterlaced");
    }
    return ist.Deinterlaced.get();
}

// The asked-for deinterlacing and the hooks; when they worked on their own copy, a view of that copy
// with the picture's own size, format and field order.
const AVFrame* TTranscodeRun::HookedPicture(TInputStreamState& ist, const AVFrame* pic) {
    const PictureRef work = task_.Hooks.Preprocess(pic, ist.Pts, opt_.Deinterlace);
    if (work.data[0] == pic->data[0])
        return pic;
    if (!ist.Hooked)
        ist.Hooked = MakeFrame();
    AVFrame* view = ist.Hooked.get();
    if (!view)
        throw FFMpegException("av_malloc fail");
    av_frame_unref(view);
    for (int i = 0; i < 4; ++i) {
        view->data[i] = work.data[i];
        view->linesize[i] = work.linesize[i];
    }
    view->format = pic->format;
    view->width = pic->width;
    view->height = pic->height;
    view->interlaced_frame = pic->interlaced_frame;
    view->top_field_first = pic->top_field_first;
    view->pict_type = pic->pict_type;
    return view;
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
    if (ist.Type == AVMEDIA_TYPE_AUDIO && ist.SampleRate > 0)
        ist.NextPts += pkt->duration > 0 ? ToMicros(pkt->duration, ist.Stream->time_base)
                                         : static_cast<int64_t>(ist.FrameSize) * 1000000 / ist.SampleRate;
    else if (ist.Type == AVMEDIA_TYPE_VIDEO)
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
    if (ost.Enc->codec_type == AVMEDIA_TYPE_VIDEO)
        ++ost.SyncOpts;
    WritePacket(ost, out);
    ++ost.FrameNumber;
}

}  // namespace tavrin
