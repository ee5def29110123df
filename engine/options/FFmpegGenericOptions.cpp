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

// "ab" -> "b" of the audio holder, "vb" -> "b" of the video holder, "s..." -> subtitles.
bool SetByPrefix(TOptionContexts& oc, const std::string& name, const std::string& value,
                 std::string& libraryName) {
    const char first = name[0];
    const int kind = first == 'a' ? mkAudio : first == 'v' ? mkVideo : first == 's' ? mkSubtitle : -1;
    return kind >= 0 && SetOn(oc.codec[kind].get(), name.substr(1), value, libraryName);
}

// Today many options live in one encoder's or muxer's private data; they are kept aside
// for the encoders and muxer that know them.
bool KeepPrivateOption(TOptionSettings& opt, const TLegacyOption& lib) {
    static constexpr std::pair<TMediaKind, AVMediaType> kEncoderKinds[] = {
        {mkVideo, AVMEDIA_TYPE_VIDEO}, {mkAudio, AVMEDIA_TYPE_AUDIO}, {mkSubtitle, AVMEDIA_TYPE_SUBTITLE}};
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
    static constexpr std::pair<char, std::pair<TMediaKind, AVMediaType>> kPrefixes[] = {
        {'v', {mkVideo, AVMEDIA_TYPE_VIDEO}}, {'a', {mkAudio, AVMEDIA_TYPE_AUDIO}}, {'s', {mkSubtitle, AVMEDIA_TYPE_SUBTITLE}}};
    if (name.size() < 2)
        return false;
    for (const auto& [prefix, kinds] : kPrefixes) {
        const std::string rest = name.substr(1);
        if (name[0] == prefix && EncoderHasPrivateOption(kinds.second, rest)) {
            opt.EncoderPrivateOptions[kinds.first].emplace_back(rest, value);
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
