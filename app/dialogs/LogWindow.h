// A read-only window with the engine's log of one list row.
#pragma once

#include <QStringList>

#include <string>

class QDialog;
class QWidget;

namespace tavrin {

// A line the engine logged, as a row's log keeps it: the line end and trailing blanks go,
// the indentation that lays out stream and codec details stays. Empty for a blank line.
QString LogLine(const std::string& text);

// Opens (without blocking) a window titled after the file, showing its log lines; it
// deletes itself when closed.
QDialog* ShowLogWindow(QWidget* parent, const QString& fileName, const QStringList& lines);

}  // namespace tavrin
