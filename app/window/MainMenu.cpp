// The main menu, its "Help" entries, and switching it off during a batch.
#include "window/MainWindow.h"

#include "dialogs/Dialogs.h"
#include "dialogs/HelpAndAbout.h"
#include "util/Widgets.h"

#include <QDesktopServices>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QUrl>

namespace tavrin {

namespace {

// An entry with its mnemonic ("&" before the letter) and the keys that reach it without
// the menu, which the menu shows beside it.
QAction* NamedAction(QMenu* menu, const char* name, const QString& caption,
                     const QList<QKeySequence>& keys = {})
{
    QAction* action = Named(menu->addAction(caption), name);
    action->setShortcuts(keys);
    return action;
}

}  // namespace

void TForm1::BuildMenus()
{
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    QMenu* file = Named(bar->addMenu(QStringLiteral("&File")), "File1");
    AddFiles1 = NamedAction(file, "AddFiles1", QStringLiteral("&Add Files"), {QKeySequence::Open});
    Convert1 = NamedAction(file, "Convert1", QStringLiteral("&Convert"),
                           {QKeySequence(Qt::CTRL | Qt::Key_Return),
                            QKeySequence(Qt::CTRL | Qt::Key_Enter)});
    Exit1 = NamedAction(file, "Exit1", QStringLiteral("E&xit"), {QKeySequence(Qt::CTRL | Qt::Key_Q)});

    QMenu* options = Named(bar->addMenu(QStringLiteral("&Options")), "Options1");
    SetOptions1 = NamedAction(options, "SetOptions1", QStringLiteral("&Set Options"));

    QMenu* help = Named(bar->addMenu(QStringLiteral("&Help")), "Help1");
    OpenHelpFile1 = NamedAction(help, "OpenHelpFile1", QStringLiteral("Open &Help File"),
                                {QKeySequence(Qt::Key_F1)});
    help->addSeparator();
    About1 = NamedAction(help, "About1", QStringLiteral("&About"));

    // A switched-off main menu keeps its look; the bar just ignores the mouse, and its
    // entries' keys do nothing.
    bar->installEventFilter(this);
    for (QMenu* menu : {file, options, help}) {
        menu->installEventFilter(this);
        for (QAction* action : menu->actions())
            action->installEventFilter(this);
    }
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
        if (type == QEvent::Shortcut && qobject_cast<QAction*>(watched) != nullptr)
            return true;
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

void TForm1::About1Click()
{
    dialogs_.About(this, QStringLiteral("About Tavrin Apple TV Converter"), AboutText());
}

void TForm1::OpenHelpFile1Click()
{
    if (!QFileInfo::exists(helpFile_)) {
        dialogs_.Information(this, QStringLiteral("The help file \"%1\" is missing. Please "
                                                  "re-install this software.")
                                       .arg(QDir::toNativeSeparators(helpFile_)));
        return;
    }
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(helpFile_)))
        dialogs_.Information(this, QStringLiteral("The help file \"%1\" could not be shown. "
                                                  "Please open it in a web browser.")
                                       .arg(QDir::toNativeSeparators(helpFile_)));
}

}  // namespace tavrin
