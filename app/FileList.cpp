// The source file list: adding files through the dialog or by dropping them, probing each
// one into its row, and the list's own commands (remove, clear, check, view log).
#include "MainWindow.h"

#include "AVProbe.h"
#include "Dialogs.h"
#include "LogWindow.h"
#include "RowProbe.h"
#include "SourceList.h"

#include <QCoreApplication>
#include <QTreeWidgetItem>

namespace tavrin {

namespace {

constexpr int kRowIdRole = Qt::UserRole + 1;
constexpr int kMaxLogLines = 5000;

}  // namespace

void TForm1::ButtonAddFileClick()
{
    AddFilesFromDialogOrDrop(nullptr);
}

void TForm1::AddDroppedPaths(const QStringList& paths)
{
    const QStringList files = ExpandDroppedPaths(paths);
    AddFilesFromDialogOrDrop(&files);
}

// While files are being added, a second request (a click, a drop) changes nothing: the
// first run keeps its rows, their marks and its guard over Start, Remove and Clear.
void TForm1::AddFilesFromDialogOrDrop(const QStringList* dropped)
{
    StopThePreview(false);
    if (Batch.Converting || AddingFiles)
        return;
    Engine.ClearTaskList();
    ClearProgressCells();
    AddingFiles = true;
    try {
        AddFilesProcedure(dropped ? *dropped : dialogs_.OpenFiles(this, OpenDialogFilter));
    } catch (...) {
        // A file that breaks the probe ends the adding; the rows so far stay.
    }
    AddingFiles = false;
}

void TForm1::AddFilesProcedure(const QStringList& paths)
{
    for (const QString& path : paths) {
        if (closing_)
            break;
        AppendProbedRow(path);
        ListView1->scrollToItem(Row(RowCount() - 1));
        // Repaint and stay responsive between files.
        QCoreApplication::processEvents();
    }
}

void TForm1::AppendProbedRow(const QString& path)
{
    TAVProbe& probe = Engine.AVProbe();
    const TRowCells cells =
        ProbeRowCells(probe, path.toStdString(), OutputExtension.toStdString());
    auto* row = new QTreeWidgetItem;
    row->setText(scFileName, path);
    row->setCheckState(scFileName, Qt::Checked);
    row->setData(scFileName, kRowIdRole, nextRowId_++);
    const std::string* texts[] = {&cells.VideoSize, &cells.FrameRate, &cells.Duration,
                                  &cells.Output,    &cells.Progress,  &cells.Frames};
    for (int column = scVideoSize; column < scColumnCount; ++column)
        row->setText(column, QString::fromStdString(*texts[column - scVideoSize]));
    ListView1->addTopLevelItem(row);
    // A file the probe rejects says why when the pointer rests on it.
    if (cells.Progress == "Error")
        SetRowFailure(RowCount() - 1, QString::fromStdString(cells.Reason));
}

// Statuses of an earlier batch go, and with them their reasons and logs.
void TForm1::ClearProgressCells()
{
    rowLogs_.clear();
    for (int row = 0; row < RowCount(); ++row) {
        SetCell(row, scProgress, QString());
        for (int column = 0; column < scColumnCount; ++column)
            Row(row)->setToolTip(column, QString());
    }
}

void TForm1::DeleteSelectedItem1Click()
{
    // Rows are the batch's cursor too: none leaves while the driver walks them.
    if (AddingFiles || Batch.Converting)
        return;
    const QList<QTreeWidgetItem*> selected = ListView1->selectedItems();
    if (selected.isEmpty())
        return;
    QTreeWidgetItem* row = selected.first();
    rowLogs_.remove(row->data(scFileName, kRowIdRole).toULongLong());
    delete row;
}

void TForm1::ClearAllItems1Click()
{
    if (AddingFiles || Batch.Converting)
        return;
    Engine.ClearTaskList();
    ListView1->clear();
    rowLogs_.clear();
}

void TForm1::CheckAllItems1Click()
{
    for (int row = 0; row < RowCount(); ++row)
        Row(row)->setCheckState(scFileName, Qt::Checked);
}

void TForm1::UncheckAllItems1Click()
{
    for (int row = 0; row < RowCount(); ++row)
        Row(row)->setCheckState(scFileName, Qt::Unchecked);
}

void TForm1::ViewLog1Click()
{
    QTreeWidgetItem* row = ListView1->currentItem();
    if (row == nullptr)
        return;
    ShowLogWindow(this, row->text(scFileName), RowLog(ListView1->indexOfTopLevelItem(row)));
}

int TForm1::RowCount() const
{
    return ListView1->topLevelItemCount();
}

QTreeWidgetItem* TForm1::Row(int index) const
{
    return index >= 0 && index < RowCount() ? ListView1->topLevelItem(index) : nullptr;
}

QString TForm1::Cell(int row, int column) const
{
    const QTreeWidgetItem* item = Row(row);
    return item ? item->text(column) : QString();
}

void TForm1::SetCell(int row, int column, const QString& text)
{
    if (QTreeWidgetItem* item = Row(row))
        item->setText(column, text);
}

QStringList TForm1::RowLog(int row) const
{
    const QTreeWidgetItem* item = Row(row);
    return item ? rowLogs_.value(item->data(scFileName, kRowIdRole).toULongLong()) : QStringList();
}

void TForm1::AppendRowLog(int row, const QString& line)
{
    QTreeWidgetItem* item = Row(row);
    if (item == nullptr)
        return;
    QStringList& log = rowLogs_[item->data(scFileName, kRowIdRole).toULongLong()];
    if (log.size() < kMaxLogLines)
        log << line;
    else if (log.size() == kMaxLogLines)
        log << QStringLiteral("(further lines left out)");
}

// A failed row says why on every cell and at the end of its log.
void TForm1::SetRowFailure(int row, const QString& reason)
{
    QTreeWidgetItem* item = Row(row);
    if (item == nullptr || reason.isEmpty())
        return;
    for (int column = 0; column < scColumnCount; ++column)
        item->setToolTip(column, reason);
    AppendRowLog(row, reason);
}

}  // namespace tavrin
