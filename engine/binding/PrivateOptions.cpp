// Finding and applying encoder- and muxer-private options.
#include "binding/PrivateOptions.h"

#include "common/FFMpegException.h"

namespace tavrin {
namespace {

bool ClassHasOption(const AVClass* cls, const std::string& name) {
    if (!cls)
        return false;
    return av_opt_find2(&cls, name.c_str(), nullptr, 0, AV_OPT_SEARCH_FAKE_OBJ, nullptr) != nullptr;
}

}  // namespace

bool EncoderHasPrivateOption(AVMediaType type, const std::string& name) {
    void* it = nullptr;
    while (const AVCodec* c = av_codec_iterate(&it))
        if (c->type == type && av_codec_is_encoder(c) && ClassHasOption(c->priv_class, name))
            return true;
    return false;
}

bool MuxerHasPrivateOption(const std::string& name) {
    void* it = nullptr;
    while (const AVOutputFormat* f = av_muxer_iterate(&it))
        if (ClassHasOption(f->priv_class, name))
            return true;
    return false;
}

int ApplyPrivateOptions(void* obj, const TNameValueList& options) {
    int set = 0;
    for (const auto& [name, value] : options) {
        const int ret = av_opt_set(obj, name.c_str(), value.c_str(), AV_OPT_SEARCH_CHILDREN);
        if (ret == AVERROR_OPTION_NOT_FOUND)
            continue;
        if (ret < 0)
            throw FFMpegException("Invalid value '" + value + "' for option '" + name + "'");
        ++set;
    }
    return set;
}

}  // namespace tavrin
