#include "binding/StreamFitness.h"


namespace tavrin {
namespace {

// Stream information reading marks every stream it saw a packet for.
bool HoldsPackets(const AVStream* st) { return st->event_flags & AVSTREAM_EVENT_FLAG_NEW_PACKETS; }

TStreamFitness VideoFitness(const AVStream* st) {
    const AVCodecParameters* par = st->codecpar;
    if (IsAttachedPicture(st))
        return {sfNone, "is an attached picture"};
    if (!HoldsPackets(st))
        return {sfNone, "holds no packets"};
    if (par->width <= 0 || par->height <= 0 || av_image_check_size(par->width, par->height, 0, nullptr) < 0)
        return {sfNone, "has an invalid picture size (" + std::to_string(par->width) + "x" +
                            std::to_string(par->height) + ")"};
    // The decoder may still tell the format from later pictures.
    if (par->format == AV_PIX_FMT_NONE)
        return {sfFallback, "has an unknown pixel format"};
    return {sfFull, {}};
}

TStreamFitness AudioFitness(const AVStream* st) {
    const AVCodecParameters* par = st->codecpar;
    if (!HoldsPackets(st))
        return {sfNone, "holds no packets"};
    if (par->ch_layout.nb_channels <= 0)
        return {sfNone, "has no audio channels"};
    if (par->sample_rate <= 0)
        return {sfNone, "has no sample rate"};
    return {sfFull, {}};
}

}  // namespace

bool IsAttachedPicture(const AVStream* st) { return st->disposition & AV_DISPOSITION_ATTACHED_PIC; }

TStreamFitness StreamFitness(const AVStream* st) {
    switch (st->codecpar->codec_type) {
    case AVMEDIA_TYPE_VIDEO:
        return VideoFitness(st);
    case AVMEDIA_TYPE_AUDIO:
        return AudioFitness(st);
    default:
        return {sfFull, {}};
    }
}

int DefaultChoice(const AVFormatContext* ic, AVMediaType type, const std::function<bool(unsigned)>& eligible) {
    int choice = -1;
    TStreamFit best = sfNone;
    for (unsigned i = 0; i < ic->nb_streams; ++i) {
        if (ic->streams[i]->codecpar->codec_type != type || (eligible && !eligible(i)))
            continue;
        if (const TStreamFit fit = StreamFitness(ic->streams[i]).Fit; fit > best) {
            best = fit;
            choice = static_cast<int>(i);
        }
    }
    return choice;
}

}  // namespace tavrin
