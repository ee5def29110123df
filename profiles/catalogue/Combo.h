// The few drop-down list operations the profile code needs. The window implements this over
// its combo boxes; TMemoryCombo implements it in memory for tests and command-line programs.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace tavrin {

class TCombo {
public:
    virtual ~TCombo() = default;

    // Removes every item; the combo then has no selection (index -1).
    virtual void Clear() = 0;
    // Appends an item; the selection does not move (an implementation over a widget that
    // auto-selects the first added item must undo that).
    virtual void Add(const std::string& text) = 0;
    virtual int Count() const = 0;
    // "" for an index outside 0..Count()-1.
    virtual std::string ItemText(int index) const = 0;
    // -1 when nothing is selected.
    virtual int ItemIndex() const = 0;
    // An index outside 0..Count()-1 leaves the combo with no selection.
    virtual void SetItemIndex(int index) = 0;
    // The selected item's text, or "" with no selection.
    virtual std::string Text() const = 0;
    virtual bool Enabled() const = 0;
    virtual void SetEnabled(bool enabled) = 0;
    // How many rows the drop-down shows at once.
    virtual void SetDropDownCount(int rows) = 0;
};

// Replaces the combo's items with the given ones, then selects by position.
void RefillCombo(TCombo& combo, std::span<const std::string_view> items, int selected);

}  // namespace tavrin
