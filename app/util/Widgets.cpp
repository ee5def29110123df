#include "util/Widgets.h"

#include "util/SvgIcons.h"

#include <QFrame>
#include <QToolButton>

namespace tavrin {

QToolButton* SpeedButton(const char* name, const QString& caption, const char* icon, QSize size)
{
    auto* button = Named(new TAtLeast<QToolButton>(size), name);
    button->setText(caption);
    button->setIcon(SvgIcon(icon));
    button->setIconSize(QSize(24, 24));
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setAutoRaise(true);
    QFont bold = button->font();
    bold.setBold(true);
    button->setFont(bold);
    return button;
}

QFrame* Divider()
{
    auto* line = new QFrame;
    line->setFrameShape(QFrame::VLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

}  // namespace tavrin
