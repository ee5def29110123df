#include "fit/EncoderValues.h"

#include "catalogue/SettingText.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <span>

namespace tavrin {

namespace {

constexpr std::array kAACRates{7350, 8000, 11025, 12000, 16000, 22050, 24000,
                               32000, 44100, 48000, 64000, 88200, 96000};
constexpr std::array kMP3Rates{8000, 11025, 12000, 16000, 22050, 24000, 32000, 44100, 48000};
constexpr std::array kMP2Rates{16000, 22050, 24000, 32000, 44100, 48000};
constexpr std::array kAC3Rates{32000, 44100, 48000};
constexpr std::array kAMRRates{8000};
constexpr std::array kWMARates{8000, 11025, 16000, 22050, 32000, 44100, 48000};

// MPEG audio layer 2 bit rates in Kbps: MPEG-1 rates (32000 Hz and up) and the lower
// sample rates of MPEG-2.
constexpr std::array kMP2Kbps{32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384};
constexpr std::array kMP2LowRateKbps{8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160};
constexpr std::array kAC3Kbps{32, 40, 48, 56, 64, 80, 96, 112, 128, 160,
                              192, 224, 256, 320, 384, 448, 512, 576, 640};
constexpr std::array kAMRModes{4750, 5150, 5900, 6700, 7400, 7950, 10200, 12200};

constexpr std::array<TFrameSize, 5> kH263Sizes{
    {{128, 96}, {176, 144}, {352, 288}, {704, 576}, {1408, 1152}}};
constexpr std::array<TFrameRate, 8> kMPEG1Rates{
    {{24000, 1001}, {24, 1}, {25, 1}, {30000, 1001}, {30, 1}, {50, 1}, {60000, 1001}, {60, 1}}};

struct TSampleRates {
    std::string_view Encoder;
    std::span<const int> Rates;
};

constexpr std::array<TSampleRates, 6> kSampleRates{{
    {"libfaac", kAACRates},
    {"libmp3lame", kMP3Rates},
    {"mp2", kMP2Rates},
    {"ac3", kAC3Rates},
    {"libamr_nb", kAMRRates},
    {"wmav2", kWMARates},
}};

struct TLabel {
    std::string_view Encoder, Label;
};

constexpr std::array<TLabel, 8> kLabels{{
    {"libfaac", "AAC"},
    {"libmp3lame", "MP3"},
    {"mp2", "MPEG audio layer 2"},
    {"ac3", "AC-3"},
    {"libamr_nb", "AMR-NB"},
    {"wmav2", "WMA"},
    {"h263", "H.263"},
    {"mpeg1video", "MPEG-1 video"},
}};

// The listed value nearest to value, nothing when value is listed; a tie takes the lower.
template <typename T, typename Distance>
std::optional<T> Nearest(std::span<const T> list, Distance distance)
{
    const T* best = nullptr;
    for (const T& item : list) {
        if (distance(item) == 0)
            return std::nullopt;
        if (!best || distance(item) < distance(*best))
            best = &item;
    }
    return best ? std::optional<T>(*best) : std::nullopt;
}

std::optional<int> NearestInt(std::span<const int> list, int value)
{
    return Nearest<int>(list, [value](int item) { return std::abs(int64_t{item} - value); });
}

template <typename T>
std::optional<T> ReadNumber(std::string_view text)
{
    T value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

}  // namespace

std::optional<TFrameSize> ParseFrameSize(std::string_view text)
{
    const size_t x = text.find('x');
    if (x == std::string_view::npos)
        return std::nullopt;
    const std::optional<int> width = ReadNumber<int>(text.substr(0, x));
    const std::optional<int> height = ReadNumber<int>(text.substr(x + 1));
    if (!width || !height || *width <= 0 || *height <= 0)
        return std::nullopt;
    return TFrameSize{*width, *height};
}

std::string FrameSizeText(TFrameSize size)
{
    return std::to_string(size.Width) + "x" + std::to_string(size.Height);
}

std::optional<TFrameRate> ParseFrameRate(std::string_view text)
{
    if (const size_t slash = text.find('/'); slash != std::string_view::npos) {
        const std::optional<int> num = ReadNumber<int>(text.substr(0, slash));
        const std::optional<int> den = ReadNumber<int>(text.substr(slash + 1));
        if (!num || !den || *num <= 0 || *den <= 0)
            return std::nullopt;
        return TFrameRate{*num, *den};
    }
    const std::optional<double> fps = ReadNumber<double>(text);
    if (!fps || !(*fps > 0) || *fps > 1000)
        return std::nullopt;
    return TFrameRate{static_cast<int>(std::lround(*fps * 1000)), 1000};
}

std::string FrameRateOptionText(TFrameRate rate)
{
    return rate.Den == 1 ? std::to_string(rate.Num)
                         : std::to_string(rate.Num) + "/" + std::to_string(rate.Den);
}

std::string FpsText(double fps)
{
    return DecimalText(std::round(fps * 1000) / 1000);
}

std::optional<int> NearestSampleRate(std::string_view audioEncoder, int sampleRate)
{
    for (const TSampleRates& row : kSampleRates)
        if (row.Encoder == audioEncoder)
            return NearestInt(row.Rates, sampleRate);
    return std::nullopt;
}

std::optional<int> NearestAudioBitrate(std::string_view audioEncoder, int sampleRate,
                                       int bitrate)
{
    if (audioEncoder == "libamr_nb")
        return NearestInt(kAMRModes, bitrate);
    std::span<const int> kbps;
    if (audioEncoder == "mp2")
        kbps = sampleRate >= 32000 ? std::span<const int>(kMP2Kbps) : kMP2LowRateKbps;
    else if (audioEncoder == "ac3")
        kbps = kAC3Kbps;
    else
        return std::nullopt;
    const std::optional<int> nearest =
        Nearest<int>(kbps, [bitrate](int item) { return std::abs(int64_t{item} * 1000 - bitrate); });
    return nearest ? std::optional<int>(*nearest * 1000) : std::nullopt;
}

std::optional<TFrameSize> NearestFrameSize(std::string_view videoEncoder, TFrameSize size)
{
    if (videoEncoder != "h263")
        return std::nullopt;
    const int64_t area = int64_t{size.Width} * size.Height;
    const auto distance = [&](const TFrameSize& item) {
        const bool same = item.Width == size.Width && item.Height == size.Height;
        return same ? 0 : 1 + std::abs(int64_t{item.Width} * item.Height - area);
    };
    return Nearest<TFrameSize>(kH263Sizes, distance);
}

std::optional<TFrameRate> NearestFrameRate(std::string_view videoEncoder, double fps)
{
    if (videoEncoder != "mpeg1video")
        return std::nullopt;
    // Rates as the engine reads them ("29.97" is 2997/100, not 30000/1001) count as the
    // standard rate they stand for.
    const auto distance = [fps](const TFrameRate& item) {
        const double d = std::fabs(item.Value() - fps);
        return d < 0.01 ? 0.0 : d;
    };
    return Nearest<TFrameRate>(kMPEG1Rates, distance);
}

std::string EncoderLabel(std::string_view encoder)
{
    for (const TLabel& row : kLabels)
        if (row.Encoder == encoder)
            return std::string(row.Label);
    return std::string(encoder);
}

}  // namespace tavrin
