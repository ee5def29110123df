#include "util/ProgressText.h"

#include <cstdio>

namespace tavrin {

std::optional<int> ProgressPercent(int currentMs, int totalMs)
{
    if (totalMs <= 0)
        return std::nullopt;
    // 64-bit product: a long output times 100 overflows an int.
    return static_cast<int>(static_cast<int64_t>(currentMs) * 100 / totalMs);
}

int64_t KiloBytesRoundedEven(int64_t bytes)
{
    const bool negative = bytes < 0;
    const uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(bytes) : static_cast<uint64_t>(bytes);
    uint64_t kilo = magnitude / 1000;
    const uint64_t rest = magnitude % 1000;
    if (rest > 500 || (rest == 500 && kilo % 2 == 1))
        ++kilo;
    return negative ? -static_cast<int64_t>(kilo) : static_cast<int64_t>(kilo);
}

std::string FileSizeText(int64_t bytes)
{
    return "File Size : " + std::to_string(KiloBytesRoundedEven(bytes)) + " KBytes";
}

std::string PaceText(const TConversionPace& pace)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.1fx real time", pace.Speed);
    std::string result = text;
    if (pace.SecondsLeft) {
        const int s = *pace.SecondsLeft;
        std::snprintf(text, sizeof text, ", %02d:%02d:%02d left", s / 3600, s / 60 % 60, s % 60);
        result += text;
    }
    return result;
}

}  // namespace tavrin
