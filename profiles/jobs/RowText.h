// Texts of a source list row, shared by the window, the job builder and the command line so
// that they all show and read the same cells. Numbers are always written with a period as
// the decimal separator, whatever the user's locale: the engine reads them back that way.
#pragma once

#include "catalogue/SettingText.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace tavrin {

// base + extension when no such file exists, else base + "-N" + extension for the
// smallest free N >= 1 ("clip.mp4", "clip-1.mp4", "clip-2.mp4" ...).
std::string UniqueFileName(const std::string& base, const std::string& extension);

// Hours, minutes and seconds joined by separator, each with at least two digits:
// FormatDuration(":", 3725) -> "01:02:05". A negative time yields a text with a "-".
std::string FormatDuration(std::string_view separator, double seconds);

// The "Video Size" cell: "720x576".
std::string VideoSizeCellText(int width, int height);
// The "FrameRate" cell: num/den rounded to two decimals, "29.97", "23.98", "25";
// "Unknown" when the stream gives no usable rate.
std::string FrameRateCellText(int num, int den);
// The "Duration" cell from a file duration in microseconds: "01:30:00", or "Unknown" when
// the duration is not known (negative).
std::string DurationCellText(int64_t durationMicros);

// The "Progress" cell while a task runs: "45%", at most "100%"; "" when the task's total
// duration is not known.
std::string ProgressCellText(int currentMs, int totalMs);
// The "Frames" cell: the count, or a single blank when it is not known (-1).
std::string FramesCellText(int frameNumber);
// The "Progress" cell when a task has ended: "Fail" wins over "Abort", else "Done".
std::string EndStatusText(bool exception, bool userAborted);

// What the probe found out about one file.
struct TProbeFacts {
    bool Opened = false;
    int VideoStreamCount = 0;
    int Width = 0;
    int Height = 0;
    int FrameRateNum = 0;
    int FrameRateDen = 0;
    int64_t DurationMicros = -1;
    std::string Reason;  // why the file did not open, when it did not
};

// The cells a row shows after its file was probed, in column order.
struct TRowCells {
    std::string VideoSize;
    std::string FrameRate;
    std::string Duration;
    std::string Output;
    std::string Progress;
    std::string Frames;
    std::string Reason;  // with "Error": why the file cannot be read
};

// A file that opened shows size and rate (a single blank each without video), its
// duration and the profile's key in "Output"; one that did not shows only "Error".
TRowCells RowCellsOf(const TProbeFacts& facts, std::string_view outputExtension);

}  // namespace tavrin
