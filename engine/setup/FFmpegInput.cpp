// Opening the task's input: format hints, stream probing, the start seek, and copying the
// input's stream parameters back into the settings an output created later inherits.
#include <algorithm>
#include <cctype>
#include <climits>
#include <filesystem>
#include <vector>

#include "common/FFMpegException.h"
#include "options/FFmpeg.h"
#include "options/OptionContexts.h"
#include "setup/OpenedInputs.h"
#include "setup/TaskFiles.h"
#include "binding/Binding.h"
#include "binding/LogBridge.h"
#include "binding/Rotation.h"
#include "binding/StreamFitness.h"

namespace tavrin {
namespace {

using DictPtr = std::unique_ptr<AVDictionary*, void (*)(AVDictionary**)>;

void SetIf(AVDictionary** d, bool cond, const char* key, const std::string& value) {
    if (cond)
        av_dict_set(d, key, value.c_str(), 0);
}

// The hints a raw or capture input reads; demuxers ignore the ones they do not know.
AVDictionary* FormatParameters(const TOptionSettings& o) {
    AVDictionary* d = nullptr;
    SetIf(&d, o.AudioSampleRate > 0, "sample_rate", std::to_string(o.AudioSampleRate));
    SetIf(&d, o.AudioChannels > 0, "channels", std::to_string(o.AudioChannels));
    SetIf(&d, o.FrameRate.num > 0 && o.FrameRate.den > 0, "framerate",
          std::to_string(o.FrameRate.num) + "/" + std::to_string(o.FrameRate.den));
    // Summed wide: padding options may be as large as an int; a hint no picture can have is left out.
    const int64_t w = int64_t{o.FrameWidth} + o.PadLeft + o.PadRight, h = int64_t{o.FrameHeight} + o.PadTop + o.PadBottom;
    SetIf(&d, w > 0 && h > 0 && w <= INT_MAX && h <= INT_MAX, "video_size", std::to_string(w) + "x" + std::to_string(h));
    if (o.FramePixFmt >= 0)
        if (const char* name = av_get_pix_fmt_name(static_cast<AVPixelFormat>(o.FramePixFmt)))
            av_dict_set(&d, "pixel_format", name, 0);
    SetIf(&d, o.VideoChannel != 0, "channel", std::to_string(o.VideoChannel));
    SetIf(&d, o.VideoStandard.has_value(), "standard", o.VideoStandard.value_or(""));
    // Picture inputs start over at their end (a single picture becomes a still clip).
    SetIf(&d, o.LoopInput, "loop", "1");
    return d;
}

// With a programme id only that programme's streams are used; without one, every stream.
bool InChosenProgramme(const AVFormatContext* ic, unsigned stream, int programId) {
    if (programId == 0)
        return true;
    for (unsigned p = 0; p < ic->nb_programs; ++p) {
        const AVProgram* prog = ic->programs[p];
        if (prog->id == programId &&
            std::find(prog->stream_index, prog->stream_index + prog->nb_stream_indexes, stream) !=
                prog->stream_index + prog->nb_stream_indexes)
            return true;
    }
    return false;
}

bool IsRealMediaName(const std::string& fileName) {
    std::string ext = std::filesystem::path(fileName).extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
    return !ext.empty() && std::string(".rmvb").rfind(ext, 0) == 0;
}

}  // namespace

// Per-file settings go back to their defaults whether the open worked or not.
void TCustomFFmpeg::ResetAfterInput() {
    Opt.ForcedInputFormat.clear();
    Opt.ForcedOutputFormat.clear();
    Opt.VideoChannel = 0;
    Opt.RateEmulation = false;
    Opt.VideoCodecName.reset();
    Opt.AudioCodecName.reset();
    Opt.SubtitleCodecName.reset();
}

bool TCustomFFmpeg::OpenInput(const std::string& FileName) {
    try {
        const bool ok = OpenInputFile(FileName);
        ResetAfterInput();
        return ok;
    } catch (...) {
        ResetAfterInput();
        throw;
    }
}

bool TCustomFFmpeg::OpenInputFile(const std::string& FileName) {
    int videoId = 0, audioId = 0, subtitleId = 0;
    if (!FindCodec(Opt.VideoCodecName, mkVideo, false, videoId) ||
        !FindCodec(Opt.AudioCodecName, mkAudio, false, audioId) ||
        !FindCodec(Opt.SubtitleCodecName, mkSubtitle, false, subtitleId))
        return false;
    if (Opt.PgmYuvCompat)
        videoId = AV_CODEC_ID_PGMYUV;
    if (videoId == 0 && audioId == 0 && subtitleId == 0 && OpensAsProbed())
        if (InputContextPtr kept = TakeOpenedInput(FileName); kept && !HintsApplyTo(kept->iformat)) {
            TInputFile in{std::move(kept), FileName, 0, Opt.RateEmulation, {}};
            return ProbeInput(in, true) && RegisterInput(std::move(in));
        }

    AVFormatContext* ic = avformat_alloc_context();
    if (!ic) {
        ErrorText = ErrorTextFor(FileName, AVERROR(ENOMEM));
        return false;
    }
    if (optionContexts_->format)
        ApplyContextOptions(ic, optionContexts_->format.get(), AV_OPT_FLAG_DECODING_PARAM);
    ic->video_codec_id = static_cast<AVCodecID>(videoId);
    ic->audio_codec_id = static_cast<AVCodecID>(audioId);
    ic->subtitle_codec_id = static_cast<AVCodecID>(subtitleId);
    const AVInputFormat* forced =
        Opt.ForcedInputFormat.empty() ? nullptr : av_find_input_format(Opt.ForcedInputFormat.c_str());
    AVDictionary* params = FormatParameters(Opt);
    TLibraryErrorCapture libraryError;
    int ret = avformat_open_input(&ic, FileName.c_str(), forced, &params);  // frees ic on failure
    av_dict_free(&params);
    if (ret < 0) {
        ErrorText = forced ? ErrorTextFor(FileName, ret) : InputOpenErrorText(FileName, ret, libraryError.FirstError());
        return false;
    }
    TInputFile in{InputContextPtr(ic), FileName, 0, Opt.RateEmulation, {}};
    return ProbeInput(in, false) && RegisterInput(std::move(in));
}

// Whether this opening asks for nothing a probe's plain opening lacks: no forced format,
// programme or format options. The hints are checked against the kept input's format.
bool TCustomFFmpeg::OpensAsProbed() const {
    if (!Opt.ForcedInputFormat.empty() || Opt.PgmYuvCompat || Opt.ProgramID != 0)
        return false;
    if (const AVFormatContext* options = optionContexts_->format.get())
        for (const AVOption* o = nullptr; (o = av_opt_next(options, o));)
            if (o->type != AV_OPT_TYPE_CONST && av_opt_is_set_to_default(const_cast<AVFormatContext*>(options), o) == 0)
                return false;
    return true;
}

// Whether the format reads any of the hints (a picture sequence reads its rate and size);
// most formats ignore them, and a probe opened without them.
bool TCustomFFmpeg::HintsApplyTo(const AVInputFormat* format) const {
    AVDictionary* hints = FormatParameters(Opt);
    bool applies = false;
    for (const AVDictionaryEntry* e = nullptr; !applies && (e = av_dict_get(hints, "", e, AV_DICT_IGNORE_SUFFIX));)
        applies = format->priv_class &&
                  av_opt_find(const_cast<AVClass**>(&format->priv_class), e->key, nullptr, 0, AV_OPT_SEARCH_FAKE_OBJ);
    av_dict_free(&hints);
    return applies;
}

// An input a probe kept has its stream information read already.
bool TCustomFFmpeg::ProbeInput(TInputFile& in, bool analysed) {
    AVFormatContext* ic = in.Context.get();
    if (Opt.ProgramID != 0)
        for (unsigned i = 0; i < ic->nb_programs; ++i)
            if (ic->programs[i]->id != Opt.ProgramID)
                ic->programs[i]->discard = AVDISCARD_ALL;
    const int ret = analysed ? 0 : ReadStreamInfo(ic);
    if (ret < 0 && Verbosity >= 0) {
        ErrorText = in.FileName + ": could not find codec parameters";
        return false;
    }
    int64_t timestamp = Opt.StartTime;
    if (ic->start_time != AV_NOPTS_VALUE)
        timestamp += ic->start_time;
    if (Opt.StartTime != 0) {
        av_seek_frame(ic, -1, timestamp, AVSEEK_FLAG_BACKWARD);
        Opt.StartTime = 0;
    }
    in.TsOffset = Opt.NextInputTsOffset - (Opt.CopyTimestamps ? 0 : timestamp);
    for (unsigned i = 0; i < ic->nb_streams; ++i)
        AssumeRealMediaPixelFormat(in.FileName, ic->streams[i]->codecpar);
    // An output created later inherits the facts of the streams the default choice takes
    // from the chosen programme: not those of a cover picture, of a stream without data or
    // of another angle.
    const auto eligible = [&](unsigned i) { return InChosenProgramme(ic, i, Opt.ProgramID); };
    const int video = DefaultChoice(ic, AVMEDIA_TYPE_VIDEO, eligible);
    const int audio = DefaultChoice(ic, AVMEDIA_TYPE_AUDIO, eligible);
    for (int i = 0; i < static_cast<int>(ic->nb_streams); ++i)
        in.Streams.push_back(TakeInputStream(ic->streams[i], i == video || i == audio));
    return true;
}

// RealMedia decoders report their pixel format only once they decode; it is planar 4:2:0.
void TCustomFFmpeg::AssumeRealMediaPixelFormat(const std::string& fileName, AVCodecParameters* par) {
    if (par->codec_type == AVMEDIA_TYPE_VIDEO && par->format < 0 && IsRealMediaName(fileName))
        par->format = AV_PIX_FMT_YUV420P;
}

// Only the streams of the default choice describe an output created later.
TInputStreamInfo TCustomFFmpeg::TakeInputStream(AVStream* st, bool chosen) {
    AVCodecParameters* par = st->codecpar;
    TInputStreamInfo info;
    info.Decoder.reset(avcodec_alloc_context3(avcodec_find_decoder(par->codec_id)));
    if (!info.Decoder || avcodec_parameters_to_context(info.Decoder.get(), par) < 0)
        throw FFMpegException("Could not alloc codec context");
    AVCodecContext* c = info.Decoder.get();
    c->thread_count = Opt.ThreadCount;
    c->pkt_timebase = st->time_base;
    const int decoding = AV_OPT_FLAG_DECODING_PARAM;
    switch (par->codec_type) {
    case AVMEDIA_TYPE_AUDIO:
        ApplyContextOptions(c, optionContexts_->codec[mkAudio].get(), AV_OPT_FLAG_AUDIO_PARAM | decoding);
        if (chosen && par->ch_layout.nb_channels > 0 && par->sample_rate > 0) {
            Opt.AudioChannels = par->ch_layout.nb_channels;
            Opt.AudioSampleRate = par->sample_rate;
        }
        if (Opt.AudioDisable)
            st->discard = AVDISCARD_ALL;
        break;
    case AVMEDIA_TYPE_VIDEO:
        ApplyContextOptions(c, optionContexts_->codec[mkVideo].get(), AV_OPT_FLAG_VIDEO_PARAM | decoding);
        TakeVideoParameters(st, c, chosen);
        break;
    case AVMEDIA_TYPE_SUBTITLE:
        if (Opt.SubtitleDisable)
            st->discard = AVDISCARD_ALL;
        break;
    case AVMEDIA_TYPE_UNKNOWN: case AVMEDIA_TYPE_DATA: case AVMEDIA_TYPE_ATTACHMENT:
        break;
    default:
        throw FFMpegException("invalid codec_type");
    }
    return info;
}

void TCustomFFmpeg::TakeVideoParameters(AVStream* st, AVCodecContext* c, bool chosen) {
    const AVCodecParameters* par = st->codecpar;
    // A picture whose size the probe could not learn describes nothing; the settings keep
    // what a known stream gave them, and the stream itself is only refused if it is used.
    if (chosen && par->width > 0 && par->height > 0)
        TakeFrameSettings(st);
    if (Opt.MotionEstimationThreshold != 0)
        c->export_side_data |= AV_CODEC_EXPORT_DATA_MVS;
    if (Opt.VideoDisable)
        st->discard = AVDISCARD_ALL;
    else if (Opt.VideoDiscard != 0)
        st->discard = static_cast<AVDiscard>(Opt.VideoDiscard);
}

// Size and aspect are those of the picture as a player shows it: a phone video stored
// sideways with a display rotation is converted upright (the run turns its pictures).
void TCustomFFmpeg::TakeFrameSettings(const AVStream* st) {
    const AVCodecParameters* par = st->codecpar;
    const bool turned = SwapsSides(DisplayRotation(st));
    const int width = turned ? par->height : par->width, height = turned ? par->width : par->height;
    Opt.FrameHeight = height;
    Opt.FrameWidth = width;
    const AVRational sar = turned ? AVRational{par->sample_aspect_ratio.den, par->sample_aspect_ratio.num}
                                  : par->sample_aspect_ratio;
    Opt.FrameAspectRatio = sar.num && sar.den ? static_cast<float>(av_q2d(sar) * width / height) : 0.0f;
    if (Opt.FrameAspectRatio == 0)
        DispatchOption("aspect", std::to_string(width) + ":" + std::to_string(height));
    Opt.FramePixFmt = par->format;
    Opt.FrameRate = {st->r_frame_rate.num, st->r_frame_rate.den};
}

bool TCustomFFmpeg::RegisterInput(TInputFile&& in) {
    AVFormatContext* ic = in.Context.get();
    if (ic->duration != AV_NOPTS_VALUE && ic->duration / 1000 > TotalOutputDuration)
        TotalOutputDuration = static_cast<int>(ic->duration / 1000);
    if (Verbosity >= 0)
        av_dump_format(ic, static_cast<int>(files_->Inputs.size()), in.FileName.c_str(), 0);
    files_->Inputs.push_back(std::move(in));
    return true;
}

}  // namespace tavrin
