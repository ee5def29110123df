// Rules that turn setting-combo item texts into engine values. Items carry their value as
// the text before the first blank: "512 Kbps", "44100 Hz", "29.97 fps".
#pragma once

#include "catalogue/Combo.h"

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tavrin {

// A setting text that should hold a number does not. The job builder turns it into a
// failed row.
class ESettingTextError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The part before the first blank; "" when the text has no blank.
std::string NumberBeforeBlank(std::string_view text);
// A whole decimal number that fits 32 bits; anything else raises ESettingTextError.
int32_t SettingInteger(std::string_view number);

// The number a whole text holds, blanks around it allowed ("29.97", " 2 "); nothing for a
// text that is anything more or less than one decimal number.
std::optional<double> RealNumber(std::string_view text);

// The shortest decimal text of value, with a period whatever the locale: 1.5, 1.7778, 25.
std::string DecimalText(double value);

std::string LowerCase(std::string_view text);
// Removes leading and trailing blanks and control characters.
std::string_view TrimText(std::string_view text);
bool Contains(std::string_view text, std::string_view part);

// "176 x 144 (QCIF)" -> "176x144"; "Original Video Size" -> "original".
std::string NormalizeFrameSize(std::string_view text);
// The frame rate to hand to the engine: "25" for "Auto" in any case and spacing, else the
// number before the first blank ("29.97 fps [NTSC]" -> "29.97").
std::string FrameRateText(const TCombo& frameRateCombo);

}  // namespace tavrin
