// Options about the picture and the codecs.
#include <algorithm>
#include <iterator>
#include <string_view>

#include "common/FFMpegException.h"
#include "options/FFmpeg.h"
#include "options/OptionHandlers.h"
#include "binding/LibAV.h"
#include "options/OptionParsing.h"

namespace tavrin::options {
namespace {

using S = TOptionSettings;

template <typename Row>
const Row& RowFor(const Row (&rows)[4], const std::string& name) {
    return *std::find_if(std::begin(rows), std::end(rows), [&](const Row& r) { return r.name == name; });
}

struct CropRow {
    std::string_view name;
    int S::*crop;
    int S::*dimension;
    const char* oddText;
    const char* rangeText;
};

constexpr const char* kVerticalRange =
    "Vertical crop dimensions are outside the range of the original image.\nRemember to crop first and scale second.";
constexpr const char* kHorizontalRange =
    "Horizontal crop dimensions are outside the range of the original image.\nRemember to crop first and scale second.";

constexpr CropRow kCrops[4] = {
    {"croptop", &S::CropTop, &S::FrameHeight, "Top crop size must be a multiple of 2", kVerticalRange},
    {"cropbottom", &S::CropBottom, &S::FrameHeight, "Bottom crop size must be a multiple of 2", kVerticalRange},
    {"cropleft", &S::CropLeft, &S::FrameWidth, "Left crop size must be a multiple of 2", kHorizontalRange},
    {"cropright", &S::CropRight, &S::FrameWidth, "Right crop size must be a multiple of 2", kHorizontalRange},
};

struct PadRow {
    std::string_view name;
    int S::*pad;
    const char* oddText;
};

constexpr PadRow kPads[4] = {
    {"padtop", &S::PadTop, "Top pad size must be a multiple of 2"},
    {"padbottom", &S::PadBottom, "Bottom pad size must be a multiple of 2"},
    {"padleft", &S::PadLeft, "Left pad size must be a multiple of 2"},
    {"padright", &S::PadRight, "Right pad size must be a multiple of 2"},
};

// The value of a crop or pad: negative ones are returned to be ignored, odd ones refused.
int EvenSize(const std::string& value, const char* oddText) {
    const int v = ParseInt(value);
    if (v >= 0 && v % 2 != 0)
        throw FFMpegException(oddText);
    return v;
}

}  // namespace

void FrameRate(TCustomFFmpeg& task, const std::string&, const std::string& value) {
    AVRational rate{0, 0};
    if (av_parse_video_rate(&rate, value.c_str()) < 0)
        throw FFMpegException("Incorrect frame rate");
    task.Opt.FrameRate = TRational{rate.num, rate.den};
}

void FrameSize(TCustomFFmpeg& task, const std::string&, const std::string& value) {
    int w = 0, h = 0;
    if (av_parse_video_size(&w, &h, value.c_str()) < 0)
        throw FFMpegException("Incorrect frame size");
    if (w % 2 != 0 || h % 2 != 0)
        throw FFMpegException("Frame size must be a multiple of 2");
    task.Opt.FrameWidth = w;
    task.Opt.FrameHeight = h;
}

void Aspect(TCustomFFmpeg& task, const std::string&, const std::string& value) {
    const double aspect = ParseAspect(value);
    if (aspect == 0)
        throw FFMpegException("Incorrect aspect ratio specification.");
    task.Opt.FrameAspectRatio = static_cast<float>(aspect);
}

void PixelFormat(TCustomFFmpeg& task, const std::string&, const std::string& value) {
    if (value != "list") {
        task.Opt.FramePixFmt = av_get_pix_fmt(value.c_str());
        return;
    }
    if (!task.LogHandlerBound())
        return;
    char line[256];
    task.Log(1, TrimText(av_get_pix_fmt_string(line, sizeof line, AV_PIX_FMT_NONE)));
    for (const AVPixFmtDescriptor* d = av_pix_fmt_desc_next(nullptr); d; d = av_pix_fmt_desc_next(d))
        task.Log(1, TrimText(av_get_pix_fmt_string(line, sizeof line, av_pix_fmt_desc_get_id(d))));
}

void Crop(TCustomFFmpeg& task, const std::string& name, const std::string& value) {
    const CropRow& row = RowFor(kCrops, name);
    const int v = EvenSize(value, row.oddText);
    if (v < 0)
        return;
    if (v >= task.Opt.*row.dimension)
        throw FFMpegException(row.rangeText);
    task.Opt.*row.crop = v;
    task.Opt.*row.dimension -= v;
}

void Pad(TCustomFFmpeg& task, const std::string& name, const std::string& value) {
    const PadRow& row = RowFor(kPads, name);
    if (const int v = EvenSize(value, row.oddText); v >= 0)
        task.Opt.*row.pad = v;
}

void SetPadColor(TCustomFFmpeg& task, uint32_t bgr) {
    const auto yuv = ColorToYuv(bgr);
    std::copy(yuv.begin(), yuv.end(), task.Opt.PadColor);
}

void PadColor(TCustomFFmpeg& task, const std::string&, const std::string& value) {
    SetPadColor(task, static_cast<uint32_t>(ParseInt(value)));
}

void QScale(TCustomFFmpeg& task, const std::string&, const std::string& value) {
    const double q = ParseFloat(value);
    if (!(q > 0 && q <= 255))
        throw FFMpegException("qscale must be > 0.0 and <= 255");
    task.Opt.VideoQScale = static_cast<float>(q);
}

void Codec(TCustomFFmpeg& task, const std::string& name, const std::string& value) {
    auto& codecName = name == "vcodec" ? task.Opt.VideoCodecName
                      : name == "acodec" ? task.Opt.AudioCodecName : task.Opt.SubtitleCodecName;
    bool& copy = name == "vcodec" ? task.Opt.VideoStreamCopy
                 : name == "acodec" ? task.Opt.AudioStreamCopy : task.Opt.SubtitleStreamCopy;
    codecName.reset();
    if (value == "copy")
        copy = true;
    else
        codecName = value;
}

void Tag(TCustomFFmpeg& task, const std::string& name, const std::string& value) {
    const bool video = name == "vtag";
    if (value.size() != 4)
        throw FFMpegException(video ? "video tag parameter must be 4 chars" : "audio tag parameter must be 4 chars");
    const auto b = [&](int i) { return static_cast<uint32_t>(static_cast<unsigned char>(value[i])); };
    (video ? task.Opt.VideoCodecTag : task.Opt.AudioCodecTag) = b(0) | b(1) << 8 | b(2) << 16 | b(3) << 24;
}

void Matrix(TCustomFFmpeg& task, const std::string& name, const std::string& value) {
    (name == "intra_matrix" ? task.Opt.IntraMatrix : task.Opt.InterMatrix) = ParseMatrix(value);
}

}  // namespace tavrin::options
