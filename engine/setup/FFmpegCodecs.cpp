// Finding codecs by name and handing recorded generic options to library objects.
#include "options/FFmpeg.h"
#include "options/OptionContexts.h"
#include "binding/LegacyNames.h"

namespace tavrin {
namespace {

constexpr AVMediaType kTypeOf[] = {AVMEDIA_TYPE_VIDEO, AVMEDIA_TYPE_AUDIO, AVMEDIA_TYPE_DATA,
                                   AVMEDIA_TYPE_SUBTITLE, AVMEDIA_TYPE_ATTACHMENT};

}  // namespace

bool TCustomFFmpeg::FindCodec(const std::optional<std::string>& name, TMediaKind kind, bool encoder,
                              int& codecId) {
    codecId = 0;
    if (!name || name->empty())
        return true;
    const std::string libraryName = encoder ? LegacyEncoderName(*name) : *name;
    const AVCodec* codec = encoder ? avcodec_find_encoder_by_name(libraryName.c_str())
                                   : avcodec_find_decoder_by_name(libraryName.c_str());
    const char* role = encoder ? "encoder" : "decoder";
    if (!codec) {
        ErrorText = std::string("Unknown ") + role + " '" + *name + "'";
        return false;
    }
    if (codec->type != kTypeOf[kind]) {
        ErrorText = std::string("Invalid ") + role + " type '" + *name + "'";
        return false;
    }
    codecId = codec->id;
    return true;
}

void TCustomFFmpeg::ApplyContextOptions(void* target, void* optionContext, int flags) const {
    if (!target || !optionContext)
        return;
    for (const std::string& name : Opt.GenericOptionNames) {
        const AVOption* o = av_opt_find(optionContext, name.c_str(), nullptr, 0, 0);
        if (!o || (o->flags & flags) != flags)
            continue;
        // Shared today, video only in the option language ("b"): audio keeps its own rate.
        if (LegacyOption(name, "").kinds == lkVideoOnly && !(flags & AV_OPT_FLAG_VIDEO_PARAM))
            continue;
        uint8_t* value = nullptr;
        if (av_opt_get(optionContext, name.c_str(), 0, &value) < 0 || !value)
            continue;
        av_opt_set(target, name.c_str(), reinterpret_cast<const char*>(value), AV_OPT_SEARCH_CHILDREN);
        av_free(value);
    }
}

}  // namespace tavrin
