#include "binding/AudioShape.h"

namespace tavrin {

TAudioShape::TAudioShape(int rate, const AVChannelLayout& layout, AVSampleFormat format) : rate_(rate), format_(format) {
    if (layout.order == AV_CHANNEL_ORDER_UNSPEC)
        av_channel_layout_default(&layout_, layout.nb_channels);
    else if (av_channel_layout_copy(&layout_, &layout) < 0)
        layout_ = {};
}

TAudioShape::TAudioShape(const TAudioShape& other) : TAudioShape(other.rate_, other.layout_, other.format_) {}

TAudioShape& TAudioShape::operator=(const TAudioShape& other) {
    if (this != &other) {
        rate_ = other.rate_;
        format_ = other.format_;
        if (av_channel_layout_copy(&layout_, &other.layout_) < 0)
            layout_ = {};
    }
    return *this;
}

TAudioShape TAudioShape::Of(const AVFrame* frame) {
    return TAudioShape(frame->sample_rate, frame->ch_layout, static_cast<AVSampleFormat>(frame->format));
}

bool TAudioShape::operator==(const TAudioShape& other) const {
    return rate_ == other.rate_ && format_ == other.format_ && av_channel_layout_compare(&layout_, &other.layout_) == 0;
}

SwrPtr MakeAudioConverter(const TAudioShape& out, const TAudioShape& in) {
    SwrContext* s = nullptr;
    if (swr_alloc_set_opts2(&s, const_cast<AVChannelLayout*>(&out.Layout()), out.Format(), out.Rate(),
                            const_cast<AVChannelLayout*>(&in.Layout()), in.Format(), in.Rate(), 0, nullptr) < 0)
        return nullptr;
    SwrPtr owner(s);
    if (swr_init(s) < 0)
        return nullptr;
    return owner;
}

}  // namespace tavrin
