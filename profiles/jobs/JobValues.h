// Values the job builder derives from a row's cells and the aspect combo.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tavrin {

// The time limit for a source whose duration is not known, so that a stream without an end
// cannot run forever: 10 hours.
inline constexpr int32_t kUnknownDurationLimitMs = 36000000;

// The source's own aspect from its "Video Size" cell, width / height rounded to four
// decimals with a period ("720x480" -> "1.5", "1280x720" -> "1.7778"). A blank cell counts
// as 640x480; a cell that does not hold two positive numbers gives "1.3333".
std::string SourceAspectText(std::string_view videoSize);

// The engine's aspect for the aspect combo's position: 1 "4:3", 2 "16:9", 0 the source's
// own; nothing for any other position.
std::optional<std::string> AspectRatioFor(int aspectIndex, std::string_view videoSize);

// kUnknownDurationLimitMs for a "Duration" cell of "00:00:00" or "Unknown", else -1 (no
// limit).
int32_t TimeLimitFor(std::string_view durationCell);

}  // namespace tavrin
