// Every message box and file dialog of the window goes through this seam, so tests answer
// them without a modal loop.
#pragma once

#include <QMessageBox>
#include <QString>
#include <QStringList>

#include <memory>

class QWidget;

namespace tavrin {

class TDialogs {
public:
    virtual ~TDialogs() = default;

    // A box titled "Information" with the information icon and an OK button.
    virtual void Information(QWidget* parent, const QString& text) = 0;
    // A box titled "Confirmation" with the question icon and Yes and No buttons; true on Yes.
    virtual bool Confirm(QWidget* parent, const QString& text) = 0;
    // The multi-select open dialog for existing files; empty when cancelled.
    virtual QStringList OpenFiles(QWidget* parent, const QString& filter) = 0;
    // A folder chooser with the caption given; empty when cancelled.
    virtual QString ChooseFolder(QWidget* parent, const QString& caption,
                                 const QString& startFolder) = 0;
    // The about box, shown modally.
    virtual void About(QWidget* parent, const QString& title, const QString& text) = 0;
};

// A message box wide enough for its whole title as the desktop shows it (with the program's
// name after it), so the title bar does not cut it.
std::unique_ptr<QMessageBox> MakeMessageBox(QWidget* parent, QMessageBox::Icon icon,
                                            const QString& title, const QString& text,
                                            QMessageBox::StandardButtons buttons,
                                            QMessageBox::StandardButton defaultButton);

// The real dialogs of Qt.
class TQtDialogs final : public TDialogs {
public:
    void Information(QWidget* parent, const QString& text) override;
    bool Confirm(QWidget* parent, const QString& text) override;
    QStringList OpenFiles(QWidget* parent, const QString& filter) override;
    QString ChooseFolder(QWidget* parent, const QString& caption,
                         const QString& startFolder) override;
    void About(QWidget* parent, const QString& title, const QString& text) override;
};

}  // namespace tavrin
