// Adding files to the source list and the rows' cells, logs and failure reasons.
#include "list/ListPart.h"

#include "AVProbe.h"
#include "FFmpegEngine.h"
#include "RowProbe.h"
#include "SourceFilter.h"
#include "dialogs/Dialogs.h"
#include "list/SourceList.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>
#include <QTreeWidgetItem>

#include <algorithm>

namespace tavrin {

namespace {

constexpr int kRowIdRole = Qt::UserRole + 1;
constexpr int kRowOutputRole = Qt::UserRole + 2;
constexpr int kMaxLogLines = 5000;

}  // namespace

TListPart::TListPart(QWidget& window, TDialogs& dialogs, TFFmpegEngine& engine,
                     std::function<bool()> converting, std::function<QString()> outputExtension,
                     std::function<QString()> outputFolder)
    : window_(window),
      dialogs_(dialogs),
      engine_(engine),
      converting_(std::move(converting)),
      outputExtension_(std::move(outputExtension)),
      outputFolder_(std::move(outputFolder)),
      openDialogFilter_(QString::fromStdString(ToQtFileDialogFilter(SourceFileFilter())))
{
    BuildWidgets();
    BuildPopupMenu();
    connect(ListView1, &QTreeWidget::itemChanged, this, &TListPart::CheckStateChanged);
}

void TListPart::ButtonAddFileClick()
{
    AddFilesFromDialogOrDrop(nullptr);
}

void TListPart::AddDroppedPaths(const QStringList& paths)
{
    QStringList listed;
    for (int row = 0; row < RowCount(); ++row)
        listed << Cell(row, scFileName);
    const QStringList files = ExpandDroppedPaths(paths, listed);
    AddFilesFromDialogOrDrop(&files);
}

// While files are being added, a second request (a click, a drop) changes nothing: the
// first run keeps its rows, their marks and its guard over Start, Remove and Clear.
void TListPart::AddFilesFromDialogOrDrop(const QStringList* dropped)
{
    emit AddingStarts();
    if (converting_() || adding_)
        return;
    engine_.ClearTaskList();
    ClearProgressCells();
    adding_ = true;
    try {
        AddFilesProcedure(dropped ? *dropped : dialogs_.OpenFiles(&window_, openDialogFilter_));
    } catch (...) {
        // A file that breaks the probe ends the adding; the rows so far stay.
    }
    adding_ = false;
}

void TListPart::AddFilesProcedure(const QStringList& paths)
{
    for (const QString& path : paths) {
        if (closing_)
            break;
        AppendProbedRow(path);
        ScrollTo(RowCount() - 1);
        // Repaint and stay responsive between files.
        QCoreApplication::processEvents();
    }
}

void TListPart::AppendProbedRow(const QString& path)
{
    TAVProbe& probe = engine_.AVProbe();
    const TRowCells cells =
        ProbeRowCells(probe, path.toStdString(), outputExtension_().toStdString());
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

void TListPart::ClearProgressCells()
{
    rowLogs_.clear();
    for (int row = 0; row < RowCount(); ++row) {
        SetCell(row, scProgress, QString());
        for (int column = 0; column < scColumnCount; ++column)
            Row(row)->setToolTip(column, QString());
    }
}

int TListPart::RowCount() const
{
    return ListView1->topLevelItemCount();
}

QTreeWidgetItem* TListPart::Row(int index) const
{
    return index >= 0 && index < RowCount() ? ListView1->topLevelItem(index) : nullptr;
}

QString TListPart::Cell(int row, int column) const
{
    const QTreeWidgetItem* item = Row(row);
    return item ? item->text(column) : QString();
}

void TListPart::SetCell(int row, int column, const QString& text)
{
    if (QTreeWidgetItem* item = Row(row))
        item->setText(column, text);
}

int TListPart::SelectedRow() const
{
    const QList<int> rows = SelectedRows();
    return rows.isEmpty() ? -1 : rows.first();
}

QList<int> TListPart::SelectedRows() const
{
    QList<int> rows;
    for (QTreeWidgetItem* item : ListView1->selectedItems())
        rows << ListView1->indexOfTopLevelItem(item);
    std::sort(rows.begin(), rows.end());
    return rows;
}

void TListPart::SelectAllRows()
{
    ListView1->selectAll();
    ListView1->setFocus(Qt::ShortcutFocusReason);
}

void TListPart::CheckStateChanged(QTreeWidgetItem* item, int column)
{
    if (spreadingCheck_ || column != scFileName || !item->isSelected())
        return;
    spreadingCheck_ = true;
    const Qt::CheckState state = item->checkState(scFileName);
    for (QTreeWidgetItem* other : ListView1->selectedItems())
        if (other->checkState(scFileName) != state)
            other->setCheckState(scFileName, state);
    spreadingCheck_ = false;
}

void TListPart::ScrollTo(int row)
{
    if (QTreeWidgetItem* item = Row(row))
        ListView1->scrollToItem(item);
}

void TListPart::SetOutputColumn(const QString& extension)
{
    for (int row = 0; row < RowCount(); ++row)
        SetCell(row, scOutput, extension);
}

QStringList TListPart::RowLog(int row) const
{
    const QTreeWidgetItem* item = Row(row);
    return item ? rowLogs_.value(item->data(scFileName, kRowIdRole).toULongLong()) : QStringList();
}

void TListPart::AppendRowLog(int row, const QString& line)
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
void TListPart::SetRowFailure(int row, const QString& reason)
{
    QTreeWidgetItem* item = Row(row);
    if (item == nullptr || reason.isEmpty())
        return;
    for (int column = 0; column < scColumnCount; ++column)
        item->setToolTip(column, reason);
    AppendRowLog(row, reason);
}

void TListPart::SetRowOutput(int row, const QString& path)
{
    if (QTreeWidgetItem* item = Row(row))
        item->setData(scFileName, kRowOutputRole, path);
}

QString TListPart::RowOutput(int row) const
{
    const QTreeWidgetItem* item = Row(row);
    return item ? item->data(scFileName, kRowOutputRole).toString() : QString();
}

void TListPart::DeleteSelectedItem1Click()
{
    RemoveRows(SelectedRows());
}

void TListPart::RemoveFinishedRows1Click()
{
    QList<int> done;
    for (int row = 0; row < RowCount(); ++row)
        if (Cell(row, scProgress) == QLatin1String("Done"))
            done << row;
    RemoveRows(done);
}

// Rows are the batch's cursor too: none leaves while the driver walks them.
void TListPart::RemoveRows(const QList<int>& rows)
{
    if (adding_ || converting_())
        return;
    for (auto at = rows.crbegin(); at != rows.crend(); ++at) {
        QTreeWidgetItem* row = Row(*at);
        if (row == nullptr)
            continue;
        rowLogs_.remove(row->data(scFileName, kRowIdRole).toULongLong());
        delete row;
    }
}

void TListPart::ClearAllItems1Click()
{
    if (adding_ || converting_())
        return;
    engine_.ClearTaskList();
    ListView1->clear();
    rowLogs_.clear();
}

void TListPart::OpenOutputFolder1Click()
{
    OpenFolder(outputFolder_().trimmed());
}

// The converted file's folder for a converted row, else the folder of its source.
void TListPart::ShowInFolder1Click()
{
    const int row = ListView1->currentItem() ? ListView1->indexOfTopLevelItem(ListView1->currentItem())
                                             : SelectedRow();
    if (row < 0)
        return;
    const QString output = RowOutput(row);
    if (!output.isEmpty() && QFileInfo::exists(output))
        OpenFolder(QFileInfo(output).absolutePath());
    else if (Cell(row, scProgress) == QLatin1String("Done"))
        OpenFolder(outputFolder_().trimmed());
    else
        OpenFolder(QFileInfo(Cell(row, scFileName).trimmed()).absolutePath());
}

void TListPart::OpenFolder(const QString& folder)
{
    if (folder.isEmpty()) {
        dialogs_.Information(&window_, QStringLiteral("Please select an output folder!"));
        return;
    }
    if (!QFileInfo(folder).isDir()) {
        dialogs_.Information(&window_, QStringLiteral("The folder \"%1\" does not exist or has "
                                                      "been deleted!")
                                           .arg(QDir::toNativeSeparators(folder)));
        return;
    }
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(folder)))
        dialogs_.Information(&window_, QStringLiteral("The folder \"%1\" could not be shown.")
                                           .arg(QDir::toNativeSeparators(folder)));
}

}  // namespace tavrin
