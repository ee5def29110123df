// Text-to-value conversions of the option language, free of any task state.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace tavrin {

// Leading and trailing blanks and control characters removed.
std::string TrimText(const std::string& text);

// Whole-text number conversions: optional blanks before the number, an optional sign,
// decimal or hexadecimal ("$FF", "0xFF"). Anything else throws FFMpegException
// "'<text>' is not a valid integer value" / "... floating point value".
int ParseInt(const std::string& text);
int64_t ParseInt64(const std::string& text);
double ParseFloat(const std::string& text);
// As above, but an unreadable text gives fallback.
int ParseIntOr(const std::string& text, int fallback);
double ParseFloatOr(const std::string& text, double fallback);

// C-style prefix conversion: blanks skipped, base from the prefix (0x hex, 0 octal, else
// decimal), as many characters as form a number (none: 0), clamped to the int range.
// pos is advanced past the number.
int CStrToInt(const std::string& text, size_t& pos);
// C-style prefix conversion of a decimal floating-point number (none: 0).
double CStrToDouble(const std::string& text, size_t& pos);

// The block of option lines as (name, value) pairs, in order.
std::vector<std::pair<std::string, std::string>> SplitOptionLines(const std::string& text);

// Y, U, V of a 0x00BBGGRR colour, as the pad colour is kept.
std::array<int, 3> ColorToYuv(uint32_t bgr);
// A colour of the settings record with system colours (0x80000000 | index) resolved
// to the usual desktop defaults; unknown ones are black.
uint32_t ResolveColor(uint32_t color);

// 64 comma-separated coefficients; throws on fewer pieces or a coefficient outside 1..255.
std::array<uint16_t, 64> ParseMatrix(const std::string& text);

// "num:den" or a decimal; 0 for anything unusable.
double ParseAspect(const std::string& text);

// Seconds east of UTC of the local time zone without daylight saving.
long StandardZoneOffset();
// A date-time in days since 30 Dec 1899 (local standard time) as seconds since 1970 UTC.
int64_t DateTimeToUnix(double days, long zoneOffsetSeconds);

}  // namespace tavrin
