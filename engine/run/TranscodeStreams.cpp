// Setting up one output stream for a run: copied packets or decoded and re-encoded data.
#include <algorithm>
#include <cstdio>

#include "common/FFMpegException.h"
#include "options/OptionContexts.h"
#include "run/TranscodeRun.h"
#include "binding/SourceQuality.h"

namespace tavrin {
namespace {

// Keep the source's codec tag unless the output container maps that tag to another codec.
bool KeepsSourceTag(const AVOutputFormat* fmt, const AVCodecParameters* src) {
    if (!fmt->codec_tag)
        return true;
    if (av_codec_get_id(fmt->codec_tag, src->codec_tag) == src->codec_id)
        return true;
    unsigned tag = 0;
    return !av_codec_get_tag2(fmt->codec_tag, src->codec_id, &tag);
}

}  // namespace

void TTranscodeRun::SetUpStream(TOutputStreamState& ost) {
    TInputStreamState& ist = ist_[static_cast<size_t>(ost.SourceIndex)];
    if (!av_dict_get(ost.Stream->metadata, "language", nullptr, 0))
        if (const AVDictionaryEntry* lang = av_dict_get(ist.Stream->metadata, "language", nullptr, 0))
            av_dict_set(&ost.Stream->metadata, "language", std::string(lang->value).substr(0, 3).c_str(), 0);
    ost.Stream->disposition = ist.Stream->disposition;
    if (!ost.EncodingNeeded) {
        SetUpCopy(ost, ist);
        return;
    }
    switch (ost.Enc->codec_type) {
    case AVMEDIA_TYPE_AUDIO:
        ost.AudioResample = ost.Enc->sample_rate != ist.Stream->codecpar->sample_rate || opt_.AudioSyncMethod >= 2;
        ost.AudioFrame = MakeFrame();
        break;
    case AVMEDIA_TYPE_VIDEO:
        if (av_image_check_size(ost.Enc->width, ost.Enc->height, 0, nullptr) < 0)
            throw FFMpegException("Output stream #" + std::to_string(ost.FileIndex) + "." + std::to_string(ost.Index) +
                                  ": picture size " + std::to_string(ost.Enc->width) + "x" +
                                  std::to_string(ost.Enc->height) + " is invalid");
        SetUpVideoEncoding(ost, ist);
        break;
    case AVMEDIA_TYPE_SUBTITLE:
        break;
    default:
        throw FFMpegException("invalid codec_type of output stream");
    }
    ist.DecodingNeeded = true;
    avcodec_parameters_from_context(ost.Stream->codecpar, ost.Enc);  // described before the encoder opens
    SetUpTwoPass(ost, static_cast<int>(&ost - ost_.data()));
}

void TTranscodeRun::SetUpCopy(TOutputStreamState& ost, TInputStreamState& ist) {
    const AVCodecParameters* src = ist.Stream->codecpar;
    AVCodecParameters* par = ost.Stream->codecpar;
    const unsigned forcedTag = ost.Enc->codec_tag;
    const AVMediaType type = ost.Enc->codec_type;
    if (type == AVMEDIA_TYPE_VIDEO) {
        if (task_.Hooks.OnCustom)
            throw FFMpegException("-vcodec copy and CustomHook are incompatible (frames are not decoded)");
        if (task_.Hooks.UsingFrameHooks)
            throw FFMpegException("-vcodec copy and -vhook are incompatible (frames are not decoded)");
        CopyDisplayMatrix(ist.Stream, ost.Stream);
    } else if (type == AVMEDIA_TYPE_AUDIO) {
        if (opt_.AudioVolume != 256)
            throw FFMpegException("-acodec copy and -vol are incompatible (frames are not decoded)");
    } else if (type != AVMEDIA_TYPE_SUBTITLE) {
        throw FFMpegException("invalid codec_type of output stream");
    }
    avcodec_parameters_copy(par, src);
    const AVOutputFormat* fmt = files_.Outputs[static_cast<size_t>(ost.FileIndex)].Context->oformat;
    par->codec_tag = forcedTag ? forcedTag : KeepsSourceTag(fmt, src) ? src->codec_tag : 0;
    ost.Stream->time_base = ist.Stream->time_base;
    ost.Stream->avg_frame_rate = ist.Stream->avg_frame_rate;
    ost.Stream->r_frame_rate = ist.Stream->r_frame_rate;
    if (type == AVMEDIA_TYPE_AUDIO &&
        ((par->block_align == 1 && par->codec_id == AV_CODEC_ID_MP3) || par->codec_id == AV_CODEC_ID_AC3))
        par->block_align = 0;
}

// The scaler is not made here: the stream's own description may lack the pixel format (a
// damaged start the probe could not decode) or change later, so each picture is checked
// against the encoder's size and format when it arrives (FormatPicture).
void TTranscodeRun::SetUpVideoEncoding(TOutputStreamState& ost, TInputStreamState& ist) {
    ost.VideoCrop = opt_.CropTop || opt_.CropBottom || opt_.CropLeft || opt_.CropRight;
    ost.VideoPad = opt_.PadTop || opt_.PadBottom || opt_.PadLeft || opt_.PadRight;
    ost.CropTop = opt_.CropTop;
    ost.CropLeft = opt_.CropLeft;
    ost.PadTop = opt_.PadTop;
    ost.PadBottom = opt_.PadBottom;
    ost.PadLeft = opt_.PadLeft;
    ost.PadRight = opt_.PadRight;
    ost.Picture = MakeFrame();
    ost.PictureTemp = MakeFrame();
    ost.Formatted = MakeFrame();
    ost.ScaleTarget = MakeFrame();
    if (!ost.Picture || !ost.PictureTemp || !ost.Formatted || !ost.ScaleTarget)
        throw FFMpegException("av_mallocz fail");
    DescribeOutputColours(ost.Enc, ist.Stream->codecpar);
    SetUpDeinterlace(ist);
    ist.Rotation = DisplayRotation(ist.Stream);
    int64_t flags = SWS_BICUBIC;
    if (task_.OptionContexts().scaler)
        av_opt_get_int(task_.OptionContexts().scaler.get(), "sws_flags", 0, &flags);
    opt_.ScalerFlags = static_cast<int>(flags);
    if (opt_.SameQuality)
        SetUpSameQuality(ost, ist);
}

// Interlaced pictures are made progressive unless the output is coded interlaced itself, or
// deinterlacing was asked for (the frame hooks do it then), or the stream says it is
// progressive.
void TTranscodeRun::SetUpDeinterlace(TInputStreamState& ist) {
    const AVCodecContext* videoOptions = task_.OptionContexts().codec[mkVideo].get();
    const int64_t flags = videoOptions ? videoOptions->flags : 0;
    const bool interlacedOutput = flags & (AV_CODEC_FLAG_INTERLACED_DCT | AV_CODEC_FLAG_INTERLACED_ME);
    if (!opt_.Deinterlace && !interlacedOutput && ist.Stream->codecpar->field_order != AV_FIELD_PROGRESSIVE)
        ist.Deinterlace = true;
}

// Pictures keep their source's quantiser where the decoder tells it; otherwise the
// encoder's own rate control decides (a fixed quantiser of 0 would mean the largest files).
void TTranscodeRun::SetUpSameQuality(TOutputStreamState& ost, TInputStreamState& ist) {
    if (DecoderExportsQuantisers(ist.Stream->codecpar->codec_id)) {
        RequestQuantisers(ist.Dec);
        Log(1, "sameq: each picture is encoded with the quantiser of its source picture");
        return;
    }
    if (ost.StreamQuality <= 0) {
        ost.Enc->flags &= ~AV_CODEC_FLAG_QSCALE;
        ost.Enc->global_quality = 0;
    }
    Log(1, "sameq: the source does not tell its quantisers; the encoder's default quality is used");
}

void TTranscodeRun::SetUpTwoPass(TOutputStreamState& ost, int n) {
    AVCodecContext* enc = ost.Enc;
    if (!(enc->flags & (AV_CODEC_FLAG_PASS1 | AV_CODEC_FLAG_PASS2)))
        return;
    std::string name = (opt_.PassLogFileName.empty() ? std::string("ffmpeg2pass") : opt_.PassLogFileName) + "-" +
                       std::to_string(n) + ".log";
    name = name.substr(0, 1023);
    if (enc->flags & AV_CODEC_FLAG_PASS1) {
        ost.PassLogFile.reset(std::fopen(name.c_str(), "w"));
        if (!ost.PassLogFile)
            throw FFMpegException("creat file fail: " + name);
        return;
    }
    FilePtr f(std::fopen(name.c_str(), "r"));
    if (!f)
        throw FFMpegException("creat open fail: " + name);
    std::fseek(f.get(), 0, SEEK_END);
    const long size = std::max(0L, std::ftell(f.get()));
    std::fseek(f.get(), 0, SEEK_SET);
    char* text = static_cast<char*>(av_malloc(static_cast<size_t>(size) + 1));
    if (!text)
        throw FFMpegException("Could not allocate log buffer");
    const size_t got = std::fread(text, 1, static_cast<size_t>(size), f.get());
    text[got] = 0;
    enc->stats_in = text;
}

}  // namespace tavrin
