#include "util/QtCombo.h"

#include <QSignalBlocker>

namespace tavrin {

void TQtCombo::Clear()
{
    const QSignalBlocker quiet(box_);
    box_.clear();
}

void TQtCombo::Add(const std::string& text)
{
    const QSignalBlocker quiet(box_);
    const int selected = box_.currentIndex();
    box_.addItem(QString::fromStdString(text));
    if (box_.currentIndex() != selected)
        box_.setCurrentIndex(selected);
}

std::string TQtCombo::ItemText(int index) const
{
    if (index < 0 || index >= box_.count())
        return {};
    return box_.itemText(index).toStdString();
}

void TQtCombo::SetItemIndex(int index)
{
    const QSignalBlocker quiet(box_);
    box_.setCurrentIndex(index >= 0 && index < box_.count() ? index : -1);
}

std::string TQtCombo::Text() const
{
    return box_.currentIndex() < 0 ? std::string() : box_.currentText().toStdString();
}

void TDropDownComboBox::showPopup()
{
    if (OnDropDown)
        OnDropDown();
    QComboBox::showPopup();
}

}  // namespace tavrin
