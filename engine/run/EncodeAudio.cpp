// Audio output: conversion to the encoder's rate and channels, sync to the output clock and
// the sample-count timeline. The output's audio timestamps count the samples written since
// the first one, so packets neither overlap nor leave holes whatever the input clock does;
// sync corrections add or drop samples. Work is done in bounded pieces, so one huge decoded
// unit (a header that claims 1 Hz) neither fills memory nor keeps a stop request waiting.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>

#include "common/FFMpegException.h"
#include "run/TranscodeRun.h"

namespace tavrin {
namespace {

constexpr int kMaxPaddedBytes = 131072;
// Output samples converted and encoded between two looks at the stop request.
constexpr int64_t kPieceSamples = 65536;

std::string Printf(const char* fmt, double a, int b = 0, int c = 0) {
    char buf[160];
    std::snprintf(buf, sizeof buf, fmt, a, b, c);
    return buf;
}

int FifoSamples(const TOutputStreamState& ost) {
    return static_cast<int>((ost.Fifo.size() - ost.FifoStart) / (2 * static_cast<size_t>(ost.Enc->ch_layout.nb_channels)));
}

}  // namespace

void TTranscodeRun::EncodeAudio(TOutputStreamState& ost, TInputStreamState& ist, const uint8_t* buf, int size) {
    const TAudioShape& in = ist.SamplesShape;
    UseResamplerFor(ost, in);
    if (opt_.AudioSyncMethod != 0)
        buf = SyncAudio(ost, ist, buf, size);
    else if (!ost.AudioStarted)
        buf = StartAudioTimeline(ost, ist, buf, size);
    if (!buf)
        return;
    const int bytesPerSample = 2 * in.Channels();
    const int total = size / bytesPerSample;
    const int piece = static_cast<int>(std::clamp<int64_t>(kPieceSamples * in.Rate() / ost.Enc->sample_rate, 1, kPieceSamples));
    for (int done = 0; done < total; done += piece) {
        if (done > 0 && task_.CheckStop())
            return;
        ConvertAudio(ost, buf + static_cast<ptrdiff_t>(done) * bytesPerSample, std::min(piece, total - done));
    }
}

// Audio whose rate or channel count differs from the encoder's goes through a converter made
// for its exact shape. When the decoder changes shape mid-stream, the old converter gives up
// what it still holds before a new one is made, so no sample is lost or repeated.
void TTranscodeRun::UseResamplerFor(TOutputStreamState& ost, const TAudioShape& in) {
    const AVCodecContext* enc = ost.Enc;
    const int encCh = enc->ch_layout.nb_channels;
    if (in.Channels() != encCh || in.Rate() != enc->sample_rate)
        ost.AudioResample = true;
    if (!ost.AudioResample || (ost.Resampler && ost.ResamplerInput == in))
        return;
    if (ost.Resampler)
        DrainResampler(ost);
    ost.Resampler = MakeAudioConverter(TAudioShape(enc->sample_rate, enc->ch_layout, AV_SAMPLE_FMT_S16), in);
    if (!ost.Resampler) {
        char text[128];
        std::snprintf(text, sizeof text, "Can not resample %d channels @ %d Hz to %d channels @ %d Hz", in.Channels(),
                      in.Rate(), encCh, enc->sample_rate);
        throw FFMpegException(text);
    }
    ost.ResamplerInput = in;
}

// Without audio sync the first samples written say where the output's audio begins: at
// their input time, or at zero when they start before it (the part before is dropped).
const uint8_t* TTranscodeRun::StartAudioTimeline(TOutputStreamState& ost, TInputStreamState& ist, const uint8_t* buf,
                                                 int& size) {
    const TAudioShape& in = ist.SamplesShape;
    const double ipts = static_cast<double>(ist.Pts - opt_.StartTime) / 1000000.0;
    if (ipts < 0) {
        const double early = std::round(-ipts * in.Rate()) * 2 * in.Channels();
        if (early >= size)
            return nullptr;
        buf += static_cast<int>(early);
        size -= static_cast<int>(early);
    }
    ost.SyncOpts = std::llrint(std::max(ipts, 0.0) * ost.Enc->sample_rate);
    ost.AudioStarted = true;
    return buf;
}

// Pads a late first chunk with silence, drops what comes too early, or stretches gently
// when the drift is small. Returns the data to encode (size updated), or null for none.
const uint8_t* TTranscodeRun::SyncAudio(TOutputStreamState& ost, TInputStreamState& ist, const uint8_t* buf, int& size) {
    const AVCodecContext* enc = ost.Enc;
    const TAudioShape& in = ist.SamplesShape;
    const int decCh = in.Channels();
    const double ipts = static_cast<double>(ist.Pts - opt_.StartTime) / 1000000.0;
    const double delta = ipts * enc->sample_rate - static_cast<double>(ost.SyncOpts) - FifoSamples(ost);
    // Never more than the chunk to drop or the padding limit to add: a wild timestamp must
    // not overflow the byte count.
    const double inDelta = std::clamp(std::trunc(delta * in.Rate() / enc->sample_rate),
                                      -static_cast<double>(size / (2 * decCh)),
                                      static_cast<double>(kMaxPaddedBytes / (2 * decCh) + 1));
    int byteDelta = static_cast<int>(inDelta) * 2 * decCh;
    if (std::fabs(delta) <= 50)
        return buf;
    if (ist.IsStart || std::fabs(delta) > opt_.AudioDriftThreshold * enc->sample_rate) {
        if (byteDelta < 0) {
            byteDelta = std::max(byteDelta, -size);
            buf += -byteDelta;
            size += byteDelta;
            if (task_.Verbosity > 2)
                Log(1, "discarding " + std::to_string(static_cast<long long>(std::trunc(-delta))) + " audio samples");
            if (size <= 0)
                return nullptr;
            ist.IsStart = false;
            return buf;
        }
        long long added = static_cast<long long>(std::trunc(delta));
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
            std::snprintf(line, sizeof line, "adding %lld audio samples of silence", added);
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

void TTranscodeRun::ConvertAudio(TOutputStreamState& ost, const uint8_t* data, int samples) {
    const int encCh = ost.Enc->ch_layout.nb_channels;
    if (!ost.AudioResample) {
        EncodeAudioFrames(ost, data, samples * 2 * encCh);
        return;
    }
    const std::optional<int> got = Resample(ost, data, samples);
    if (!got)
        return;
    ost.ResampledIn += samples;
    if (*got > 0) {
        ost.ResampledOut += *got;
        EncodeAudioFrames(ost, scratch_.data(), *got * 2 * encCh);
    }
}

// Converts samples (none: what the converter still holds) into scratch_; how many came
// out, or nothing when the converter has no room to give.
std::optional<int> TTranscodeRun::Resample(TOutputStreamState& ost, const uint8_t* data, int samples) {
    const int capacity = swr_get_out_samples(ost.Resampler.get(), samples);
    if (capacity <= 0)
        return std::nullopt;
    const size_t bytes = static_cast<size_t>(capacity) * 2 * static_cast<size_t>(ost.Enc->ch_layout.nb_channels);
    scratch_.resize(std::max(scratch_.size(), bytes));
    uint8_t* out = scratch_.data();
    return swr_convert(ost.Resampler.get(), &out, capacity, data ? &data : nullptr, samples);
}

// What the converter holds back for its filter goes out too: at a change of input shape
// and at the end of the input. Its own flush gives nothing for an input shorter than its
// filter (a clip of a few samples came out empty) and rounds the length otherwise, so
// without drift compensation silence pushes the held samples out and exactly the output
// length the input's length makes is kept.
void TTranscodeRun::DrainResampler(TOutputStreamState& ost) {
    if (opt_.AudioSyncMethod <= 1)
        PushOutHeldSamples(ost);
    else
        FlushResampler(ost);
    ost.ResampledIn = ost.ResampledOut = 0;
}

void TTranscodeRun::PushOutHeldSamples(TOutputStreamState& ost) {
    const int encCh = ost.Enc->ch_layout.nb_channels;
    int64_t wanted = av_rescale_rnd(ost.ResampledIn, ost.Enc->sample_rate, ost.ResamplerInput.Rate(),
                                    AV_ROUND_NEAR_INF) - ost.ResampledOut;
    // The filter holds some input samples back; as much silence again, and a little more,
    // frees them without making more output than needed (a 1 Hz source makes 44100 samples
    // of each one).
    constexpr int64_t kMaxSilentInput = 1024, kMargin = 16;
    for (int round = 0; round < 8 && wanted > 0; ++round) {
        const int64_t held = swr_get_delay(ost.Resampler.get(), ost.ResamplerInput.Rate());
        const int silent = static_cast<int>(std::clamp(held + kMargin, kMargin, kMaxSilentInput));
        silence_.assign(static_cast<size_t>(silent) * 2 * static_cast<size_t>(ost.ResamplerInput.Channels()), 0);
        const std::optional<int> got = Resample(ost, silence_.data(), silent);
        if (!got)
            return;
        const int kept = static_cast<int>(std::min<int64_t>(std::max(*got, 0), wanted));
        if (kept > 0)
            EncodeAudioFrames(ost, scratch_.data(), kept * 2 * encCh);
        wanted -= kept;
    }
}

void TTranscodeRun::FlushResampler(TOutputStreamState& ost) {
    const int encCh = ost.Enc->ch_layout.nb_channels;
    for (;;) {
        const std::optional<int> got = Resample(ost, nullptr, 0);
        if (!got || *got <= 0)
            return;
        EncodeAudioFrames(ost, scratch_.data(), *got * 2 * encCh);
    }
}

}  // namespace tavrin
