#include "batch/WindowJobView.h"

#include "JobBuilder.h"
#include "batch/BatchPart.h"
#include "dialogs/Dialogs.h"
#include "list/ListPart.h"
#include "list/SourceList.h"
#include "settings/SettingsPart.h"
#include "util/WindowOptions.h"

#include <QTreeWidgetItem>

namespace tavrin {

namespace {

// A sub-item's column in the list: the caption comes first.
int ListColumn(TRowColumn column)
{
    return static_cast<int>(column) + 1;
}

}  // namespace

int TWindowJobView::RowCount() const
{
    return with_.List.RowCount();
}

std::string TWindowJobView::RowCaption(int row) const
{
    return with_.List.Cell(row, scFileName).toStdString();
}

bool TWindowJobView::RowChecked(int row) const
{
    const QTreeWidgetItem* item = with_.List.Row(row);
    return item != nullptr && item->checkState(scFileName) == Qt::Checked;
}

std::string TWindowJobView::RowCell(int row, TRowColumn column) const
{
    return with_.List.Cell(row, ListColumn(column)).toStdString();
}

void TWindowJobView::SetRowCell(int row, TRowColumn column, const std::string& text)
{
    with_.List.SetCell(row, ListColumn(column), QString::fromStdString(text));
    // The builder marks a row it could not start; the row then says why.
    if (column == rcProgress && text == "Fail" && builder_ != nullptr)
        with_.List.SetRowFailure(row, QString::fromStdString(builder_->LastJob().FailText));
    // A converted row remembers its file, which "Show in Folder" shows.
    if (column == rcProgress && text == "Done" && builder_ != nullptr && builder_->LastJob().Row == row)
        with_.List.SetRowOutput(row, QString::fromStdString(builder_->LastJob().OutputPath));
}

const TProfileControls& TWindowJobView::ProfileControls() const
{
    return with_.Settings.Controls();
}

std::string TWindowJobView::OutputFolderText() const
{
    return with_.Settings.OutputFolder().toStdString();
}

bool TWindowJobView::OverwriteExisting() const
{
    return with_.Options.Overwrite;
}

int TWindowJobView::ConversionVolume() const
{
    return with_.Settings.ConversionVolume();
}

std::string TWindowJobView::OutputExtension() const
{
    return with_.Settings.OutputExtension().toStdString();
}

TBatchState& TWindowJobView::Batch()
{
    return batch_.State();
}

void TWindowJobView::SetProgressBar(int position)
{
    batch_.SetProgress(position);
}

void TWindowJobView::StopDriverTimer()
{
    batch_.StopDriverTimer();
}

void TWindowJobView::ShowInformation(const std::string& text)
{
    // The driver's one box at the end of a batch; the desktop hears of it before it waits.
    if (text == "All Conversions Completed")
        batch_.AnnounceCompletion();
    with_.Dialogs.Information(&with_.Window, QString::fromStdString(text));
}

void TWindowJobView::EnableControls()
{
    batch_.EnableControls();
}

void TWindowJobView::AddRowLog(int row, const std::string& line)
{
    with_.List.AppendRowLog(row, QString::fromStdString(line));
}

}  // namespace tavrin
