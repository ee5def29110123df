// The fixed list of output profiles the converter knows, the part of it this product offers
// in its output-format combo, and the lookups by caption.
#pragma once

#include "catalogue/OutputSettings.h"
#include "catalogue/ProfileSettings.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace tavrin {

struct TProfileRecord {
    std::string_view Caption;                // "" on a reserved row
    std::string_view Key;                    // container key; gives the output extension
    int Kind;                                // the record's position
    const TProfileSettings* Fill;            // what the profile puts into the combos
    TOutputSettingsRoutine OutputSettings;   // how the combos become engine options
    bool Offered;                            // listed in the output-format combo

    bool Reserved() const { return Fill == nullptr; }
};

inline constexpr int kProfileCount = 75;
inline constexpr int kOfferedItemCount = 24;
// Fourteen blanks and 41 hyphens; groups the output-format combo and matches no profile.
inline constexpr std::string_view kSeparatorText =
    "              -----------------------------------------";

std::span<const TProfileRecord> ProfileCatalogue();
// The record with exactly this caption; reserved rows are never found.
const TProfileRecord* FindProfile(std::string_view caption);
std::optional<std::string_view> ProfileKeyOf(std::string_view caption);
// "." + key in lower case: "VOB" -> ".vob".
std::string OutputExtension(std::string_view key);

// The output-format combo's items in order, separators included.
std::string_view OfferedItem(int position);
// The window's test for a separator entry: fourteen blanks followed by "----".
bool IsSeparatorText(std::string_view text);

}  // namespace tavrin
