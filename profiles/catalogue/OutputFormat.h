// What the output-format combo drives: filling it, refilling the setting combos when a
// profile is chosen, and turning the setting combos into a job's output options.
#pragma once

#include "OptionRecords.h"
#include "catalogue/ProfileControls.h"

#include <string>

namespace tavrin {

// Puts the offered profiles and separators into the combo, shows them all in the drop-down
// and selects the first.
void FillOutputFormatCombo(TCombo& outputFormat);

// Refills the setting combos for the profile whose caption the output-format combo shows
// and stores its key in currentKey. A separator or unknown text changes nothing and
// returns false.
bool FillProfileControls(const TProfileControls& controls, std::string& currentKey);

// Runs the selected profile's output-settings routine into options. An unknown caption
// leaves options alone and returns false. Raises ESettingTextError when a setting text
// that should hold a number does not.
bool ApplyProfileSettings(const TProfileControls& controls, TOutputOptions& options);

}  // namespace tavrin
