#include "util/StatusBar.h"

#include "util/Widgets.h"

#include <QLabel>

namespace tavrin {

TStatusBar::TStatusBar()
{
    setObjectName(QStringLiteral("StatusBar1"));
    setSizeGripEnabled(true);
    const int widths[] = {150, 300, 50};
    for (size_t i = 0; i < panels_.size(); ++i) {
        auto* panel = new TAtLeast<QLabel>(QSize(widths[i], 0));
        panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Sunken);
        addWidget(panel, i == 1 ? 1 : 0);
        panels_[i] = panel;
    }
    panels_[0]->setText(QStringLiteral("Ready"));
}

void TStatusBar::Tell(const QString& text)
{
    constexpr int kShownMs = 8000;
    showMessage(text, kShownMs);
}

}  // namespace tavrin
