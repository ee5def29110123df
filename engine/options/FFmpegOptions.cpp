// The option language: reset of the settings, option lines and dispatch by name over
// one vocabulary table.
#include <algorithm>
#include <iterator>
#include <optional>
#include <string_view>
#include <variant>

#include "common/FFMpegException.h"
#include "options/FFmpeg.h"
#include "options/OptionContexts.h"
#include "options/OptionHandlers.h"
#include "binding/LibAV.h"
#include "options/OptionParsing.h"
#include "binding/Binding.h"

namespace tavrin {
namespace {

struct Ignore {};
struct Refuse {};
struct Metadata {
    std::string TOptionSettings::*field;  // an empty value leaves it as it was
};

using OptionKind = std::variant<Ignore, Refuse, bool TOptionSettings::*, int TOptionSettings::*,
                                int64_t TOptionSettings::*, float TOptionSettings::*,
                                std::string TOptionSettings::*, Metadata,
                                std::optional<std::string> TOptionSettings::*, options::Handler>;

struct VocabularyEntry {
    std::string_view name;
    OptionKind kind;
};

using S = TOptionSettings;
namespace o = options;

const VocabularyEntry kVocabulary[] = {
    {"L", Ignore{}}, {"h", Ignore{}}, {"version", Ignore{}}, {"formats", Ignore{}},
    {"i", Ignore{}}, {"y", Ignore{}}, {"benchmark", Ignore{}}, {"apre", Ignore{}},
    {"vpre", Ignore{}}, {"spre", Ignore{}},
    {"threads", Refuse{}}, {"absf", Refuse{}}, {"vbsf", Refuse{}}, {"sbsf", Refuse{}},
    {"dump", &S::PacketDump}, {"hex", &S::HexDump}, {"re", &S::RateEmulation},
    {"loop_input", &S::LoopInput}, {"copyts", &S::CopyTimestamps}, {"shortest", &S::Shortest},
    {"intra", &S::IntraOnly}, {"vn", &S::VideoDisable}, {"sameq", &S::SameQuality},
    {"deinterlace", &S::Deinterlace}, {"psnr", &S::DoPsnr}, {"qphist", &S::QpHistogram},
    {"an", &S::AudioDisable}, {"sn", &S::SubtitleDisable}, {"isync", &S::InputSync},
    {"loop_output", &S::LoopOutput}, {"vsync", &S::VideoSyncMethod},
    {"async", &S::AudioSyncMethod}, {"vglobal", &S::VideoGlobalHeader},
    {"programid", &S::ProgramID}, {"vframes", o::MaxFrames}, {"aframes", o::MaxFrames},
    {"dframes", o::MaxFrames}, {"vdt", &S::VideoDiscard}, {"dc", &S::IntraDcPrecision},
    {"vol", &S::AudioVolume}, {"me_threshold", &S::MotionEstimationThreshold},
    {"top", &S::TopFieldFirst}, {"vc", &S::VideoChannel}, {"fs", &S::FileSizeLimit},
    {"adrift_threshold", &S::AudioDriftThreshold}, {"dts_delta_threshold", &S::DtsDeltaThreshold},
    {"aq", &S::AudioQScale}, {"muxdelay", &S::MuxMaxDelay}, {"muxpreload", &S::MuxPreload},
    {"passlogfile", &S::PassLogFileName}, {"alang", &S::AudioLanguage},
    {"slang", &S::SubtitleLanguage},
    {"title", Metadata{&S::Title}}, {"author", Metadata{&S::Author}},
    {"copyright", Metadata{&S::Copyright}}, {"comment", Metadata{&S::Comment}},
    {"genre", Metadata{&S::Genre}}, {"album", Metadata{&S::Album}},
    {"rc_override", &S::VideoRcOverride}, {"tvstd", &S::VideoStandard},
    {"vstats_file", &S::VideoStatsFileName},
    {"f", o::Format}, {"t", o::Duration}, {"ss", o::Duration}, {"itsoffset", o::Duration},
    {"itsscale", o::InputTsScale}, {"timestamp", o::Timestamp}, {"map", o::Map},
    {"map_meta_data", o::MapMetaData}, {"v", o::Verbosity}, {"target", o::Target},
    {"b", o::Bitrate}, {"vb", o::Bitrate}, {"ab", o::Bitrate}, {"r", o::FrameRate},
    {"s", o::FrameSize}, {"aspect", o::Aspect}, {"pix_fmt", o::PixelFormat},
    {"croptop", o::Crop}, {"cropbottom", o::Crop}, {"cropleft", o::Crop}, {"cropright", o::Crop},
    {"padtop", o::Pad}, {"padbottom", o::Pad}, {"padleft", o::Pad}, {"padright", o::Pad},
    {"padcolor", o::PadColor}, {"qscale", o::QScale}, {"vcodec", o::Codec},
    {"acodec", o::Codec}, {"scodec", o::Codec}, {"vtag", o::Tag}, {"atag", o::Tag},
    {"pass", o::Pass}, {"vstats", o::VideoStats}, {"vhook", o::VideoHook},
    {"intra_matrix", o::Matrix}, {"inter_matrix", o::Matrix}, {"newvideo", o::NewStream},
    {"newaudio", o::NewStream}, {"newsubtitle", o::NewStream}, {"ar", o::AudioSetting},
    {"ac", o::AudioSetting},
};
static_assert(std::size(kVocabulary) == 103);

// Applies one vocabulary entry: each alternative of OptionKind is one way of handling.
struct Apply {
    TCustomFFmpeg& task;
    const std::string& name;
    const std::string& value;

