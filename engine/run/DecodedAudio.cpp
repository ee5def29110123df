// Decoded audio becomes the engine's 16-bit interleaved samples, in the rate and layout the
// decoder gives at that moment (which may change mid-stream), with the volume applied; then
// it goes to every output stream it feeds.
#include <algorithm>

#include "common/FFMpegException.h"
#include "run/TranscodeRun.h"

namespace tavrin {
namespace {

// 256 is unity. Any 32-bit gain times a 16-bit sample fits in 64 bits; the clamp comes after.
void ApplyVolume(int16_t* samples, size_t count, int volume) {
    for (size_t i = 0; i < count; ++i)
        samples[i] = static_cast<int16_t>(
            std::clamp<int64_t>((static_cast<int64_t>(samples[i]) * volume + 128) >> 8, -32768, 32767));
}

}  // namespace

void TTranscodeRun::HandleDecodedAudio(TInputStreamState& ist, const AVPacket*) {
    const AVFrame* f = ist.Decoded.get();
    const TAudioShape shape = TAudioShape::Of(f);
    if (!shape.Known() || f->nb_samples <= 0)
        return;
    const size_t bytes = static_cast<size_t>(f->nb_samples) * 2 * shape.Channels();
    if (ist.Samples.size() < std::max<size_t>(bytes, 192000))
        ist.Samples.resize(std::max<size_t>(bytes, 192000));
    uint8_t* out = ist.Samples.data();
    if (shape.Format() == AV_SAMPLE_FMT_S16) {
        std::copy_n(f->data[0], bytes, out);
    } else {
        if (!ist.ToS16 || ist.ToS16Input != shape) {
            ist.ToS16 = MakeAudioConverter(shape.As(AV_SAMPLE_FMT_S16), shape);
            if (!ist.ToS16)
                throw FFMpegException("Can not convert decoded audio to 16-bit samples");
            ist.ToS16Input = shape;
        }
        swr_convert(ist.ToS16.get(), &out, f->nb_samples, const_cast<const uint8_t**>(f->extended_data), f->nb_samples);
    }
    ist.SamplesShape = shape.As(AV_SAMPLE_FMT_S16);
    ist.NextPts += static_cast<int64_t>(f->nb_samples) * 1000000 / f->sample_rate;
    if (opt_.AudioVolume != 256)
        ApplyVolume(reinterpret_cast<int16_t*>(out), bytes / 2, opt_.AudioVolume);
    EmulateRate(ist);
    if (!Started(ist))
        return;
    for (TOutputStreamState& ost : ost_)
        if (&ist_[static_cast<size_t>(ost.SourceIndex)] == &ist && ost.EncodingNeeded)
            EncodeAudio(ost, ist, out, static_cast<int>(bytes));
}

}  // namespace tavrin
