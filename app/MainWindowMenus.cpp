// The main menu, the list's pop-up menu, and switching the main menu off during a batch.
#include "MainWindow.h"

#include "SourceList.h"

#include <QEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QToolButton>

namespace tavrin {

namespace {

QAction* NamedAction(QMenu* menu, const char* name, const QString& caption)
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    return action;
}

}  // namespace

void TForm1::BuildMenus()
{
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    QMenu* file = bar->addMenu(QStringLiteral("File"));
    file->setObjectName(QStringLiteral("File1"));
    AddFiles1 = NamedAction(file, "AddFiles1", QStringLiteral("Add Files"));
    Convert1 = NamedAction(file, "Convert1", QStringLiteral("Convert"));
    Exit1 = NamedAction(file, "Exit1", QStringLiteral("Exit"));

    QMenu* options = bar->addMenu(QStringLiteral("Options"));
    options->setObjectName(QStringLiteral("Options1"));
    SetOptions1 = NamedAction(options, "SetOptions1", QStringLiteral("Set Options"));

    QMenu* help = bar->addMenu(QStringLiteral("Help"));
    help->setObjectName(QStringLiteral("Help1"));
    OpenHelpFile1 = NamedAction(help, "OpenHelpFile1", QStringLiteral("Open Help File"));
    help->addSeparator();
    About1 = NamedAction(help, "About1", QStringLiteral("About"));

    // A switched-off main menu keeps its look; the bar just ignores the mouse.
    bar->installEventFilter(this);
    for (QMenu* menu : {file, options, help})
        menu->installEventFilter(this);
    BuildPopupMenu();
}

void TForm1::BuildPopupMenu()
{
    PopupListView1 = new QMenu(this);
    PopupListView1->setObjectName(QStringLiteral("PopupListView1"));
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
    connect(CheckAllItems1, &QAction::triggered, this, &TForm1::CheckAllItems1Click);
    connect(UncheckAllItems1, &QAction::triggered, this, &TForm1::UncheckAllItems1Click);
    connect(DeleteSelectedItem1, &QAction::triggered, this, &TForm1::DeleteSelectedItem1Click);
    connect(ClearAllItems1, &QAction::triggered, this, &TForm1::ClearAllItems1Click);
    connect(PlaySelectedFile1, &QAction::triggered, this, [this] { ButtonPlay->click(); });
    connect(ViewLog1, &QAction::triggered, this, &TForm1::ViewLog1Click);
}

void TForm1::SetMainMenuEnabled(bool enabled)
{
    mainMenuEnabled_ = enabled;
    if (!enabled)
        for (QAction* entry : menuBar()->actions())
            if (QMenu* menu = entry->menu())
                menu->hide();
}

bool TForm1::MenuEventFilter(QObject* watched, QEvent* event)
{
    if (!mainMenuEnabled_) {
        const QEvent::Type type = event->type();
        const bool onBar = watched == menuBar();
        if (onBar && (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick ||
                      type == QEvent::KeyPress))
            return true;
        // A menu opened any other way closes again at once.
        if (!onBar && type == QEvent::Show) {
            if (auto* menu = qobject_cast<QMenu*>(watched))
                QMetaObject::invokeMethod(menu, &QMenu::hide, Qt::QueuedConnection);
        }
    }
    return false;
}

}  // namespace tavrin
