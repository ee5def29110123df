// The source list's widgets, its pop-up menu and the commands of both.
#include "list/ListPart.h"

#include "dialogs/LogWindow.h"
#include "list/SourceList.h"
#include "util/Widgets.h"

#include <QFrame>
#include <QMenu>
#include <QToolButton>
#include <QVBoxLayout>

namespace tavrin {

namespace {

QAction* NamedAction(QMenu* menu, const char* name, const QString& caption)
{
    return Named(menu->addAction(caption), name);
}

}  // namespace

void TListPart::BuildWidgets()
{
    panel_ = Named(new QFrame, "PanelList");
    auto* frame = static_cast<QFrame*>(panel_);
    frame->setFrameShape(QFrame::Panel);
    frame->setFrameShadow(QFrame::Sunken);
    frame->setMinimumHeight(201);
    auto* box = new QVBoxLayout(frame);
    box->setContentsMargins(1, 1, 1, 1);
    ListView1 = Named(new TSourceList, "ListView1");
    box->addWidget(ListView1);

    const QSize wide(130, 34);
    ButtonAddFile = SpeedButton("ButtonAddFile", QStringLiteral("Add File"), "add-file", wide);
    ButtonRemove = SpeedButton("ButtonRemove", QStringLiteral("Remove File"), "remove-file",
                               QSize(121, 34));
    ButtonClear = SpeedButton("ButtonClear", QStringLiteral("Clear All "), "clear-all", wide);
    connect(ButtonAddFile, &QToolButton::clicked, this, &TListPart::ButtonAddFileClick);
    connect(ButtonRemove, &QToolButton::clicked, this, &TListPart::DeleteSelectedItem1Click);
    connect(ButtonClear, &QToolButton::clicked, this, &TListPart::ClearAllItems1Click);
    ListView1->OnPathsDropped = [this](const QStringList& paths) { AddDroppedPaths(paths); };
    connect(ListView1, &QTreeWidget::itemSelectionChanged, this, &TListPart::SelectionChanged);
}

QList<QToolButton*> TListPart::ToolButtons() const
{
    return {ButtonAddFile, ButtonRemove, ButtonClear};
}

void TListPart::BuildPopupMenu()
{
    PopupListView1 = Named(new QMenu(&window_), "PopupListView1");
    CheckAllItems1 = NamedAction(PopupListView1, "CheckAllItems1", QStringLiteral("Check All Items"));
    UncheckAllItems1 =
        NamedAction(PopupListView1, "UncheckAllItems1", QStringLiteral("Uncheck All Items"));
    PopupListView1->addSeparator();
    DeleteSelectedItem1 =
        NamedAction(PopupListView1, "DeleteSelectedItem1", QStringLiteral("Remove Selected Item"));
    ClearAllItems1 = NamedAction(PopupListView1, "ClearAllItems1", QStringLiteral("Clear All Items"));
    PopupListView1->addSeparator();
    PlaySelectedFile1 =
        NamedAction(PopupListView1, "PlaySelectedFile1", QStringLiteral("Play Selected File"));
    ViewLog1 = NamedAction(PopupListView1, "ViewLog1", QStringLiteral("View Log"));

    connect(ListView1, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        if (!popupAutomatic_)
            return;
        ViewLog1->setEnabled(ListView1->currentItem() != nullptr);
        PopupListView1->popup(ListView1->viewport()->mapToGlobal(at));
    });
    connect(CheckAllItems1, &QAction::triggered, this, &TListPart::CheckAllItems1Click);
    connect(UncheckAllItems1, &QAction::triggered, this, &TListPart::UncheckAllItems1Click);
    connect(DeleteSelectedItem1, &QAction::triggered, this, &TListPart::DeleteSelectedItem1Click);
    connect(ClearAllItems1, &QAction::triggered, this, &TListPart::ClearAllItems1Click);
    connect(PlaySelectedFile1, &QAction::triggered, this, &TListPart::PlayRequested);
    connect(ViewLog1, &QAction::triggered, this, &TListPart::ViewLog1Click);
}

void TListPart::TriggerAddFile()
{
    ButtonAddFile->click();
}

void TListPart::SetControlsEnabled(bool enabled)
{
    for (QWidget* widget : {ButtonAddFile, ButtonClear, ButtonRemove})
        widget->setEnabled(enabled);
    popupAutomatic_ = enabled;
}

void TListPart::CheckAllItems1Click()
{
    for (int row = 0; row < RowCount(); ++row)
        Row(row)->setCheckState(scFileName, Qt::Checked);
}

void TListPart::UncheckAllItems1Click()
{
    for (int row = 0; row < RowCount(); ++row)
        Row(row)->setCheckState(scFileName, Qt::Unchecked);
}

void TListPart::ViewLog1Click()
{
    QTreeWidgetItem* row = ListView1->currentItem();
    if (row == nullptr)
        return;
    ShowLogWindow(&window_, row->text(scFileName), RowLog(ListView1->indexOfTopLevelItem(row)));
}

}  // namespace tavrin
