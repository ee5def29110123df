// Options the engine does not know itself, handed to the libraries' own option system
// through the task's option holders.
#include "options/FFmpeg.h"
#include "options/OptionContexts.h"
#include "options/OptionParsing.h"
#include "binding/LegacyNames.h"
#include "binding/PrivateOptions.h"

namespace tavrin {
namespace {

// The option-type flag each codec holder is searched with, in holder order.
constexpr int kKindFlags[mkCount] = {AV_OPT_FLAG_VIDEO_PARAM, AV_OPT_FLAG_AUDIO_PARAM, 0,
                                     AV_OPT_FLAG_SUBTITLE_PARAM, 0};

bool SetOn(void* obj, const std::string& name, const std::string& value, std::string& libraryName) {
    const AVOption* o = obj ? av_opt_find(obj, name.c_str(), nullptr, 0, 0) : nullptr;
    if (!o || av_opt_set(obj, name.c_str(), value.c_str(), 0) < 0)
        return false;
    libraryName = o->name;
    return true;
}

// Every holder whose kind the option serves (judged on the video holder, which has the
// full codec option table) gets it; the last attempt decides.
bool SetOnCodecHolders(TOptionContexts& oc, const TLegacyOption& lib, std::string& libraryName) {
    bool set = false;
    for (int k = 0; k < mkCount; ++k) {
        if (lib.kinds == lkVideoOnly && k != mkVideo)
            continue;
        if (av_opt_find(oc.codec[mkVideo].get(), lib.name.c_str(), nullptr, kKindFlags[k], 0))
            set = SetOn(oc.codec[k].get(), lib.name, lib.value, libraryName);
    }
    return set;
}

// The codec holder a one-letter prefix names: "ab" -> audio, "vb" -> video, "s..." -> subtitles.
int PrefixKind(const std::string& name) {
    if (name.size() < 2)
        return -1;
    const char first = name[0];
    return first == 'a' ? mkAudio : first == 'v' ? mkVideo : first == 's' ? mkSubtitle : -1;
}

bool SetByPrefix(TOptionContexts& oc, const std::string& name, const std::string& value,
                 std::string& libraryName) {
    const int kind = PrefixKind(name);
    return kind >= 0 && SetOn(oc.codec[kind].get(), name.substr(1), value, libraryName);
}

// The encoder kinds that keep private options, with the media type their encoders serve.
constexpr std::pair<TMediaKind, AVMediaType> kEncoderKinds[] = {
    {mkVideo, AVMEDIA_TYPE_VIDEO}, {mkAudio, AVMEDIA_TYPE_AUDIO}, {mkSubtitle, AVMEDIA_TYPE_SUBTITLE}};

// Today many options live in one encoder's or muxer's private data; they are kept aside
// for the encoders and muxer that know them.
bool KeepPrivateOption(TOptionSettings& opt, const TLegacyOption& lib) {
    bool kept = false;
    for (const auto& [kind, type] : kEncoderKinds) {
        if ((lib.kinds != lkVideoOnly || kind == mkVideo) && EncoderHasPrivateOption(type, lib.name)) {
            opt.EncoderPrivateOptions[kind].emplace_back(lib.name, lib.value);
            kept = true;
        }
    }
    if (MuxerHasPrivateOption(lib.name)) {
        opt.MuxerPrivateOptions.emplace_back(lib.name, lib.value);
        kept = true;
    }
    return kept;
}

// "vprofile baseline" when only an encoder's private "profile" takes the word: kept for
// that kind's encoders alone.
bool KeepPrefixedPrivateOption(TOptionSettings& opt, const std::string& name, const std::string& value) {
    const int kind = PrefixKind(name);
    for (const auto& [k, type] : kEncoderKinds) {
        if (k == kind && EncoderHasPrivateOption(type, name.substr(1))) {
            opt.EncoderPrivateOptions[k].emplace_back(name.substr(1), value);
            return true;
        }
    }
    return false;
}

}  // namespace

bool TCustomFFmpeg::SetGenericOption(const std::string& name, const std::string& value) {
    TOptionContexts& oc = OptionContexts();
    if (TrimText(name).empty() || TrimText(value).empty() || !oc.allocated)
        return false;
    const TLegacyOption lib = LegacyOption(name, value);
    std::string libraryName;
    const bool set = SetOnCodecHolders(oc, lib, libraryName) ||
                     SetOn(oc.format.get(), lib.name, lib.value, libraryName) ||
                     SetOn(oc.scaler.get(), lib.name, lib.value, libraryName) ||
                     SetByPrefix(oc, name, value, libraryName);
    if (!set)
        return KeepPrivateOption(Opt, lib) || KeepPrefixedPrivateOption(Opt, name, value);
    Opt.GenericOptionNames.push_back(libraryName);
    if (oc.codec[mkVideo]->debug != 0 || oc.format->debug != 0)
        SetVerbosity(2);
    return true;
}

}  // namespace tavrin
