// Audio output: channel and rate conversion, sync to the output clock, encoder framing.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "common/FFMpegException.h"
#include "run/TranscodeRun.h"

namespace tavrin {
namespace {

constexpr int kMaxPaddedBytes = 131072;

std::string Printf(const char* fmt, double a, int b = 0, int c = 0) {
    char buf[160];
    std::snprintf(buf, sizeof buf, fmt, a, b, c);
    return buf;
}

int FifoSamples(const TOutputStreamState& ost) {
    return static_cast<int>((ost.Fifo.size() - ost.FifoStart) / (2 * static_cast<size_t>(ost.Enc->ch_layout.nb_channels)));
}

SwrContext* NewResampler(const AVChannelLayout* outLayout, int outRate, const AVChannelLayout* inLayout, int inRate,
                         AVSampleFormat outFormat) {
    SwrContext* s = nullptr;
    if (swr_alloc_set_opts2(&s, const_cast<AVChannelLayout*>(outLayout), outFormat, outRate,
                            const_cast<AVChannelLayout*>(inLayout), AV_SAMPLE_FMT_S16, inRate, 0, nullptr) < 0)
        return nullptr;
    if (swr_init(s) < 0)
        swr_free(&s);
    return s;
}

}  // namespace

void TTranscodeRun::EncodeAudio(TOutputStreamState& ost, TInputStreamState& ist, const uint8_t* buf, int size) {
    AVCodecContext* enc = ost.Enc;
    const AVCodecContext* dec = ist.Dec;
    const int encCh = enc->ch_layout.nb_channels, decCh = dec->ch_layout.nb_channels;
    if (encCh != decCh)
        ost.AudioResample = true;
    if (ost.AudioResample && !ost.Resampler) {
        ost.Resampler.reset(NewResampler(&enc->ch_layout, enc->sample_rate, &dec->ch_layout, dec->sample_rate,
                                         AV_SAMPLE_FMT_S16));
        if (!ost.Resampler) {
            char text[128];
            std::snprintf(text, sizeof text, "Can not resample %d channels @ %d Hz to %d channels @ %d Hz", decCh,
                          dec->sample_rate, encCh, enc->sample_rate);
            throw FFMpegException(text);
        }
    }
    if (opt_.AudioSyncMethod != 0) {
        buf = SyncAudio(ost, ist, buf, size);
        if (!buf)
            return;
    } else {
        const double ipts = static_cast<double>(ist.Pts - opt_.StartTime) / 1000000.0;
        ost.SyncOpts = std::llrint(ipts * enc->sample_rate) - FifoSamples(ost);
    }
    if (!ost.AudioResample) {
        EncodeAudioFrames(ost, buf, size);
        return;
    }
    const int inSamples = size / (2 * decCh);
    const int capacity = swr_get_out_samples(ost.Resampler.get(), inSamples);
    scratch_.resize(std::max<size_t>(scratch_.size(), static_cast<size_t>(capacity) * 2 * encCh));
    uint8_t* out = scratch_.data();
    const int got = swr_convert(ost.Resampler.get(), &out, capacity, &buf, inSamples);
    if (got > 0)
        EncodeAudioFrames(ost, out, got * 2 * encCh);
}

// Pads a late first chunk with silence, drops what comes too early, or stretches gently
// when the drift is small. Returns the data to encode (size updated), or null for none.
const uint8_t* TTranscodeRun::SyncAudio(TOutputStreamState& ost, TInputStreamState& ist, const uint8_t* buf, int& size) {
    const AVCodecContext* enc = ost.Enc;
    const int decCh = ist.Dec->ch_layout.nb_channels;
    const double ipts = static_cast<double>(ist.Pts - opt_.StartTime) / 1000000.0;
    const double delta = ipts * enc->sample_rate - static_cast<double>(ost.SyncOpts) - FifoSamples(ost);
    int byteDelta = static_cast<int>(std::trunc(delta * ist.Dec->sample_rate / enc->sample_rate)) * 2 * decCh;
    if (std::fabs(delta) <= 50)
        return buf;
    if (ist.IsStart || std::fabs(delta) > opt_.AudioDriftThreshold * enc->sample_rate) {
        if (byteDelta < 0) {
            byteDelta = std::max(byteDelta, -size);
            buf += -byteDelta;
            size += byteDelta;
            if (task_.Verbosity > 2)
                Log(1, "discarding " + std::to_string(static_cast<int>(std::trunc(-delta))) + " audio samples");
            if (size <= 0)
                return nullptr;
            ist.IsStart = false;
            return buf;
        }
        int added = static_cast<int>(std::trunc(delta));
        if (byteDelta + size <= kMaxPaddedBytes) {
            ist.IsStart = false;
        } else {
            // A chunk larger than the padding limit gets none: never a negative length.
            byteDelta = std::max(0, kMaxPaddedBytes - size);
            added = byteDelta / (2 * decCh);
        }
        if (byteDelta == 0)
            return buf;
        silence_.assign(static_cast<size_t>(byteDelta), 0);
        silence_.insert(silence_.end(), buf, buf + size);
        size += byteDelta;
        if (task_.Verbosity > 2) {
            char line[96];
            std::snprintf(line, sizeof line, "adding %d audio samples of silence", added);
            Log(1, line);
        }
        return silence_.data();
    }
    if (opt_.AudioSyncMethod > 1 && ost.Resampler) {
        const int comp = std::clamp(static_cast<int>(std::trunc(delta)), -opt_.AudioSyncMethod, opt_.AudioSyncMethod);
        if (task_.Verbosity > 2)
            Log(1, Printf("compensating audio timestamp drift:%f compensation:%d in:%d", delta, comp, enc->sample_rate));
        swr_set_compensation(ost.Resampler.get(), comp, enc->sample_rate);
    }
    return buf;
}

// Whole encoder frames from the FIFO; an encoder without a frame size takes everything.
void TTranscodeRun::EncodeAudioFrames(TOutputStreamState& ost, const uint8_t* data, int size) {
    const int bytesPerSample = 2 * ost.Enc->ch_layout.nb_channels;
    const bool framed = ost.Enc->frame_size > 1 && !(ost.Enc->codec->capabilities & AV_CODEC_CAP_VARIABLE_FRAME_SIZE);
    if (!framed) {
        const int samples = size / bytesPerSample;
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

// Hands 16-bit interleaved samples to the encoder in its own sample format.
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
        std::memcpy(f->data[0], data, static_cast<size_t>(samples) * 2 * enc->ch_layout.nb_channels);
    } else {
        if (!ost.ToEncoder)
            ost.ToEncoder.reset(NewResampler(&enc->ch_layout, enc->sample_rate, &enc->ch_layout, enc->sample_rate,
                                             enc->sample_fmt));
        if (!ost.ToEncoder)
            throw FFMpegException("Can not convert audio to the encoder's sample format");
        swr_convert(ost.ToEncoder.get(), f->extended_data, samples, &data, samples);
    }
    f->pts = ost.SyncOpts;
    if (avcodec_send_frame(enc, f) < 0)
        throw FFMpegException("Audio encoding failed");
    DrainEncoder(ost);
}

}  // namespace tavrin
