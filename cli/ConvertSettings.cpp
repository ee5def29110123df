#include "ConvertSettings.h"

#include "CommandLine.h"
#include "OutputFormat.h"
#include "Quality.h"
#include "SettingText.h"
#include "VolumeSteps.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace tavrin::cli {
namespace {

std::string Squeezed(std::string_view text)
{
    std::string squeezed;
    for (char c : LowerCase(text))
        if (c != ' ')
            squeezed += c;
    return squeezed;
}

std::vector<const TProfileRecord*> OfferedProfiles()
{
    std::vector<const TProfileRecord*> offered;
    for (int position = 0; position < kOfferedItemCount; ++position)
        if (const TProfileRecord* record = FindProfile(OfferedItem(position)))
            offered.push_back(record);
    return offered;
}

std::string Quoted(std::string_view text)
{
    return "\"" + std::string(text) + "\"";
}

std::string ItemList(const TCombo& combo)
{
    std::string list;
    for (int i = 0; i < combo.Count(); ++i)
        list += (i ? ", " : "") + Quoted(combo.ItemText(i));
    return list;
}

// Selects the item a command-line value names, or refuses it with what is offered.
void Select(TCombo& combo, const std::string& option, const std::string& value,
            std::string_view caption)
{
    if (combo.Count() == 0 || !combo.Enabled())
        throw TUsageError(option + ": " + Quoted(caption) + " has no such setting");
    const int index = MatchItem(combo, value);
    if (index < 0)
        throw TUsageError(option + " " + Quoted(value) + " is not offered by " + Quoted(caption) +
                          "; it offers " + ItemList(combo));
    combo.SetItemIndex(index);
}

int AspectIndex(const std::string& value)
{
    const std::string word = LowerCase(TrimText(value));
    if (word == "original")
        return 0;
    if (word == "4:3")
        return 1;
    if (word == "16:9")
        return 2;
    throw TUsageError("--aspect " + Quoted(value) + " is not offered; it offers original, 4:3, 16:9");
}

int VolumeValue(const std::string& value)
{
    std::string text(TrimText(value));
    if (!text.empty() && text.back() == '%')
        text.pop_back();
    const std::optional<double> percent = RealNumber(text);
    std::string offered;
    for (const TVolumeStep& step : kVolumeSteps) {
        if (percent && *percent == step.Percent)
            return step.Value;
        offered += (offered.empty() ? "" : ", ") + std::to_string(step.Percent);
    }
    throw TUsageError("--volume " + Quoted(value) + " is not offered; it offers " + offered);
}

}  // namespace

std::string ProfileName(std::string_view caption)
{
    caption = caption.substr(0, caption.find("(*."));
    std::string name;
    for (char c : LowerCase(caption))
        if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))
            name += c;
    return name;
}

const TProfileRecord& FindOfferedProfile(std::string_view name)
{
    const std::vector<const TProfileRecord*> offered = OfferedProfiles();
    const std::string lower = LowerCase(TrimText(name));
    for (const TProfileRecord* record : offered)
        if (LowerCase(record->Caption) == lower || ProfileName(record->Caption) == lower)
            return *record;
    std::vector<const TProfileRecord*> byKey;
    for (const TProfileRecord* record : offered)
        if (LowerCase(record->Key) == lower)
            byKey.push_back(record);
    if (byKey.size() == 1)
        return *byKey.front();
    if (byKey.empty())
        throw TUsageError("unknown profile " + Quoted(name) + "; see --list-profiles");
    std::string candidates;
    for (const TProfileRecord* record : byKey)
        candidates += (candidates.empty() ? "" : ", ") + ProfileName(record->Caption);
    throw TUsageError("profile " + Quoted(name) + " is ambiguous: " + candidates);
}

std::string ProfileListText()
{
    std::string text;
    for (const TProfileRecord* record : OfferedProfiles()) {
        std::string name = ProfileName(record->Caption);
        name.resize(std::max<size_t>(name.size(), 24), ' ');
        std::string key(record->Key);
        key.resize(5, ' ');
        text += name + " " + key + " " + std::string(record->Caption) + "\n";
    }
    return text;
}

int MatchItem(const TCombo& combo, std::string_view value)
{
    const std::string wanted = Squeezed(value);
    for (int i = 0; i < combo.Count(); ++i)
        if (Squeezed(combo.ItemText(i)) == wanted)
            return i;
    for (int i = 0; i < combo.Count(); ++i) {
        const std::string item = combo.ItemText(i);
        if (Squeezed(std::string_view(item).substr(0, item.find('('))) == wanted)
            return i;
    }
    if (const std::optional<double> number = RealNumber(value))
        for (int i = 0; i < combo.Count(); ++i)
            if (RealNumber(NumberBeforeBlank(combo.ItemText(i))) == number)
                return i;
    return -1;
}

void ApplyConvertSettings(const TConvertCommandLine& line, TMemoryJobWindow& window)
{
    TMemoryProfileControls& s = window.Settings;
    const TProfileRecord& profile =
        line.Profile.empty() ? *FindProfile(OfferedItem(0)) : FindOfferedProfile(line.Profile);
    const std::string caption(profile.Caption);
    for (int i = 0; i < s.OutputFormat.Count(); ++i)
        if (s.OutputFormat.ItemText(i) == caption)
            s.OutputFormat.SetItemIndex(i);
    FillProfileControls(s.Controls, window.Extension);
    UpdateQualityControls(s.Controls);
    if (line.VideoQuality)
        Select(s.VideoQuality, "--video-quality", *line.VideoQuality, caption);
    if (line.AudioQuality)
        Select(s.AudioQuality, "--audio-quality", *line.AudioQuality, caption);
    ApplyQualityPreset(s.Controls);
    if (line.Size)
        Select(s.VideoSize, "--size", *line.Size, caption);
    if (line.Rate)
        Select(s.FrameRate, "--rate", *line.Rate, caption);
    if (line.Channels)
        Select(s.Channels, "--channels", *line.Channels, caption);
    if (line.Aspect)
        s.AspectRatio.SetItemIndex(AspectIndex(*line.Aspect));
    s.LetterBox.SetItemIndex(line.LetterBox ? 1 : 0);
    window.Volume = line.Volume ? VolumeValue(*line.Volume)
                                : kVolumeSteps[kDefaultVolumePosition].Value;
    window.Overwrite = line.Overwrite;
    window.OutputFolder = line.OutputFolder;
}

}  // namespace tavrin::cli
