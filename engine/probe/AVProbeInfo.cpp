// The facts a probe reports: the container's tags and times, and one video stream's fields.
#include <array>
#include <charconv>
#include <cmath>
#include <cstring>
#include <initializer_list>
#include <limits>

#include "probe/AVProbe.h"
#include "binding/LibAV.h"
#include "binding/LogBridge.h"
#include "binding/Rotation.h"

namespace tavrin {
namespace {

constexpr size_t kTextSize = 511;
constexpr size_t kGenreSize = 31;
constexpr size_t kLanguageSize = 3;
constexpr size_t kCodecNameSize = 31;

// The value of the first (non-null) key the dictionary holds, in any letter case, else null.
const char* Tag(const AVDictionary* dict, std::initializer_list<const char*> keys) {
    for (const char* key : keys)
        if (const AVDictionaryEntry* e = key ? av_dict_get(dict, key, nullptr, 0) : nullptr)
            return e->value;
    return nullptr;
}

std::string Cut(const char* text, size_t max) {
    return text ? std::string(text, strnlen(text, max)) : std::string();
}

// "2008-05-01" gives 2008 and "3/12" gives 3; -1 when the text starts with no number.
int32_t LeadingNumber(const char* text) {
    if (!text)
        return -1;
    const char* end = text + std::strlen(text);
    int32_t value = -1;
    const auto [ptr, ec] = std::from_chars(text, end, value);
    return ec == std::errc() && value >= 0 ? value : -1;
}

// A date text ("2023-01-02T03:04:05.000000Z") as seconds since 1970 UTC, else -1.
int64_t CreationSeconds(const char* text) {
    int64_t micros = 0;
    if (!text || av_parse_time(&micros, text, 0) < 0)
        return -1;
    return static_cast<int64_t>(std::floor(static_cast<double>(micros) / AV_TIME_BASE));
}

int32_t Clamp32(int64_t v) {
    constexpr int64_t lo = std::numeric_limits<int32_t>::min();
    constexpr int64_t hi = std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(v < lo ? lo : v > hi ? hi : v);
}

struct TextTag {
    std::string TAVFileInfo::*field;
    std::array<const char*, 2> keys;  // the second, when set, is today's name for the same tag
    size_t size;
};

constexpr std::array<TextTag, 6> kTextTags = {{
    {&TAVFileInfo::Title, {"title", nullptr}, kTextSize},
    {&TAVFileInfo::Author, {"author", "artist"}, kTextSize},
    {&TAVFileInfo::Copyright, {"copyright", nullptr}, kTextSize},
    {&TAVFileInfo::Comment, {"comment", nullptr}, kTextSize},
    {&TAVFileInfo::Album, {"album", nullptr}, kTextSize},
    {&TAVFileInfo::Genre, {"genre", nullptr}, kGenreSize},
}};

void FillTags(const AVDictionary* tags, TAVFileInfo& info) {
    for (const TextTag& t : kTextTags) {
        info.*t.field = Cut(Tag(tags, {t.keys[0], t.keys[1]}), t.size);
    }
    info.Year = LeadingNumber(Tag(tags, {"year", "date"}));
    info.Track = LeadingNumber(Tag(tags, {"track"}));
    info.Timestamp = CreationSeconds(Tag(tags, {"creation_time"}));
}

int64_t ToMicros(int64_t t, AVRational timeBase) {
    return t == AV_NOPTS_VALUE ? -1 : av_rescale_q(t, timeBase, AV_TIME_BASE_Q);
}

// An unknown sample aspect (0/1 today) means square pixels rather than no number at all.
// A picture shown turned by a quarter has its sides, and so its aspect, swapped.
float DisplayAspect(const AVStream& st) {
    const AVCodecParameters& par = *st.codecpar;
    if (par.width <= 0 || par.height <= 0)
        return -1.0f;
    AVRational sar = st.sample_aspect_ratio.num > 0 ? st.sample_aspect_ratio : par.sample_aspect_ratio;
    if (sar.num <= 0 || sar.den <= 0)
        sar = AVRational{1, 1};
    const double aspect = par.width * av_q2d(sar) / par.height;
    return static_cast<float>(SwapsSides(DisplayRotation(&st)) ? 1.0 / aspect : aspect);
}

void FillStream(const AVStream& st, TAVStreamInfo& info) {
    const AVCodecParameters& par = *st.codecpar;
    info.Language = Cut(Tag(st.metadata, {"language"}), kLanguageSize);
    info.CodecName = Cut(avcodec_get_name(par.codec_id), kCodecNameSize);
    info.StartTime = st.start_time;
    info.StartTimeMicros = ToMicros(st.start_time, st.time_base);
    info.Duration = st.duration;
    info.DurationMicros = ToMicros(st.duration, st.time_base);
    info.BitRate = Clamp32(par.bit_rate);
    const bool turned = SwapsSides(DisplayRotation(&st));
    info.Height = turned ? par.width : par.height;
    info.Width = turned ? par.height : par.width;
    info.DisplayAspect = DisplayAspect(st);
    info.PixelFormat = par.format;
    info.FrameRateNum = st.r_frame_rate.num;
    info.FrameRateDen = st.r_frame_rate.den;
}

}  // namespace

void TAVProbe::GetFileInfo(TAVFileInfo& Info) const {
    Info = TAVFileInfo{};
    if (!context_) {
        LibraryLog(AV_LOG_INFO, "file not loaded.\n");
        return;
    }
    Info.StartTime = context_->start_time;
    Info.Duration = context_->duration;
    Info.BitRate = Clamp32(context_->bit_rate);
    FillTags(context_->metadata, Info);
}

void TAVProbe::GetStreamInfo(int Index, TAVStreamInfo& Info) const {
    Info = TAVStreamInfo{};
    if (const AVStream* st = VideoStreamAt(Index))
        FillStream(*st, Info);
}

const AVStream* TAVProbe::VideoStreamAt(int Index) const {
    if (!context_) {
        LibraryLog(AV_LOG_INFO, "file not loaded.\n");
        return nullptr;
    }
    if (Index < 0) {
        Index = counts_.FirstVideo;
        if (Index == -1) {
            LibraryLog(AV_LOG_ERROR, "no video stream.\n");
            return nullptr;
        }
    } else if (Index >= counts_.Streams) {
        LibraryLog(AV_LOG_ERROR, "stream index #" + std::to_string(Index) + " is invalid.\n");
        return nullptr;
    }
    const AVStream* st = context_->streams[Index];
    if (st->codecpar->codec_type != AVMEDIA_TYPE_VIDEO) {
        LibraryLog(AV_LOG_ERROR, "stream #" + std::to_string(Index) + " is not video stream.\n");
        return nullptr;
    }
    return st;
}

}  // namespace tavrin
