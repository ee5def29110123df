#include "jobs/RowText.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <system_error>

namespace tavrin {

namespace {

bool FileExists(const std::string& path)
{
    std::error_code error;
    return std::filesystem::exists(std::filesystem::path(path), error);
}

// At least two digits, a minus sign in front of negative numbers: 5 -> "05", -5 -> "-05".
std::string TwoDigits(int64_t value)
{
    const uint64_t magnitude = value < 0 ? uint64_t(0) - static_cast<uint64_t>(value)
                                         : static_cast<uint64_t>(value);
    std::string digits = std::to_string(magnitude);
    if (digits.size() < 2)
        digits.insert(0, "0");
    return value < 0 ? "-" + digits : digits;
}

// Rounds to the given number of decimals, ties to even.
double RoundTo(double value, double scale)
{
    return std::nearbyint(value * scale) / scale;
}

}  // namespace

std::string UniqueFileName(const std::string& base, const std::string& extension)
{
    std::string candidate = base + extension;
    for (int n = 1; FileExists(candidate); ++n)
        candidate = base + "-" + std::to_string(n) + extension;
    return candidate;
}

std::string FormatDuration(std::string_view separator, double seconds)
{
    int64_t minutes = static_cast<int64_t>(std::trunc(seconds / 60));
    const int64_t rest = static_cast<int64_t>(std::nearbyint(seconds - double(minutes) * 60));
    const int64_t hours = minutes / 60;
    minutes %= 60;
    std::string text = TwoDigits(hours);
    text.append(separator).append(TwoDigits(minutes));
    text.append(separator).append(TwoDigits(rest));
    return text;
}

std::string VideoSizeCellText(int width, int height)
{
    return std::to_string(width) + "x" + std::to_string(height);
}

std::string FrameRateCellText(int num, int den)
{
    if (num <= 0 || den <= 0)
        return "Unknown";
    return DecimalText(RoundTo(double(num) / double(den), 100));
}

std::string DurationCellText(int64_t durationMicros)
{
    const int64_t seconds = durationMicros / 1000000;
    const std::string text = FormatDuration(":", double(seconds));
    return text.find('-') == std::string::npos ? text : "Unknown";
}

std::string ProgressCellText(int currentMs, int totalMs)
{
    if (totalMs <= 0)
        return "";
    const int64_t percent = int64_t(currentMs) * 100 / totalMs;
    return std::to_string(std::min<int64_t>(percent, 100)) + "%";
}

std::string FramesCellText(int frameNumber)
{
    return frameNumber == -1 ? " " : std::to_string(frameNumber);
}

std::string EndStatusText(bool exception, bool userAborted)
{
    if (exception)
        return "Fail";
    return userAborted ? "Abort" : "Done";
}

TRowCells RowCellsOf(const TProbeFacts& facts, std::string_view outputExtension)
{
    TRowCells cells;
    if (!facts.Opened) {
        cells.Progress = "Error";
        cells.Reason = facts.Reason;
        return cells;
    }
    const bool video = facts.VideoStreamCount > 0;
    cells.VideoSize = video ? VideoSizeCellText(facts.Width, facts.Height) : " ";
    cells.FrameRate = video ? FrameRateCellText(facts.FrameRateNum, facts.FrameRateDen) : " ";
    cells.Duration = DurationCellText(facts.DurationMicros);
    cells.Output = std::string(outputExtension);
    return cells;
}

}  // namespace tavrin
