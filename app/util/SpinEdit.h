// A spin box that keeps to its range: values given to it and typed text are clamped when
// the text is taken, and text that is not a number reads as the minimum.
#pragma once

#include <QSpinBox>

namespace tavrin {

class TSpinEdit : public QSpinBox {
public:
    TSpinEdit(int minimum, int maximum, QWidget* parent = nullptr);

protected:
    void fixup(QString& input) const override;
};

}  // namespace tavrin
