#include "ProfileTestControls.h"

#include "FixedCombos.h"
#include "OutputFormat.h"

#include <algorithm>

namespace tavrin::test {

TTestControls::TTestControls()
{
    FillOutputFormatCombo(OutputFormat);
    FillFixedCombos(Controls);
}

bool TTestControls::Choose(std::string_view caption)
{
    const auto& items = OutputFormat.Items();
    auto found = std::find(items.begin(), items.end(), caption);
    if (found == items.end()) {
        OutputFormat.Add(std::string(caption));
        OutputFormat.SetItemIndex(OutputFormat.Count() - 1);
    } else {
        OutputFormat.SetItemIndex(static_cast<int>(found - items.begin()));
    }
    return FillProfileControls(Controls, CurrentKey);
}

void SetItems(TMemoryCombo& combo, const std::vector<std::string>& items,
              const std::string& selected)
{
    combo.Clear();
    for (const std::string& item : items)
        combo.Add(item);
    auto found = std::find(items.begin(), items.end(), selected);
    combo.SetItemIndex(found == items.end() ? -1 : static_cast<int>(found - items.begin()));
}

}  // namespace tavrin::test
