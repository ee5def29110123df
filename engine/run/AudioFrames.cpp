// Audio at the encoder: whole frames from the FIFO, the encoder's own sample format, and
// the last partial frame at the end of the input.
#include <cstring>

#include "common/FFMpegException.h"
#include "run/TranscodeRun.h"

namespace tavrin {
namespace {

size_t BytesPerSample(const TOutputStreamState& ost) { return 2 * static_cast<size_t>(ost.Enc->ch_layout.nb_channels); }

// Encoders with a frame size take whole frames (only the last may be short); the others
// take any number of samples at once.
bool Framed(const AVCodecContext* enc) {
    return enc->frame_size > 1 && !(enc->codec->capabilities & AV_CODEC_CAP_VARIABLE_FRAME_SIZE);
}

}  // namespace

void TTranscodeRun::EncodeAudioFrames(TOutputStreamState& ost, const uint8_t* data, int size) {
    const size_t bytesPerSample = BytesPerSample(ost);
    if (!Framed(ost.Enc)) {
        const int samples = static_cast<int>(static_cast<size_t>(size) / bytesPerSample);
        SendAudioFrame(ost, data, samples);
        ost.SyncOpts += samples;
        return;
    }
    ost.Fifo.insert(ost.Fifo.end(), data, data + size);
    const size_t frameBytes = static_cast<size_t>(ost.Enc->frame_size) * bytesPerSample;
    while (ost.Fifo.size() - ost.FifoStart >= frameBytes) {
        SendAudioFrame(ost, ost.Fifo.data() + ost.FifoStart, ost.Enc->frame_size);
        ost.FifoStart += frameBytes;
        ost.SyncOpts += ost.Enc->frame_size;
    }
    if (ost.FifoStart > ost.Fifo.size() / 2) {
        ost.Fifo.erase(ost.Fifo.begin(), ost.Fifo.begin() + static_cast<ptrdiff_t>(ost.FifoStart));
        ost.FifoStart = 0;
    }
}

// Hands 16-bit interleaved samples to the encoder in its own sample format, stamped with
// their place on the output's sample-count timeline.
void TTranscodeRun::SendAudioFrame(TOutputStreamState& ost, const uint8_t* data, int samples) {
    if (samples <= 0)
        return;
    AVCodecContext* enc = ost.Enc;
    AVFrame* f = ost.AudioFrame.get();
    if (!av_frame_is_writable(f) || f->nb_samples != samples) {
        av_frame_unref(f);
        f->format = enc->sample_fmt;
        f->nb_samples = samples;
        f->sample_rate = enc->sample_rate;
        if (av_channel_layout_copy(&f->ch_layout, &enc->ch_layout) < 0 || av_frame_get_buffer(f, 0) < 0)
            throw FFMpegException("av_malloc fail");
    }
    if (enc->sample_fmt == AV_SAMPLE_FMT_S16) {
        std::memcpy(f->data[0], data, static_cast<size_t>(samples) * BytesPerSample(ost));
    } else {
        if (!ost.ToEncoder) {
            const TAudioShape s16(enc->sample_rate, enc->ch_layout, AV_SAMPLE_FMT_S16);
            ost.ToEncoder = MakeAudioConverter(s16.As(enc->sample_fmt), s16);
        }
        if (!ost.ToEncoder)
            throw FFMpegException("Can not convert audio to the encoder's sample format");
        swr_convert(ost.ToEncoder.get(), f->extended_data, samples, &data, samples);
    }
    f->pts = ost.SyncOpts;
    FramePtr ref = MakeFrame();
    if (!ref || av_frame_ref(ref.get(), f) < 0)
        throw FFMpegException("av_malloc fail");
    ost.EncodeStage->Post([this, &ost, ref = std::move(ref)] {
        if (avcodec_send_frame(ost.Enc, ref.get()) < 0)
            throw FFMpegException("Audio encoding failed");
        DrainEncoder(ost);
    });
}

// At the end of the input no sample stays behind: what the converter still holds, then the
// last partial frame, short for an encoder that takes a short last frame and padded with
// silence to a whole frame for one that takes whole frames only.
void TTranscodeRun::FlushAudio(TOutputStreamState& ost) {
    if (ost.Resampler)
        DrainResampler(ost);
    const size_t bytesPerSample = BytesPerSample(ost);
    const int left = static_cast<int>((ost.Fifo.size() - ost.FifoStart) / bytesPerSample);
    if (left > 0) {
        const bool shortLast = ost.Enc->codec->capabilities & AV_CODEC_CAP_SMALL_LAST_FRAME;
        const int samples = shortLast ? left : ost.Enc->frame_size;
        ost.Fifo.resize(ost.FifoStart + static_cast<size_t>(samples) * bytesPerSample, 0);
        SendAudioFrame(ost, ost.Fifo.data() + ost.FifoStart, samples);
        ost.SyncOpts += samples;
    }
    ost.Fifo.clear();
    ost.FifoStart = 0;
}

}  // namespace tavrin
