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
#include <QHBoxLayout>
#include <QToolButton>
#include <QVBoxLayout>

namespace tavrin {

namespace {

constexpr QSize kClientSize{753, 532};

using TClientArea = TAtLeast<QWidget>;

}  // namespace

void TForm1::BuildLayout()
{
    auto* client = Named(new TClientArea(QSize()), "ClientArea");
    auto* column = new QVBoxLayout(client);
    column->setContentsMargins(6, 2, 6, 4);
    column->setSpacing(4);
    column->addWidget(BuildToolStrip());
    column->addWidget(settings_->FolderStrip());
    column->addWidget(list_->ListPanel(), 1);

    auto* bottom = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    left->addWidget(settings_->SettingsGroups());
    left->addStretch(1);
    left->addWidget(batch_->ProgressStrip());
    bottom->addLayout(left);
    bottom->addStretch(1);
    bottom->addWidget(preview_->Pane(), 0, Qt::AlignTop);
    column->addLayout(bottom);
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

// The window's client area is the central widget and the status bar; the main window's
// layout keeps the window at least as large as their minimum sizes.
void TForm1::SetMinimumClientSize()
{
    auto* client = static_cast<TClientArea*>(centralWidget());
    client->Designed = QSize(kClientSize.width(),
                             kClientSize.height() - status_->sizeHint().height());
    client->updateGeometry();
    resize(sizeHint());
}

}  // namespace tavrin
