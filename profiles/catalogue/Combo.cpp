#include "catalogue/Combo.h"

namespace tavrin {

void RefillCombo(TCombo& combo, std::span<const std::string_view> items, int selected)
{
    combo.Clear();
    for (std::string_view item : items)
        combo.Add(std::string(item));
    combo.SetItemIndex(selected);
}

}  // namespace tavrin
