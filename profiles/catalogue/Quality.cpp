#include "catalogue/Quality.h"

#include "catalogue/Catalogue.h"
#include "catalogue/SettingText.h"

#include <string>

namespace tavrin {

namespace {

// The last item equal to text ends selected, as if each equal item were chosen in turn;
// no equal item leaves the selection as it was.
void SelectLastEqual(TCombo& combo, const std::string& text)
{
    int found = -1;
    for (int i = 0; i < combo.Count(); ++i)
        if (combo.ItemText(i) == text)
            found = i;
    if (found >= 0)
        combo.SetItemIndex(found);
}

// The preset value for a quality combo's position; false when the combo has no valid
// selection, so nothing moves.
bool PresetValue(const std::array<int, 5>& values, const TCombo& quality, int& value)
{
    const int position = quality.ItemIndex();
    if (position < 0 || position >= static_cast<int>(values.size()))
        return false;
    value = values[static_cast<size_t>(position)];
    return true;
}

}  // namespace

void UpdateQualityControls(const TProfileControls& controls)
{
    const TProfileRecord* record = FindProfile(controls.ComboOutputFormat.Text());
    const bool enabled = record == nullptr || !IsAudioOnlyKey(record->Key);
    controls.ComboVideoQuality.SetEnabled(enabled);
    controls.ComboVideoSize.SetEnabled(enabled);
    controls.ComboVideoFramerate.SetEnabled(enabled);
}

void ApplyQualityPreset(const TProfileControls& controls)
{
    const TProfileRecord* record = FindProfile(controls.ComboOutputFormat.Text());
    if (record == nullptr)
        return;
    const TQualityRow& row = QualityRow(record->Kind);

    int value = 0;
    if (PresetValue(row.Video, controls.ComboVideoQuality, value))
        SelectLastEqual(controls.ComboVideoBitrate, std::to_string(value) + " Kbps");

    TCombo& audio = controls.ComboAudioBitrate;
    const char* unit = Contains(audio.Text(), "Kbps") ? " Kbps" : " bps";
    if (PresetValue(row.Audio, controls.ComboAudioQuality, value))
        SelectLastEqual(audio, std::to_string(value) + unit);
}

}  // namespace tavrin
