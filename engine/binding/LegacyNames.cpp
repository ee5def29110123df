// The translation tables of old option and encoder names.
#include "binding/LegacyNames.h"

#include <algorithm>
#include <iterator>
#include <string_view>

namespace tavrin {
namespace {

struct OptionRow {
    std::string_view oldName;
    std::string_view oldValue;  // empty: any value, passed on unchanged
    std::string_view newName;
    std::string_view newValue;  // used when oldValue is given
    TLegacyKinds kinds;
};

// "b" once meant the video bit rate only; today it is shared with audio, and the audio
// rate comes from "ab" through the "a" prefix. "+SCAN_OFFSET" became a private option of
// the MPEG-2 encoder.
constexpr OptionRow kOptions[] = {
    {"gop", "", "g", "", lkAny},
    {"b", "", "b", "", lkVideoOnly},
    {"trell", "", "trellis", "", lkAny},
    {"nr", "", "noise_reduction", "", lkAny},
    {"me", "", "motion_est", "", lkAny},
    {"flags", "+SCAN_OFFSET", "scan_offset", "1", lkAny},
};

struct EncoderRow {
    std::string_view oldName, newName;
};

constexpr EncoderRow kEncoders[] = {
    {"libfaac", "aac"},
    {"libamr_nb", "libopencore_amrnb"},
    {"vorbis", "libvorbis"},
    {"libamr_wb", "libvo_amrwbenc"},
};

}  // namespace

TLegacyOption LegacyOption(const std::string& name, const std::string& value) {
    for (const OptionRow& row : kOptions) {
        if (row.oldName != name)
            continue;
        if (row.oldValue.empty())
            return {std::string(row.newName), value, row.kinds};
        if (row.oldValue == value)
            return {std::string(row.newName), std::string(row.newValue), row.kinds};
    }
    return {name, value, lkAny};
}

std::string LegacyOptionName(const std::string& name) {
    auto it = std::find_if(std::begin(kOptions), std::end(kOptions),
                           [&](const OptionRow& r) { return r.oldName == name && r.oldValue.empty(); });
    return it == std::end(kOptions) ? name : std::string(it->newName);
}

std::string LegacyEncoderName(const std::string& name) {
    auto it = std::find_if(std::begin(kEncoders), std::end(kEncoders),
                           [&](const EncoderRow& r) { return r.oldName == name; });
    return it == std::end(kEncoders) ? name : std::string(it->newName);
}

}  // namespace tavrin
