#include "dialogs/Dialogs.h"

#include <QFileDialog>
#include <QMessageBox>

namespace tavrin {

void TQtDialogs::Information(QWidget* parent, const QString& text)
{
    QMessageBox::information(parent, QStringLiteral("Information"), text, QMessageBox::Ok);
}

bool TQtDialogs::Confirm(QWidget* parent, const QString& text)
{
    return QMessageBox::question(parent, QStringLiteral("Confirmation"), text,
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::No) ==
           QMessageBox::Yes;
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
