#include "dialogs/Dialogs.h"

#include <QFileDialog>
#include <QGridLayout>
#include <QGuiApplication>

namespace tavrin {

namespace {

// Room beside the title for the window icon and the title bar's buttons.
constexpr int kTitleBarExtras = 140;

}  // namespace

std::unique_ptr<QMessageBox> MakeMessageBox(QWidget* parent, QMessageBox::Icon icon,
                                            const QString& title, const QString& text,
                                            QMessageBox::StandardButtons buttons,
                                            QMessageBox::StandardButton defaultButton)
{
    auto box = std::make_unique<QMessageBox>(icon, title, text, buttons, parent);
    box->setDefaultButton(defaultButton);
    QString shown = title;
    const QString program = QGuiApplication::applicationDisplayName();
    if (!program.isEmpty() && !shown.endsWith(program))
        shown += QStringLiteral(" \u2014 ") + program;
    QFont titleFont = box->font();
    titleFont.setBold(true);
    const int width = QFontMetrics(titleFont).horizontalAdvance(shown) + kTitleBarExtras;
    // The box sizes itself to its layout; a spacer across it holds it open.
    if (auto* grid = qobject_cast<QGridLayout*>(box->layout()))
        grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Minimum),
                      grid->rowCount(), 0, 1, grid->columnCount());
    return box;
}

void TQtDialogs::Information(QWidget* parent, const QString& text)
{
    MakeMessageBox(parent, QMessageBox::Information, QStringLiteral("Information"), text,
                   QMessageBox::Ok, QMessageBox::Ok)
        ->exec();
}

bool TQtDialogs::Confirm(QWidget* parent, const QString& text)
{
    return MakeMessageBox(parent, QMessageBox::Question, QStringLiteral("Confirmation"), text,
                          QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
               ->exec() == QMessageBox::Yes;
}

QStringList TQtDialogs::OpenFiles(QWidget* parent, const QString& filter)
{
    // getOpenFileNames lists existing files only and keeps the read-only box hidden.
    return QFileDialog::getOpenFileNames(parent, QString(), QString(), filter);
}

QString TQtDialogs::ChooseFolder(QWidget* parent, const QString& caption, const QString& startFolder)
{
    return QFileDialog::getExistingDirectory(parent, caption, startFolder,
                                             QFileDialog::ShowDirsOnly);
}

void TQtDialogs::About(QWidget* parent, const QString& title, const QString& text)
{
    QMessageBox::about(parent, title, text);
}

}  // namespace tavrin
