// Texts the window shows for a running conversion besides the row's cells: the progress
// bar's percentage, the status bar's size text, and the speed and time left of the row.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace tavrin {

// Output position as a whole percentage of the total, truncated; no value when the total is
// not positive (the percentage is undefined there). Not clamped.
std::optional<int> ProgressPercent(int currentMs, int totalMs);
// Bytes as kilobytes of 1000 bytes, rounded to the nearest whole number, ties to even.
int64_t KiloBytesRoundedEven(int64_t bytes);
// "File Size : 12346 KBytes".
std::string FileSizeText(int64_t bytes);

// Speed of a conversion as a multiple of real time, and the time left.
struct TConversionPace {
    double Speed = 0;                 // output milliseconds per wall-clock millisecond
    std::optional<int> SecondsLeft;   // unknown without a known length or any speed
};
// "2.5x real time, 00:01:05 left", or only the speed when the time left is unknown.
std::string PaceText(const TConversionPace& pace);

}  // namespace tavrin
