// An in-memory TCombo for tests and programs without a window.
#pragma once

#include "catalogue/Combo.h"

#include <vector>

namespace tavrin {

class TMemoryCombo final : public TCombo {
public:
    void Clear() override;
    void Add(const std::string& text) override;
    int Count() const override;
    std::string ItemText(int index) const override;
    int ItemIndex() const override { return FItemIndex; }
    void SetItemIndex(int index) override;
    std::string Text() const override;
    bool Enabled() const override { return FEnabled; }
    void SetEnabled(bool enabled) override { FEnabled = enabled; }
    void SetDropDownCount(int rows) override { FDropDownCount = rows; }
    int DropDownCount() const { return FDropDownCount; }
    const std::vector<std::string>& Items() const { return FItems; }

private:
    bool IsValid(int index) const { return index >= 0 && index < Count(); }

    std::vector<std::string> FItems;
    int FItemIndex = -1;
    bool FEnabled = true;
    int FDropDownCount = 8;
};

}  // namespace tavrin
