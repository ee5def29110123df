// Turns tavrin-convert's profile and setting words into the window's combo selections, so
// that the job builder reads them exactly as it reads the window's.
#pragma once

#include "Catalogue.h"
#include "ConvertCommandLine.h"
#include "MemoryJobWindow.h"

#include <string>
#include <string_view>

namespace tavrin::cli {

// A caption without its "(*.ext)" part, in lower case letters and digits only:
// "Apple TV (*.mp4)" -> "appletv".
std::string ProfileName(std::string_view caption);

// The offered profile that name means: its caption or short name in any case, or a key
// that only one offered profile has ("mp3"). Throws TUsageError naming the candidates.
const TProfileRecord& FindOfferedProfile(std::string_view name);

// One line per offered profile: short name, key and caption.
std::string ProfileListText();

// The position of the item that value names in the combo: the item itself in any case and
// spacing, its part before "(", or the same number ("25" for "25.0 fps"); -1 when none.
int MatchItem(const TCombo& combo, std::string_view value);

// Selects the profile and applies every setting of the command line to the window's
// settings. Throws TUsageError with what the profile offers for a value it does not.
void ApplyConvertSettings(const TConvertCommandLine& line, TMemoryJobWindow& window);

}  // namespace tavrin::cli
