// Words the window shows are so: the help page names every control of the window, and a
// message box is wide enough for its title as the desktop writes it.
#include "WindowTestSupport.h"

#include "dialogs/HelpAndAbout.h"

#include <QFile>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTextDocument>
#include <QToolButton>
#include <QTreeWidget>

namespace tavrin::test {
namespace {

QString HelpPageText()
{
    QFile page(FindHelpFile(QStringLiteral(TAVRIN_CONVERTER_DIR)));
    if (!page.open(QIODevice::ReadOnly))
        return {};
    QTextDocument document;
    document.setHtml(QString::fromUtf8(page.readAll()));
    return document.toPlainText().simplified();
}

void AddEntries(QStringList& names, const QMenu* menu)
{
    names << menu->title();
    for (const QAction* action : menu->actions())
        if (!action->isSeparator())
            names << action->text();
}

// What a person reads on the window: button captions (or their hints), the captions of the
// fields, the groups, the list's columns and every menu entry.
QStringList WindowControlNames(TForm1& form)
{
    QStringList names;
    for (const QToolButton* button : form.findChildren<QToolButton*>())
        if (button->isVisibleTo(&form))
            names << (button->text().isEmpty() ? button->toolTip() : button->text());
    for (const QLabel* label : form.findChildren<QLabel*>())
        if (label->isVisibleTo(&form) && label->text().trimmed().endsWith(':'))
            names << label->text().trimmed().chopped(1);
    for (const QGroupBox* group : form.findChildren<QGroupBox*>())
        names << group->title();
    const QTreeWidgetItem* header = Find<QTreeWidget>(form, "ListView1")->headerItem();
    for (int column = 0; column < header->columnCount(); ++column)
        names << header->text(column);
    for (const QAction* entry : form.menuBar()->actions())
        AddEntries(names, entry->menu());
    for (const char* menu : {"PopupListView1", "PopupMenuSpeaker"})
        AddEntries(names, Find<QMenu>(form, menu));
    // A mnemonic's "&" is no part of what a person reads.
    for (QString& name : names)
        name = name.replace(QStringLiteral("&&"), QStringLiteral("\x01"))
                   .remove(QLatin1Char('&'))
                   .replace(QLatin1Char('\x01'), QLatin1Char('&'))
                   .simplified();
    names.removeAll(QString());
    names.removeDuplicates();
    return names;
}

TEST_F(WindowTest, TheHelpPageNamesEveryControlOfTheWindow)
{
    const QString help = HelpPageText();
    ASSERT_FALSE(help.isEmpty());
    const QStringList names = WindowControlNames(*form);
    // The list is the window's, not a short one: buttons, fields, columns and menus.
    EXPECT_GE(names.size(), 40) << names.join(", ").toStdString();
    for (const QString& name : names)
        EXPECT_TRUE(help.contains(name)) << "the help page does not name " << name.toStdString();
}

TEST_F(WindowTest, TheHelpPageTellsWhatTheSettingsDo)
{
    const QString help = HelpPageText();
    // Words the program does not bear out.
    for (const char* untrue : {"keeps the source's rate", "in the same way for both",
                               "ends the program without saving", "the window cannot be closed"})
        EXPECT_FALSE(help.contains(untrue)) << untrue;
    for (const char* told : {"25 frames per second", "black bars", "Stop all conversions and quit?",
                             "No file is checked", "Snapshot saved to"})
        EXPECT_TRUE(help.contains(told)) << told;
}

TEST(MessageBoxTitle, TheBoxIsWideEnoughForItsWholeTitle)
{
    const QString program = QGuiApplication::applicationDisplayName();
    QGuiApplication::setApplicationDisplayName(QStringLiteral("Tavrin Apple TV Converter"));
    for (const auto& [title, text] :
         {std::pair{"Information", "Please Add Files To Convert!"},
          std::pair{"Confirmation", "Stop all conversions?"}}) {
        const auto box = MakeMessageBox(nullptr, QMessageBox::Information, title, text,
                                        QMessageBox::Ok, QMessageBox::Ok);
        box->show();
        QApplication::processEvents();
        QFont bold = box->font();
        bold.setBold(true);
        const int titleWidth = QFontMetrics(bold).horizontalAdvance(
            QString::fromLatin1(title) + QStringLiteral(" \u2014 Tavrin Apple TV Converter"));
        EXPECT_GE(box->width(), titleWidth + 100) << title;
        EXPECT_EQ(box->windowTitle(), title);
        EXPECT_EQ(box->text(), text);
        box->hide();
    }
    QGuiApplication::setApplicationDisplayName(program);
}

}  // namespace
}  // namespace tavrin::test
