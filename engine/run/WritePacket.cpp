// Taking packets from encoders and handing them to the muxer; subtitles; encoder flush.
#include <algorithm>
#include <cstdint>
#include <cstring>

#include "common/FFMpegException.h"
#include "run/TranscodeRun.h"

namespace tavrin {
namespace {

constexpr int kSubtitleBufferSize = 65536;

uint32_t ReadLE32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24); }

uint64_t ReadLE64(const uint8_t* p) {
    return static_cast<uint64_t>(ReadLE32(p)) | (static_cast<uint64_t>(ReadLE32(p + 4)) << 32);
}

}  // namespace

// Every packet the encoder has ready is written; returns the size of the last one. Runs on
// the stream's encoder stage.
int TTranscodeRun::DrainEncoder(TOutputStreamState& ost) {
    AVCodecContext* enc = ost.Enc;
    AVPacket* pkt = ost.Received.get();
    int last = 0;
    for (;;) {
        const int ret = avcodec_receive_packet(enc, pkt);
        if (ret == AVERROR(EAGAIN) || ret == AVERROR_EOF)
            return last;
        if (ret < 0)
            throw FFMpegException(enc->codec_type == AVMEDIA_TYPE_VIDEO ? "Video encoding failed" : "Audio encoding failed");
        size_t sdSize = 0;
        if (const uint8_t* sd = av_packet_get_side_data(pkt, AV_PKT_DATA_QUALITY_STATS, &sdSize); sd && sdSize >= 6) {
            std::lock_guard lock(statsLock_);
            ost.LastQuality = static_cast<int>(ReadLE32(sd));
            ost.LastPictType = av_get_picture_type_char(static_cast<AVPictureType>(sd[4]));
            for (int i = 0; i < std::min<int>(sd[5], 3) && sdSize >= 8 + 8 * static_cast<size_t>(i + 1); ++i) {
                ost.LastError[i] = ReadLE64(sd + 8 + 8 * i);
                ost.TotalError[i] += ost.LastError[i];
            }
        }
        if (ost.PassLogFile && enc->stats_out)
            std::fprintf(ost.PassLogFile.get(), "%s", enc->stats_out);
        last = pkt->size;
        // A picture lasts one tick of the encoder's clock; video encoders leave that unsaid.
        if (enc->codec_type == AVMEDIA_TYPE_VIDEO && pkt->duration <= 0)
            pkt->duration = 1;
        av_packet_rescale_ts(pkt, enc->time_base, ost.Stream->time_base);
        pkt->stream_index = ost.Index;
        WritePacket(ost, pkt);
    }
}

// Counts the packet as the stream's and hands it to the writer, which takes its data.
void TTranscodeRun::WritePacket(TOutputStreamState& ost, AVPacket* pkt) {
    {
        std::lock_guard lock(statsLock_);
        // The stream has reached the end of its latest packet, which with reordered pictures
        // need not be the one written last.
        const int64_t at = pkt->pts != AV_NOPTS_VALUE ? pkt->pts : pkt->dts;
        if (at != AV_NOPTS_VALUE && (ost.LastPts == AV_NOPTS_VALUE || at + pkt->duration > ost.LastPts))
            ost.LastPts = at + pkt->duration;
        ++ost.PacketsWritten;
        const AVMediaType type = ost.Enc->codec_type;
        if (type == AVMEDIA_TYPE_VIDEO)
            VideoBytes += pkt->size;
        else if (type == AVMEDIA_TYPE_AUDIO)
            AudioBytes += pkt->size;
    }
    if (!pipelined_) {
        MuxPacket(ost, pkt);
        return;
    }
    PacketPtr own = MakePacket();
    if (!own)
        throw FFMpegException("av_malloc fail");
    av_packet_move_ref(own.get(), pkt);
    writer_->Post([this, &ost, own = std::move(own)] { MuxPacket(ost, own.get()); });
}

void TTranscodeRun::MuxPacket(const TOutputStreamState& ost, AVPacket* pkt) {
    AVFormatContext* oc = files_.Outputs[static_cast<size_t>(ost.FileIndex)].Context.get();
    const int ret = av_interleaved_write_frame(oc, pkt);
    av_packet_unref(pkt);
    if (ret < 0)
        throw FFMpegException(ErrorTextFor("av_interleaved_write_frame()", ret));
    if (pipelined_ && ost.FileIndex == 0 && oc->pb)
        outputBytes_.store(std::max(avio_size(oc->pb), avio_tell(oc->pb)), std::memory_order_relaxed);
}

// The size of output 0 so far; while the writer works on its own thread, as it last saw it.
int64_t TTranscodeRun::OutputBytes(bool final) const {
    if (pipelined_ && !final)
        return outputBytes_.load(std::memory_order_relaxed);
    AVIOContext* pb = files_.Outputs[0].Context->pb;
    return pb ? std::max(avio_size(pb), avio_tell(pb)) : 0;
}

void TTranscodeRun::EncodeSubtitle(TOutputStreamState& ost, TInputStreamState& ist, AVSubtitle* sub, int64_t pts) {
    if (pts == AV_NOPTS_VALUE) {
        Log(0, "Subtitle packets must have a pts");
        return;
    }
    const bool dvb = ost.Enc->codec_id == AV_CODEC_ID_DVB_SUBTITLE;
    std::vector<uint8_t> buf(kSubtitleBufferSize);
    AVPacket* pkt = outPacket_.get();
    for (int i = 0; i < (dvb ? 2 : 1); ++i) {
        const int size = avcodec_encode_subtitle(ost.Enc, buf.data(), kSubtitleBufferSize, sub);
        if (size < 0 || av_new_packet(pkt, size) < 0)
            return;
        std::memcpy(pkt->data, buf.data(), static_cast<size_t>(size));
        pkt->stream_index = ost.Index;
        pkt->pts = av_rescale_q(pts, ist.Stream->time_base, ost.Stream->time_base);
        if (dvb)
            pkt->pts += av_rescale_q(i == 0 ? sub->start_display_time : sub->end_display_time, {1, 1000},
                                     ost.Stream->time_base);
        else if (sub->end_display_time > sub->start_display_time && sub->end_display_time < INT32_MAX)
            // Text formats keep how long a line shows in the packet's duration.
            pkt->duration = av_rescale_q(sub->end_display_time - sub->start_display_time, {1, 1000},
                                         ost.Stream->time_base);
        pkt->dts = pkt->pts;
        WritePacket(ost, pkt);
    }
}

// At the end of the input: the audio still waiting for a whole frame, then whatever the
// encoders still hold.
void TTranscodeRun::FlushEncoders(TInputStreamState& ist) {
    for (TOutputStreamState& ost : ost_) {
        if (&ist_[static_cast<size_t>(ost.SourceIndex)] != &ist || !ost.EncodingNeeded)
            continue;
        const AVMediaType type = ost.Enc->codec_type;
        if (type != AVMEDIA_TYPE_AUDIO && type != AVMEDIA_TYPE_VIDEO)
            continue;
        if (type == AVMEDIA_TYPE_AUDIO)
            FlushAudio(ost);
        FlushEncoder(ost);
    }
}

// Behind the pictures and sound already handed over.
void TTranscodeRun::FlushEncoder(TOutputStreamState& ost) {
    auto flush = [this, &ost] {
        if (avcodec_send_frame(ost.Enc, nullptr) >= 0)
            DrainEncoder(ost);
    };
    if (ost.PictureStage)
        ost.PictureStage->Post([&ost, flush] { ost.EncodeStage->Post(flush); });
    else
        ost.EncodeStage->Post(flush);
}

}  // namespace tavrin
