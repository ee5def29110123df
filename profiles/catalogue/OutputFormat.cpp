#include "catalogue/OutputFormat.h"

#include "catalogue/Catalogue.h"

namespace tavrin {

void FillOutputFormatCombo(TCombo& outputFormat)
{
    outputFormat.Clear();
    for (int position = 0; position < kOfferedItemCount; ++position)
        outputFormat.Add(std::string(OfferedItem(position)));
    outputFormat.SetDropDownCount(outputFormat.Count());
    outputFormat.SetItemIndex(0);
}

bool FillProfileControls(const TProfileControls& controls, std::string& currentKey)
{
    const TProfileRecord* record = FindProfile(controls.ComboOutputFormat.Text());
    if (record == nullptr)
        return false;
    currentKey = std::string(record->Key);
    ApplyProfileFill(controls, *record->Fill);
    return true;
}

bool ApplyProfileSettings(const TProfileControls& controls, TOutputOptions& options)
{
    const TProfileRecord* record = FindProfile(controls.ComboOutputFormat.Text());
    if (record == nullptr)
        return false;
    record->OutputSettings(controls, record->Key, options);
    return true;
}

}  // namespace tavrin
