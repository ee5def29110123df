// Creating the task's output: format choice, which streams to create, container
// metadata, and opening the file for writing.
#include <sys/stat.h>

#include <ctime>

#include "common/FFMpegException.h"
#include "options/FFmpeg.h"
#include "options/OptionContexts.h"
#include "setup/TaskFiles.h"
#include "binding/Errors.h"
#include "binding/PrivateOptions.h"
#include "binding/StreamFitness.h"

namespace tavrin {
namespace {

struct TKinds {
    bool video, audio, subtitle;
};

bool SameFile(const std::string& a, const std::string& b) {
    struct stat sa{}, sb{};
    return stat(a.c_str(), &sa) == 0 && stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

// Muxers read a recording date only as ISO 8601 text; this one is in UTC.
std::string IsoUtcDate(int64_t secondsSince1970) {
    const std::time_t t = static_cast<std::time_t>(secondsSince1970);
    std::tm utc{};
    char text[64] = {};
    if (!gmtime_r(&t, &utc) || !std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S.000000Z", &utc))
        return {};
    return text;
}

void SetMeta(AVFormatContext* oc, const char* key, const std::string& value, size_t maxLen) {
    if (!value.empty())
        av_dict_set(&oc->metadata, key, value.substr(0, maxLen).c_str(), 0);
}

// Audio containers such as MP3 name PNG as their video codec only to carry cover art;
// that does not make them video formats.
bool HasDefaultVideo(const AVOutputFormat* fmt) {
    return fmt->video_codec != AV_CODEC_ID_NONE && fmt->video_codec != AV_CODEC_ID_PNG;
}

// Image sequences need a frame number pattern in the name ("img%d.jpg").
bool LacksFrameNumber(const AVOutputFormat* fmt, const std::string& name) {
    const bool sequence = (fmt->flags & AVFMT_NEEDNUMBER) || std::string(fmt->name) == "image2";
    return sequence && !av_filename_number_test(name.c_str());
}

void CheckInputTypes(const std::vector<TInputFile>& inputs) {
    for (const TInputFile& in : inputs)
        for (unsigned i = 0; i < in.Context->nb_streams; ++i) {
            const int type = in.Context->streams[i]->codecpar->codec_type;
            if (type < AVMEDIA_TYPE_UNKNOWN || type >= AVMEDIA_TYPE_NB)
                throw FFMpegException("check_audio_video_sub_inputs fail: invalid codec_type of input file");
        }
}

// Without maps only a stream the default choice may take counts; a map takes any stream.
bool InputsHave(const std::vector<TInputFile>& inputs, AVMediaType type, bool mapped) {
    for (const TInputFile& in : inputs)
        for (unsigned i = 0; i < in.Context->nb_streams; ++i) {
            const AVStream* st = in.Context->streams[i];
            if (st->codecpar->codec_type == type && (mapped || StreamFitness(st).Fit != sfNone))
                return true;
        }
    return false;
}

// The kinds the format or the options ask for, before the inputs have their say.
TKinds WantedKinds(const TOptionSettings& Opt, const AVOutputFormat* fmt) {
    return {(Opt.VideoStreamCopy || HasDefaultVideo(fmt) || Opt.VideoCodecName) && !Opt.VideoDisable,
            (Opt.AudioStreamCopy || fmt->audio_codec != AV_CODEC_ID_NONE || Opt.AudioCodecName) && !Opt.AudioDisable,
            (Opt.SubtitleStreamCopy || fmt->subtitle_codec != AV_CODEC_ID_NONE || Opt.SubtitleCodecName) &&
                !Opt.SubtitleDisable};
}

TKinds OutputKinds(const TOptionSettings& Opt, const std::vector<TInputFile>& inputs, const AVOutputFormat* fmt) {
    TKinds k = WantedKinds(Opt, fmt);
    if (inputs.empty())
        return k;
    CheckInputTypes(inputs);
    const bool mapped = !Opt.StreamMaps.empty();
    k.video &= InputsHave(inputs, AVMEDIA_TYPE_VIDEO, mapped);
    k.audio &= InputsHave(inputs, AVMEDIA_TYPE_AUDIO, mapped);
    k.subtitle &= InputsHave(inputs, AVMEDIA_TYPE_SUBTITLE, mapped);
    return k;
}

// Why each input stream of a wanted kind was left out, as "input stream #0.2 has no audio channels".
std::string LeftOutStreams(const std::vector<TInputFile>& inputs, const TKinds& wanted) {
    std::string text;
    for (size_t f = 0; f < inputs.size(); ++f)
        for (unsigned i = 0; i < inputs[f].Context->nb_streams; ++i) {
            const AVStream* st = inputs[f].Context->streams[i];
            const AVMediaType type = st->codecpar->codec_type;
            if (!(type == AVMEDIA_TYPE_VIDEO && wanted.video) && !(type == AVMEDIA_TYPE_AUDIO && wanted.audio))
                continue;
            const TStreamFitness fitness = StreamFitness(st);
            if (fitness.Fit == sfNone)
                text += std::string(text.empty() ? "" : "; ") + "input stream #" + std::to_string(f) + "." +
                        std::to_string(i) + " " + fitness.Why;
        }
    return text;
}

// "'in.ts' has no audio or video stream", naming the kinds the output would take; empty
// when the output takes none (every kind switched off) or there is no input.
std::string MissingKindsText(const std::vector<TInputFile>& inputs, const TKinds& wanted) {
    std::vector<std::string> kinds;
    for (const auto& [want, name] : {std::pair{wanted.video, "video"}, {wanted.audio, "audio"}, {wanted.subtitle, "subtitle"}})
        if (want)
            kinds.push_back(name);
    if (kinds.empty() || inputs.empty())
        return {};
    std::string list = kinds[0];
    for (size_t i = 1; i < kinds.size(); ++i)
        list += (i + 1 == kinds.size() ? " or " : ", ") + kinds[i];
    const std::string who = inputs.size() == 1 ? "'" + inputs[0].FileName + "' has" : "the input files have";
    return who + " no " + list + " stream";
}

}  // namespace

void TCustomFFmpeg::ResetAfterOutput() {
    Opt.ForcedOutputFormat.clear();
    Opt.ForcedInputFormat.clear();
}

bool TCustomFFmpeg::CreateOutput(const std::string& FileName) {
    try {
        const bool ok = CreateOutputFile(FileName);
        ResetAfterOutput();
        return ok;
    } catch (...) {
        ResetAfterOutput();
        throw;
    }
}

// Writing over one of the task's own inputs would destroy the source before it is read.
std::string TCustomFFmpeg::InputNamedBy(const std::string& FileName) const {
    for (const TInputFile& in : files_->Inputs)
        if (SameFile(FileName, in.FileName))
            return in.FileName;
    return {};
}

bool TCustomFFmpeg::CreateOutputFile(const std::string& FileName) {
    const AVOutputFormat* fmt = Opt.ForcedOutputFormat.empty()
                                    ? av_guess_format(nullptr, FileName.c_str(), nullptr)
                                    : av_guess_format(Opt.ForcedOutputFormat.c_str(), nullptr, nullptr);
    AVFormatContext* raw = nullptr;
    if (!fmt || avformat_alloc_output_context2(&raw, fmt, nullptr, FileName.c_str()) < 0 || !raw) {
        ErrorText = "Unable to find a suitable output format for '" + FileName + "'";
        return false;
    }
    TOutputFile out{OutputContextPtr(raw), FileName, {}, {}};
    ApplyPrivateOptions(out.Context.get(), Opt.MuxerPrivateOptions);
    if (!CreateStreams(out))
        return false;
    SetMetadata(out.Context.get());
    if (LacksFrameNumber(fmt, FileName)) {
        ErrorText = ErrorTextFor(FileName, AVERROR(EDOM));
        return false;
    }
    if (const std::string source = InputNamedBy(FileName); !source.empty()) {
        ErrorText = "Output file '" + FileName + "' is the input file '" + source +
                    "'; choose another output name";
        return false;
    }
    if (!(fmt->flags & AVFMT_NOFILE)) {
        if (const int ret = avio_open(&out.Context->pb, FileName.c_str(), AVIO_FLAG_WRITE); ret < 0) {
            ErrorText = "Could not open '" + FileName + "': " + AvErrorText(ret);
            return false;
        }
        out.Created = TCreatedFile::Find(FileName);
    }
    SetMuxing(out.Context.get());
    files_->Outputs.push_back(std::move(out));
    return true;
}

bool TCustomFFmpeg::CreateStreams(TOutputFile& out) {
    TKinds kinds;
    try {
        kinds = OutputKinds(Opt, files_->Inputs, out.Context->oformat);
    } catch (const FFMpegException& e) {
        ErrorText = e.what();
        return false;
    }
    // Streams that hold nothing a decoder can describe would give an empty file; so would
    // inputs without any stream of a kind the output takes.
    if (!kinds.video && !kinds.audio && !kinds.subtitle && Opt.StreamMaps.empty()) {
        const TKinds wanted = WantedKinds(Opt, out.Context->oformat);
        std::string why = LeftOutStreams(files_->Inputs, wanted);
        if (why.empty())
            why = MissingKindsText(files_->Inputs, wanted);
        if (!why.empty()) {
            ErrorText = "Nothing can be converted to '" + out.FileName + "': " + why;
            return false;
        }
    }
    struct Step {
        bool wanted;
        TMediaKind kind;
        const char* failText;
    };
    const Step steps[] = {{kinds.video, mkVideo, "new_video_stream fail: "},
                          {kinds.audio, mkAudio, "new_audio_stream fail: "},
                          {kinds.subtitle, mkSubtitle, "new_subtitle_stream fail: "}};
    for (const Step& s : steps) {
        if (!s.wanted)
            continue;
        try {
            NewStream(out, s.kind);
        } catch (const FFMpegException& e) {
            ErrorText = s.failText + std::string(e.what());
            return false;
        }
    }
    return true;
}

void TCustomFFmpeg::SetMetadata(AVFormatContext* oc) const {
    if (Opt.RecTimestamp != 0)
        SetMeta(oc, "creation_time", IsoUtcDate(Opt.RecTimestamp), 63);
    SetMeta(oc, "title", Opt.Title, 511);
    SetMeta(oc, "artist", Opt.Author, 511);
    SetMeta(oc, "copyright", Opt.Copyright, 511);
    SetMeta(oc, "comment", Opt.Comment, 511);
    SetMeta(oc, "album", Opt.Album, 511);
    SetMeta(oc, "genre", Opt.Genre, 31);
    if (Opt.Year > 0)
        av_dict_set_int(&oc->metadata, "date", Opt.Year, 0);
    if (Opt.Track > 0)
        av_dict_set_int(&oc->metadata, "track", Opt.Track, 0);
}

void TCustomFFmpeg::SetMuxing(AVFormatContext* oc) const {
    // Muxers that know a preload or a loop count take them; the others have no such option.
    av_opt_set_int(oc, "preload", static_cast<int64_t>(Opt.MuxPreload * 1000000), AV_OPT_SEARCH_CHILDREN);
    oc->max_delay = static_cast<int>(Opt.MuxMaxDelay * 1000000);
    if (Opt.LoopOutput >= 0)
        av_opt_set_int(oc, "loop", Opt.LoopOutput, AV_OPT_SEARCH_CHILDREN);
    if (optionContexts_->format)
        ApplyContextOptions(oc, optionContexts_->format.get(), AV_OPT_FLAG_ENCODING_PARAM);
}

void TCustomFFmpeg::AddStreamToLastOutput(TMediaKind kind) {
    if (files_->Outputs.empty())
        throw FFMpegException("At least one output file must be specified");
    NewStream(files_->Outputs.back(), kind);
}

}  // namespace tavrin
