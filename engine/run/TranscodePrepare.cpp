// Preparing a run: tables, stream pairing, stream copy and encoding set-up.
#include <cstdio>
#include <cstring>

#include "common/FFMpegException.h"
#include "options/OptionContexts.h"
#include "run/TranscodeRun.h"
#include "binding/Binding.h"
#include "binding/Errors.h"
#include "binding/StreamFitness.h"

namespace tavrin {
namespace {

std::string Format(const char* fmt, int a, int b = 0, int c = 0, int d = 0) {
    char buf[256];
    std::snprintf(buf, sizeof buf, fmt, a, b, c, d);
    return buf;
}

}  // namespace

TTranscodeRun::TTranscodeRun(TCustomFFmpeg& task)
    : task_(task), opt_(task.Opt), files_(task.Files()), packet_(MakePacket()), outPacket_(MakePacket()) {
    if (!packet_ || !outPacket_)
        throw FFMpegException("av_mallocz fail");
}

// The encoders' pass-2 statistics are ours to free; the codec contexts themselves are
// closed and freed with the task's files.
TTranscodeRun::~TTranscodeRun() {
    StopStages();
    for (TOutputStreamState& ost : ost_)
        if (ost.Enc)
            av_freep(&ost.Enc->stats_in);
}

void TTranscodeRun::Prepare() {
    BuildInputTables();
    BuildOutputTables();
    for (TOutputStreamState& ost : ost_)
        SetUpStream(ost);
    for (size_t i = 0; i < files_.Outputs.size(); ++i)
        av_dump_format(files_.Outputs[i].Context.get(), static_cast<int>(i), files_.Outputs[i].FileName.c_str(), 1);
    LogStreamMapping();
    LogLeftOutStreams();
    // Decoders first: a stream no decoder can handle is named as such, before an encoder
    // set up from its unknown description can fail on it.
    OpenDecoders();
    OpenEncoders();
    for (TInputStreamState& ist : ist_) {
        ist.NextPts = AV_NOPTS_VALUE;
        ist.IsStart = true;
    }
    CopyMetadataMaps();
    WriteHeaders();
    loopStartClock_ = lastReport_ = av_gettime();
}

void TTranscodeRun::BuildInputTables() {
    int first = 0;
    for (size_t f = 0; f < files_.Inputs.size(); ++f) {
        TInputFile& in = files_.Inputs[f];
        const int count = static_cast<int>(in.Context->nb_streams);
        inputFiles_.push_back({false, first, count});
        for (int k = 0; k < count; ++k) {
            TInputStreamState ist;
            ist.FileIndex = static_cast<int>(f);
            ist.Index = k;
            ist.Stream = in.Context->streams[k];
            ist.Dec = in.Streams[static_cast<size_t>(k)].Decoder.get();
            ist.Type = ist.Stream->codecpar->codec_type;
            ist.SampleRate = ist.Stream->codecpar->sample_rate;
            ist.FrameSize = ist.Stream->codecpar->frame_size;
            ist.RateEmulation = in.RateEmulation;
            if (ist.RateEmulation)
                ist.Start = av_gettime();
            ist.Decoded = MakeFrame();
            ist_.push_back(std::move(ist));
        }
        first += count;
    }
}

void TTranscodeRun::BuildOutputTables() {
    size_t total = 0;
    for (const TOutputFile& out : files_.Outputs) {
        if (out.Context->nb_streams == 0)
            throw FFMpegException("Output file does not contain any stream");
        total += out.Context->nb_streams;
    }
    if (!opt_.StreamMaps.empty() && opt_.StreamMaps.size() != total)
        throw FFMpegException("Number of stream maps must match number of output streams");
    CheckMaps();
    ost_.reserve(total);  // SyncSource and table positions stay put
    for (size_t k = 0; k < files_.Outputs.size(); ++k) {
        TOutputFile& out = files_.Outputs[k];
        for (unsigned i = 0; i < out.Context->nb_streams; ++i) {
            TOutputStreamState ost;
            ost.FileIndex = static_cast<int>(k);
            ost.Index = static_cast<int>(i);
            ost.Stream = out.Context->streams[i];
            ost.Enc = out.Streams[i].Encoder.get();
            ost.StreamQuality = out.Streams[i].Quality;
            ost.EncodingNeeded = !out.Streams[i].StreamCopy;
            ost.SourceIndex = ChooseSource(ost);
            TInputStreamState& src = ist_[static_cast<size_t>(ost.SourceIndex)];
            src.Discard = false;
            ost.SyncSource = &src;
            if (!opt_.StreamMaps.empty()) {
                const TStreamMap& m = opt_.StreamMaps[ost_.size()];
                ost.SyncSource = &ist_[static_cast<size_t>(inputFiles_[static_cast<size_t>(m.syncFile)].FirstStreamIndex + m.syncStream)];
            }
            ost_.push_back(std::move(ost));
        }
    }
}

void TTranscodeRun::CheckMaps() const {
    auto inside = [this](int file, int stream) {
        return file >= 0 && file < static_cast<int>(inputFiles_.size()) && stream >= 0 &&
               stream < inputFiles_[static_cast<size_t>(file)].StreamCount;
    };
    for (const TStreamMap& m : opt_.StreamMaps) {
        if (!inside(m.file, m.stream))
            throw FFMpegException(Format("Could not find input stream #%d.%d", m.file, m.stream));
        if (!inside(m.syncFile, m.syncStream))
            throw FFMpegException(Format("Could not find sync stream #%d.%d", m.syncFile, m.syncStream));
    }
}

int TTranscodeRun::ChooseSource(const TOutputStreamState& ost) const {
    const AVMediaType type = ost.Enc->codec_type;
    auto dumpAndFail = [&](const std::string& text) {
        av_dump_format(files_.Outputs[static_cast<size_t>(ost.FileIndex)].Context.get(), ost.FileIndex,
                       files_.Outputs[static_cast<size_t>(ost.FileIndex)].FileName.c_str(), 1);
        throw FFMpegException(text);
    };
    if (!opt_.StreamMaps.empty()) {
        const TStreamMap& m = opt_.StreamMaps[ost_.size()];
        const int n = inputFiles_[static_cast<size_t>(m.file)].FirstStreamIndex + m.stream;
        if (ist_[static_cast<size_t>(n)].Stream->codecpar->codec_type != type)
            dumpAndFail(Format("Codec type mismatch for mapping #%d.%d -> #%d.%d", m.file, m.stream, ost.FileIndex, ost.Index));
        return n;
    }
    const std::vector<int> candidates = Candidates(type);
    int last = -1;
    for (const int n : candidates) {
        if (ist_[static_cast<size_t>(n)].Discard)
            return n;
        if (opt_.ProgramID == 0)
            last = n;
    }
    if (last >= 0)
        return last;
    dumpAndFail(Format("Could not find input stream matching output stream #%d.%d", ost.FileIndex, ost.Index));
    return -1;
}

// The input streams of that type the default choice may take, in table order (or in the
// order of the chosen program's streams): those that fit best, never an unfit one.
std::vector<int> TTranscodeRun::Candidates(AVMediaType type) const {
    std::vector<int> all;
    if (opt_.ProgramID != 0) {
        for (size_t f = 0; f < files_.Inputs.size(); ++f) {
            const AVFormatContext* ic = files_.Inputs[f].Context.get();
            for (unsigned p = 0; p < ic->nb_programs; ++p)
                if (ic->programs[p]->id == opt_.ProgramID)
                    for (unsigned s = 0; s < ic->programs[p]->nb_stream_indexes; ++s)
                        all.push_back(inputFiles_[f].FirstStreamIndex + static_cast<int>(ic->programs[p]->stream_index[s]));
        }
    } else {
        for (size_t n = 0; n < ist_.size(); ++n)
            all.push_back(static_cast<int>(n));
    }
    std::erase_if(all, [&](int n) { return ist_[static_cast<size_t>(n)].Stream->codecpar->codec_type != type; });
    TStreamFit best = sfNone;
    for (const int n : all)
        best = std::max(best, StreamFitness(ist_[static_cast<size_t>(n)].Stream).Fit);
    std::erase_if(all, [&](int n) { return best == sfNone || StreamFitness(ist_[static_cast<size_t>(n)].Stream).Fit != best; });
    return all;
}

void TTranscodeRun::LogStreamMapping() {
    if (task_.Verbosity < 0)
        return;
    Log(1, "Stream mapping:");
    for (const TOutputStreamState& ost : ost_) {
        const TInputStreamState& src = ist_[static_cast<size_t>(ost.SourceIndex)];
        std::string line = Format("  Stream #%d.%d -> #%d.%d", src.FileIndex, src.Index, ost.FileIndex, ost.Index);
        if (ost.SyncSource != &src)
            line += Format(" [sync #%d.%d]", ost.SyncSource->FileIndex, ost.SyncSource->Index);
        Log(1, line);
    }
}

// Says why the default choice passed over a stream a person may have expected to see.
void TTranscodeRun::LogLeftOutStreams() {
    if (task_.Verbosity < 0 || !opt_.StreamMaps.empty())
        return;
    for (const TInputStreamState& ist : ist_) {
        const AVMediaType type = ist.Stream->codecpar->codec_type;
        if (!ist.Discard || (type != AVMEDIA_TYPE_VIDEO && type != AVMEDIA_TYPE_AUDIO))
            continue;
        const TStreamFitness fitness = StreamFitness(ist.Stream);
        if (fitness.Fit == sfNone)
            Log(1, Format("Input stream #%d.%d ", ist.FileIndex, ist.Index) + fitness.Why + "; it is not converted");
    }
}

void TTranscodeRun::OpenEncoders() {
    for (TOutputStreamState& ost : ost_) {
        if (!ost.EncodingNeeded)
            continue;
        const AVCodec* codec = avcodec_find_encoder(ost.Enc->codec_id);
        if (!codec)
            throw FFMpegException(Format("Unsupported codec for output stream #%d.%d", ost.FileIndex, ost.Index));
        if (ost.Enc->codec_type == AVMEDIA_TYPE_SUBTITLE)
            SetUpSubtitleEncoder(ost);
        int ret;
        {
            std::lock_guard lock(CodecLock());
            ret = avcodec_open2(ost.Enc, codec, nullptr);
        }
        if (ret < 0)
            throw FFMpegException(Format("Error while opening codec for output stream #%d.%d - maybe incorrect "
                                         "parameters such as bit_rate, rate, width or height", ost.FileIndex, ost.Index));
        ost.EncoderOpen = true;
        ExtraBytes += ost.Enc->extradata_size;
        avcodec_parameters_from_context(ost.Stream->codecpar, ost.Enc);
        ost.Stream->time_base = ost.Enc->time_base;
        ost.Stream->avg_frame_rate = ost.Enc->framerate;
    }
}

// Text subtitle encoders write the styles of the decoder's header and need a clock; the
// decoder is opened first to learn its header.
void TTranscodeRun::SetUpSubtitleEncoder(TOutputStreamState& ost) {
    TInputStreamState& ist = ist_[static_cast<size_t>(ost.SourceIndex)];
    OpenDecoder(ist);
    AVCodecContext* enc = ost.Enc;
    enc->time_base = ist.Stream->time_base;
    if (ist.Dec->subtitle_header && ist.Dec->subtitle_header_size > 0 && !enc->subtitle_header) {
        enc->subtitle_header = static_cast<uint8_t*>(av_mallocz(static_cast<size_t>(ist.Dec->subtitle_header_size) + 1));
        if (!enc->subtitle_header)
            throw FFMpegException("av_malloc fail");
        std::memcpy(enc->subtitle_header, ist.Dec->subtitle_header, static_cast<size_t>(ist.Dec->subtitle_header_size));
        enc->subtitle_header_size = ist.Dec->subtitle_header_size;
    }
}

void TTranscodeRun::OpenDecoders() {
    for (TInputStreamState& ist : ist_)
        OpenDecoder(ist);
}

void TTranscodeRun::OpenDecoder(TInputStreamState& ist) {
    if (!ist.DecodingNeeded || ist.DecoderOpen)
        return;
    const AVCodec* codec = avcodec_find_decoder(ist.Stream->codecpar->codec_id);
    if (!codec || !ist.Dec)
        throw FFMpegException(Format("Unsupported codec (id=%d) for input stream #%d.%d",
                                     ist.Stream->codecpar->codec_id, ist.FileIndex, ist.Index));
    int ret;
    {
        std::lock_guard lock(CodecLock());
        ret = avcodec_open2(ist.Dec, codec, nullptr);
    }
    if (ret < 0)
        throw FFMpegException(Format("Error while opening codec for input stream #%d.%d", ist.FileIndex, ist.Index));
    ist.DecoderOpen = true;
}

void TTranscodeRun::CopyMetadataMaps() {
    static const char* const kKeys[] = {"title", "author", "artist", "copyright", "comment", "album", "date", "year", "track", "genre"};
    for (const TMetaDataMap& m : opt_.MetaDataMaps) {
        if (m.outFile < 0 || m.outFile >= static_cast<int>(files_.Outputs.size()))
            throw FFMpegException(Format("Invalid output file index %d map_meta_data(%d,%d)", m.outFile, m.outFile, m.inFile));
        if (m.inFile < 0 || m.inFile >= static_cast<int>(files_.Inputs.size()))
            throw FFMpegException(Format("Invalid input file index %d map_meta_data(%d,%d)", m.inFile, m.outFile, m.inFile));
        AVDictionary* src = files_.Inputs[static_cast<size_t>(m.inFile)].Context->metadata;
        AVDictionary** dst = &files_.Outputs[static_cast<size_t>(m.outFile)].Context->metadata;
        for (const char* key : kKeys)
            if (const AVDictionaryEntry* e = av_dict_get(src, key, nullptr, 0))
                av_dict_set(dst, key, e->value, 0);
    }
}

// A header the disk would not take (full, or over the size limit) is no fault of the
// codec parameters: the text names the file and the system's reason.
std::string TTranscodeRun::HeaderFailureText(size_t file) const {
    const TOutputFile& out = files_.Outputs[file];
    const int io = out.Context->pb ? out.Context->pb->error : 0;
    if (io < 0)
        return Format("Could not write header for output file #%d", static_cast<int>(file)) + " ('" + out.FileName +
               "'): " + AvErrorText(io);
    return Format("Could not write header for output file #%d (incorrect codec parameters ?)", static_cast<int>(file));
}

void TTranscodeRun::WriteHeaders() {
    bool allRtp = true;
    for (size_t i = 0; i < files_.Outputs.size(); ++i) {
        AVFormatContext* oc = files_.Outputs[i].Context.get();
        if (avformat_write_header(oc, nullptr) < 0)
            throw FFMpegException(HeaderFailureText(i));
        allRtp &= std::string(oc->oformat->name) == "rtp";
    }
    if (!allRtp || !task_.LogHandlerBound())
        return;
    std::vector<AVFormatContext*> all;
    for (TOutputFile& out : files_.Outputs)
        all.push_back(out.Context.get());
    char sdp[2048] = {};
    av_sdp_create(all.data(), static_cast<int>(all.size()), sdp, sizeof sdp);
    std::string text(sdp);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
        text.pop_back();
    Log(1, "SDP: " + text);
}

}  // namespace tavrin
