#include "probe/AVProbe.h"
#include "binding/LibAV.h"

#include <array>
#include <stdexcept>
#include <utility>

#include "setup/TaskFiles.h"
#include "binding/Binding.h"
#include "binding/LogBridge.h"
#include "binding/StreamFitness.h"

namespace tavrin {

void TAVProbe::InputCloser::operator()(AVFormatContext* ctx) const { avformat_close_input(&ctx); }

bool TAVProbe::HasInputFormat(const std::string& name) {
    return !name.empty() && av_find_input_format(name.c_str()) != nullptr;
}

void TAVProbe::CheckLibraries() {
    static constexpr std::array<std::pair<TLibraryUnit, const char*>, 4> checks = {{
        {TLibraryUnit::AVCodec, "LibAVCodec not loaded."},
        {TLibraryUnit::AVFormat, "LibAVFormat not loaded."},
        {TLibraryUnit::AVUtil, "LibAVUtil not loaded."},
        {TLibraryUnit::SwScale, "LibSwScale not loaded."},
    }};
    for (const auto& [unit, text] : checks)
        if (!LibraryResolved(unit))
            throw std::runtime_error(text);
}

bool TAVProbe::Open(const std::string& FileName, const std::string& FormatName) {
    CheckLibraries();
    Close();
    const AVInputFormat* format = nullptr;
    if (!FormatName.empty()) {
        format = av_find_input_format(FormatName.c_str());
        if (!format) {
            lastError_ = "Unknown input format: " + FormatName;
            return false;
        }
    }
    // Taken before opening: a file that changes while it is read is not passed off as read.
    const TFileIdentity identity = IdentityOf(FileName);
    // On failure the library frees the context it allocated and leaves the pointer null.
    AVFormatContext* raw = nullptr;
    TLibraryErrorCapture libraryError;
    const int opened = avformat_open_input(&raw, FileName.c_str(), format, nullptr);
    if (opened < 0) {
        lastError_ = InputOpenErrorText(FileName, opened, libraryError.FirstError());
        return false;
    }
    InputContextPtr context(raw);
    if (ReadStreamInfo(context.get()) < 0) {
        lastError_ = FileName + ": could not find codec parameters";
        return false;
    }
    counts_ = CountStreams(*context);
    context_.reset(context.release());
    formatName_ = FormatName;
    fileName_ = FileName;
    identity_ = identity;
    return true;
}

void TAVProbe::KeepForConversion() {
    if (context_ && formatName_.empty())
        KeepOpenedInput(fileName_, identity_, InputContextPtr(context_.release()));
    Close();
}

void TAVProbe::Close() {
    formatName_.clear();
    fileName_.clear();
    identity_ = {};
    context_.reset();
    counts_ = TStreamCounts{};
}

TAVProbe::TStreamCounts TAVProbe::CountStreams(const AVFormatContext& ctx) {
    TStreamCounts c;
    c.Streams = static_cast<int>(ctx.nb_streams);
    c.Programs = static_cast<int>(ctx.nb_programs);
    c.Audio = c.Video = c.Subtitle = 0;
    struct Kind {
        AVMediaType type;
        int TStreamCounts::*count;
        int TStreamCounts::*first;
    };
    static constexpr std::array<Kind, 3> kinds = {{
        {AVMEDIA_TYPE_VIDEO, &TStreamCounts::Video, &TStreamCounts::FirstVideo},
        {AVMEDIA_TYPE_AUDIO, &TStreamCounts::Audio, &TStreamCounts::FirstAudio},
        {AVMEDIA_TYPE_SUBTITLE, &TStreamCounts::Subtitle, &TStreamCounts::FirstSubtitle},
    }};
    for (int i = 0; i < c.Streams; ++i) {
        if (IsAttachedPicture(ctx.streams[i]))
            continue;  // a cover picture, not the file's video
        const AVMediaType type = ctx.streams[i]->codecpar->codec_type;
        for (const Kind& k : kinds) {
            if (k.type != type)
                continue;
            ++(c.*k.count);
            if (c.*k.first == -1)
                c.*k.first = i;
        }
    }
    // The row describes the video stream a conversion takes by default.
    if (const int video = DefaultChoice(&ctx, AVMEDIA_TYPE_VIDEO); video >= 0)
        c.FirstVideo = video;
    return c;
}

}  // namespace tavrin
