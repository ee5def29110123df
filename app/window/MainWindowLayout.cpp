// Where the parts sit in the window, top to bottom: the tool strip (the list's buttons, then
// the batch's), the settings' folder and profile strip, the list, the settings groups with
// the progress strip beside the preview pane, and the status bar.
#include "window/MainWindow.h"

#include "batch/BatchPart.h"
#include "list/ListPart.h"
#include "preview/PreviewPart.h"
#include "settings/SettingsPart.h"
#include "util/StatusBar.h"
#include "util/Widgets.h"

#include <QFrame>
#include <QGuiApplication>
#include <QMenuBar>
#include <QScreen>
#include <QHBoxLayout>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace tavrin {

namespace {

// The designed client area: the size a new window opens at when the screen has room. The
// smallest size comes from the layouts, so a small or high-DPI screen still shows it all.
constexpr QSize kClientSize{753, 532};
// A tall window gives the list two thirds of the height, the settings and the preview the
// rest (each never less than it needs).
constexpr int kListStretch = 2;
constexpr int kBottomStretch = 1;

}  // namespace

void TForm1::BuildLayout()
{
    auto* client = Named(new QWidget, "ClientArea");
    auto* column = new QVBoxLayout(client);
    column->setContentsMargins(6, 2, 6, 4);
    column->setSpacing(4);
    column->addWidget(BuildToolStrip());
    column->addWidget(settings_->FolderStrip());
    column->addWidget(list_->ListPanel(), kListStretch);

    auto* bottom = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    left->addWidget(settings_->SettingsGroups());
    left->addStretch(1);
    left->addWidget(batch_->ProgressStrip());
    bottom->addLayout(left);
    // The preview takes the width and height its corner gains.
    bottom->addWidget(preview_->Pane(), 1);
    column->addLayout(bottom, kBottomStretch);
    setCentralWidget(client);
    setStatusBar(status_);
}

QWidget* TForm1::BuildToolStrip()
{
    auto* strip = Named(new QWidget, "PanelTools");
    strip->setMinimumHeight(40);
    auto* row = new QHBoxLayout(strip);
    row->setContentsMargins(0, 3, 0, 3);
    row->setSpacing(4);
    for (QToolButton* button : list_->ToolButtons())
        row->addWidget(button);
    // Stop and Start, each behind a divider.
    for (QToolButton* button : batch_->ToolButtons()) {
        row->addWidget(Divider());
        row->addWidget(button);
    }
    row->addStretch(1);
    return strip;
}

// A new window opens at the designed client size (its menu bar added), or smaller when the
// screen is; the layouts alone set how small it may get.
void TForm1::SetInitialSize()
{
    const int menu = menuBar()->sizeHint().height();
    resize(QSize(kClientSize.width(), kClientSize.height() + menu).expandedTo(minimumSizeHint()));
    FitOnScreen();
}

// Within the screen's free area: as large as fits, and moved back onto it when it hangs off.
void TForm1::FitOnScreen()
{
    const QScreen* where = screen() != nullptr ? screen() : QGuiApplication::primaryScreen();
    if (where == nullptr)
        return;
    const QRect free = where->availableGeometry();
    // The frame the desktop draws around the window needs its room too.
    const QSize frame = frameGeometry().size() - geometry().size();
    const QSize room = (free.size() - frame).expandedTo(minimumSize());
    resize(size().boundedTo(room));
    QRect placed = frameGeometry();
    placed.moveRight(std::min(placed.right(), free.right()));
    placed.moveBottom(std::min(placed.bottom(), free.bottom()));
    placed.moveLeft(std::max(placed.left(), free.left()));
    placed.moveTop(std::max(placed.top(), free.top()));
    move(placed.topLeft());
}

}  // namespace tavrin
