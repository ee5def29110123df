// Small helpers every part uses to build its widgets.
#pragma once

#include <QSize>

#include <utility>

class QFrame;
class QString;
class QToolButton;

namespace tavrin {

// The widget with its designer name as objectName, which tests and styles find it by.
template <typename Widget>
Widget* Named(Widget* widget, const char* name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

// A widget at least as large as designed, and larger when its text needs it with the
// desktop's fonts: an explicit minimum size would let layouts clip the text instead.
template <typename Base>
class TAtLeast final : public Base {
public:
    template <typename... Args>
    explicit TAtLeast(QSize designed, Args&&... args)
        : Base(std::forward<Args>(args)...), Designed(designed)
    {
    }
    QSize Designed;

    QSize minimumSizeHint() const override { return Base::minimumSizeHint().expandedTo(Designed); }
    QSize sizeHint() const override { return Base::sizeHint().expandedTo(Designed); }
};

// A flat tool-strip button with a bold caption beside its glyph (an icon of SvgIcon).
QToolButton* SpeedButton(const char* name, const QString& caption, const char* icon, QSize size);

// A sunken vertical line between groups of a strip.
QFrame* Divider();

}  // namespace tavrin
