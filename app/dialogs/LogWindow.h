// A read-only window with the engine's log of one list row.
#pragma once

#include <QStringList>

class QDialog;
class QWidget;

namespace tavrin {

// Opens (without blocking) a window titled after the file, showing its log lines; it
// deletes itself when closed.
QDialog* ShowLogWindow(QWidget* parent, const QString& fileName, const QStringList& lines);

}  // namespace tavrin