    void operator()(Ignore) const { task.Log(1, "Do nothing: option - " + name); }
    void operator()(Refuse) const { throw FFMpegException("TODO: option - " + name); }
    void operator()(bool S::*f) const { task.Opt.*f = true; }
    void operator()(int S::*f) const { task.Opt.*f = ParseInt(value); }
    void operator()(int64_t S::*f) const { task.Opt.*f = ParseInt64(value); }
    void operator()(float S::*f) const { task.Opt.*f = static_cast<float>(ParseFloat(value)); }
    void operator()(std::string S::*f) const { task.Opt.*f = value; }
    void operator()(Metadata m) const {
        if (!value.empty()) task.Opt.*m.field = value;
    }
    void operator()(std::optional<std::string> S::*f) const { task.Opt.*f = value; }
    void operator()(options::Handler h) const { h(task, name, value); }
};

}  // namespace

void TCustomFFmpeg::ResetOptions() {
    Opt = TOptionSettings{};
    Verbosity = 1;
    TOptionContexts& oc = *optionContexts_;
    oc = TOptionContexts{};
    if (!LibrariesLoaded())
        return;
    static constexpr AVMediaType kTypes[mkCount] = {AVMEDIA_TYPE_VIDEO, AVMEDIA_TYPE_AUDIO, AVMEDIA_TYPE_DATA,
                                                    AVMEDIA_TYPE_SUBTITLE, AVMEDIA_TYPE_ATTACHMENT};
    for (int k = 0; k < mkCount; ++k) {
        oc.codec[k].reset(avcodec_alloc_context3(nullptr));
        if (!oc.codec[k])
            throw FFMpegException("Could not allocate the option contexts");
        oc.codec[k]->codec_type = kTypes[k];
    }
    oc.format.reset(avformat_alloc_context());
    oc.scaler.reset(sws_alloc_context());
    if (!oc.format || !oc.scaler)
        throw FFMpegException("Could not allocate the option contexts");
    oc.allocated = true;
}

void TCustomFFmpeg::ApplyOptionLines(const std::string& text) {
    for (const auto& [name, value] : SplitOptionLines(text))
        DispatchOption(name, value);
}

void TCustomFFmpeg::DispatchOption(const std::string& name, const std::string& value) {
    auto it = std::find_if(std::begin(kVocabulary), std::end(kVocabulary),
                           [&](const VocabularyEntry& e) { return e.name == name; });
    if (it == std::end(kVocabulary)) {
        SetGenericOption(name, value);
        return;
    }
    std::visit(Apply{*this, name, value}, it->kind);
}

void TCustomFFmpeg::SetVerbosity(int verbosity) {
    Verbosity = verbosity;
    SetLibraryVerbosity(verbosity);
}

}  // namespace tavrin
