#include "OutputRecord.h"

#include <cstdint>
#include <functional>
#include <map>

#include "OptionParsing.h"

namespace tavrin::cli {
namespace {

// What the option text leaves when no -padcolor is given: Y 16, U 128, V 128.
constexpr uint32_t kDefaultPadColor = 0x101010;

using FieldSetter = std::function<void(TOutputOptions&, const std::string&)>;

// A value the engine cannot read leaves the field alone: the engine refuses its option
// line with its own words.
void SetInt(int32_t& field, const std::string& value) {
    try {
        field = ParseInt(value);
    } catch (const std::exception&) {
    }
}

const std::map<std::string, FieldSetter>& AlwaysAssignedFields() {
    static const std::map<std::string, FieldSetter> fields = {
        {"alang", [](TOutputOptions& o, const std::string& v) { o.AudioLanguage = v; }},
        {"slang", [](TOutputOptions& o, const std::string& v) { o.SubtitleLanguage = v; }},
        {"async", [](TOutputOptions& o, const std::string& v) { SetInt(o.AudioSyncMethod, v); }},
        {"vsync", [](TOutputOptions& o, const std::string& v) { SetInt(o.VideoSyncMethod, v); }},
        {"copyts", [](TOutputOptions& o, const std::string&) { o.CopyTimestamps = true; }},
        {"padcolor",
         [](TOutputOptions& o, const std::string& v) {
             int32_t color = 0;
             SetInt(color, v);
             o.PadColor = static_cast<uint32_t>(color) & 0xFFFFFF;  // the option reads only R, G and B
         }},
    };
    return fields;
}

}  // namespace

TOutputOptions OutputRecordFor(const TCommandLine& line) {
    TOutputOptions out;
    out.FileName = line.Output;
    out.ExtraOptions = line.OutputOptions;
    out.PadColor = kDefaultPadColor;
    // Settings given before the input stay for the output unless it sets them again.
    for (const std::string* lines : {&line.InputOptions, &line.OutputOptions})
        for (const auto& [name, value] : SplitOptionLines(*lines))
            if (auto it = AlwaysAssignedFields().find(name); it != AlwaysAssignedFields().end())
                it->second(out, value);
    return out;
}

}  // namespace tavrin::cli
