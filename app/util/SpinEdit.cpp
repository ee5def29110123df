#include "util/SpinEdit.h"

#include <algorithm>

namespace tavrin {

TSpinEdit::TSpinEdit(int minimum, int maximum, QWidget* parent) : QSpinBox(parent)
{
    setRange(minimum, maximum);
    setValue(minimum);
    // Out-of-range text becomes the nearest bound instead of the previous value.
    setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
}

void TSpinEdit::fixup(QString& input) const
{
    bool ok = false;
    const int typed = input.trimmed().toInt(&ok);
    input = QString::number(ok ? std::clamp(typed, minimum(), maximum()) : minimum());
}

}  // namespace tavrin
