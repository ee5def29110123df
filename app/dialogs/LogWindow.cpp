#include "dialogs/LogWindow.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace tavrin {

QString LogLine(const std::string& text)
{
    QString line = QString::fromStdString(text);
    qsizetype end = line.size();
    while (end > 0 && line.at(end - 1).isSpace())
        --end;
    line.truncate(end);
    return line;
}

QDialog* ShowLogWindow(QWidget* parent, const QString& fileName, const QStringList& lines)
{
    auto* window = new QDialog(parent);
    window->setObjectName(QStringLiteral("LogWindow"));
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowTitle(QStringLiteral("Log - %1").arg(QFileInfo(fileName).fileName()));
    window->resize(640, 360);

    auto* text = new QPlainTextEdit(window);
    text->setObjectName(QStringLiteral("LogText"));
    text->setReadOnly(true);
    text->setLineWrapMode(QPlainTextEdit::NoWrap);
    // Fixed-width, so the indented stream and codec details line up as the engine wrote them.
    QFont mono = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    mono.setStyleHint(QFont::TypeWriter);
    mono.setFixedPitch(true);
    text->setFont(mono);
    text->setPlainText(lines.isEmpty()
                           ? QStringLiteral("The engine has not logged anything for this file yet.")
                           : lines.join(QLatin1Char('\n')));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, window);
    QObject::connect(buttons, &QDialogButtonBox::rejected, window, &QDialog::close);

    auto* layout = new QVBoxLayout(window);
    layout->addWidget(text);
    layout->addWidget(buttons);
    window->show();
    return window;
}

}  // namespace tavrin
