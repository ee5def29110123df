// The profile code's TCombo over a QComboBox. Programmatic changes never raise the combo's
// change handlers: the window listens to user choices (QComboBox::activated) only.
#pragma once

#include "Combo.h"

#include <QComboBox>

#include <functional>

namespace tavrin {

class TQtCombo final : public TCombo {
public:
    explicit TQtCombo(QComboBox& box) : box_(box) {}

    void Clear() override;
    // QComboBox selects the first item added to an empty list; that selection is undone.
    void Add(const std::string& text) override;
    int Count() const override { return box_.count(); }
    std::string ItemText(int index) const override;
    int ItemIndex() const override { return box_.currentIndex(); }
    void SetItemIndex(int index) override;
    std::string Text() const override;
    bool Enabled() const override { return box_.isEnabled(); }
    void SetEnabled(bool enabled) override { box_.setEnabled(enabled); }
    void SetDropDownCount(int rows) override { box_.setMaxVisibleItems(rows); }

    QComboBox& Box() { return box_; }

private:
    QComboBox& box_;
};

// A combo box that tells its owner just before its list drops down.
class TDropDownComboBox : public QComboBox {
public:
    using QComboBox::QComboBox;
    std::function<void()> OnDropDown;

    void showPopup() override;
};

}  // namespace tavrin
