#include "catalogue/MemoryCombo.h"

namespace tavrin {

void TMemoryCombo::Clear()
{
    FItems.clear();
    FItemIndex = -1;
}

void TMemoryCombo::Add(const std::string& text)
{
    FItems.push_back(text);
}

int TMemoryCombo::Count() const
{
    return static_cast<int>(FItems.size());
}

std::string TMemoryCombo::ItemText(int index) const
{
    return IsValid(index) ? FItems[static_cast<size_t>(index)] : std::string();
}

void TMemoryCombo::SetItemIndex(int index)
{
    FItemIndex = IsValid(index) ? index : -1;
}

std::string TMemoryCombo::Text() const
{
    return IsValid(FItemIndex) ? FItems[static_cast<size_t>(FItemIndex)] : std::string();
}

}  // namespace tavrin
