// The source list's widgets, its pop-up menu and the commands of both.
#include "list/ListPart.h"

#include "dialogs/LogWindow.h"
#include "list/SourceList.h"
#include "util/Widgets.h"

#include <QAction>
#include <QFrame>
#include <QKeySequence>
#include <QMenu>
#include <QToolButton>
#include <QVBoxLayout>

namespace tavrin {

namespace {

// The list's sunken panel: 201 pixels high as designed, but the first thing to give up
// height when the window is smaller than that.
constexpr int kDesignedListHeight = 201;

class TListPanel final : public QFrame {
public:
    QSize sizeHint() const override
    {
        return QFrame::sizeHint().expandedTo(QSize(0, kDesignedListHeight));
    }
};

QAction* NamedAction(QMenu* menu, const char* name, const QString& caption)
{
    return Named(menu->addAction(caption), name);
}

}  // namespace

void TListPart::BuildWidgets()
{
    auto* frame = Named(new TListPanel, "PanelList");
    panel_ = frame;
    frame->setFrameShape(QFrame::Panel);
    frame->setFrameShadow(QFrame::Sunken);
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
    CheckAllItems1 = NamedAction(PopupListView1, "CheckAllItems1", QStringLiteral("&Check All Items"));
    UncheckAllItems1 =
        NamedAction(PopupListView1, "UncheckAllItems1", QStringLiteral("&Uncheck All Items"));
    PopupListView1->addSeparator();
    DeleteSelectedItem1 =
        NamedAction(PopupListView1, "DeleteSelectedItem1", QStringLiteral("&Remove Selected Item"));
    ClearAllItems1 = NamedAction(PopupListView1, "ClearAllItems1", QStringLiteral("C&lear All Items"));
    PopupListView1->addSeparator();
    PlaySelectedFile1 =
        NamedAction(PopupListView1, "PlaySelectedFile1", QStringLiteral("&Play Selected File"));
    ViewLog1 = NamedAction(PopupListView1, "ViewLog1", QStringLiteral("&View Log"));
    PopupListView1->addSeparator();
    OpenOutputFolder1 =
        NamedAction(PopupListView1, "OpenOutputFolder1", QStringLiteral("Open &Output Folder"));
    ShowInFolder1 = NamedAction(PopupListView1, "ShowInFolder1", QStringLiteral("Show in &Folder"));
    RemoveFinishedRows1 =
        NamedAction(PopupListView1, "RemoveFinishedRows1", QStringLiteral("Remove Fi&nished Rows"));

    // Keys that work while the list has the focus; the menu shows Delete beside its entry.
    DeleteSelectedItem1->setShortcut(QKeySequence::Delete);
    DeleteSelectedItem1->setShortcutContext(Qt::WidgetShortcut);
    ListView1->addAction(DeleteSelectedItem1);
    // Ctrl+A selects every row from anywhere in the window, unless a text field takes it.
    SelectAllRows1 = Named(new QAction(QStringLiteral("Select All Rows"), &window_), "SelectAllRows1");
    SelectAllRows1->setShortcut(QKeySequence::SelectAll);
    window_.addAction(SelectAllRows1);

    connect(ListView1, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        if (!popupAutomatic_)
            return;
        ViewLog1->setEnabled(ListView1->currentItem() != nullptr);
        ShowInFolder1->setEnabled(ListView1->currentItem() != nullptr);
        PopupListView1->popup(ListView1->viewport()->mapToGlobal(at));
    });
    connect(CheckAllItems1, &QAction::triggered, this, &TListPart::CheckAllItems1Click);
    connect(UncheckAllItems1, &QAction::triggered, this, &TListPart::UncheckAllItems1Click);
    connect(DeleteSelectedItem1, &QAction::triggered, this, &TListPart::DeleteSelectedItem1Click);
    connect(ClearAllItems1, &QAction::triggered, this, &TListPart::ClearAllItems1Click);
    connect(PlaySelectedFile1, &QAction::triggered, this, &TListPart::PlayRequested);
    connect(ViewLog1, &QAction::triggered, this, &TListPart::ViewLog1Click);
    connect(OpenOutputFolder1, &QAction::triggered, this, &TListPart::OpenOutputFolder1Click);
    connect(ShowInFolder1, &QAction::triggered, this, &TListPart::ShowInFolder1Click);
    connect(RemoveFinishedRows1, &QAction::triggered, this, &TListPart::RemoveFinishedRows1Click);
    connect(SelectAllRows1, &QAction::triggered, this, &TListPart::SelectAllRows);
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
