// What a run of audio samples looks like: rate, channel layout and sample format. A decoder
// may change any of them mid-stream, so converters remember the shape they were made for
// and are rebuilt when the samples they get no longer match it.
#pragma once

#include "binding/Owners.h"

namespace tavrin {

class TAudioShape {
public:
    TAudioShape() = default;
    // A layout in no particular order becomes the usual layout for its channel count.
    TAudioShape(int rate, const AVChannelLayout& layout, AVSampleFormat format);
    TAudioShape(const TAudioShape& other);
    TAudioShape& operator=(const TAudioShape& other);
    ~TAudioShape() { av_channel_layout_uninit(&layout_); }

    static TAudioShape Of(const AVFrame* frame);
    // The same rate and layout in another sample format.
    TAudioShape As(AVSampleFormat format) const { return TAudioShape(rate_, layout_, format); }

    bool operator==(const TAudioShape& other) const;
    bool operator!=(const TAudioShape& other) const { return !(*this == other); }
    bool Known() const { return rate_ > 0 && layout_.nb_channels > 0; }
    int Rate() const { return rate_; }
    int Channels() const { return layout_.nb_channels; }
    const AVChannelLayout& Layout() const { return layout_; }
    AVSampleFormat Format() const { return format_; }

private:
    int rate_ = 0;
    AVChannelLayout layout_{};
    AVSampleFormat format_ = AV_SAMPLE_FMT_NONE;
};

// A converter from one shape to another (rate, channels and format at once); null when
// the library cannot make one.
SwrPtr MakeAudioConverter(const TAudioShape& out, const TAudioShape& in);

}  // namespace tavrin
