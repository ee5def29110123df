#include "jobs/MemoryJobWindow.h"

namespace tavrin {

int TMemoryJobWindow::AddRow(const std::string& caption, bool checked)
{
    std::lock_guard lock(FMutex);
    FRows.push_back({caption, checked, {}, {}});
    return static_cast<int>(FRows.size()) - 1;
}

void TMemoryJobWindow::SetRowChecked(int row, bool checked)
{
    std::lock_guard lock(FMutex);
    if (IsValid(row))
        FRows[static_cast<size_t>(row)].Checked = checked;
}

TMemoryRow TMemoryJobWindow::Row(int row) const
{
    std::lock_guard lock(FMutex);
    return IsValid(row) ? FRows[static_cast<size_t>(row)] : TMemoryRow{};
}

int TMemoryJobWindow::ProgressBarPosition() const
{
    std::lock_guard lock(FMutex);
    return FProgressBar;
}

bool TMemoryJobWindow::DriverTimerStopped() const
{
    std::lock_guard lock(FMutex);
    return FTimerStopped;
}

std::vector<std::string> TMemoryJobWindow::Messages() const
{
    std::lock_guard lock(FMutex);
    return FMessages;
}

int TMemoryJobWindow::EnableControlsCount() const
{
    std::lock_guard lock(FMutex);
    return FEnableCount;
}

int TMemoryJobWindow::RowCount() const
{
    std::lock_guard lock(FMutex);
    return static_cast<int>(FRows.size());
}

std::string TMemoryJobWindow::RowCaption(int row) const
{
    return Row(row).Caption;
}

bool TMemoryJobWindow::RowChecked(int row) const
{
    return Row(row).Checked;
}

std::string TMemoryJobWindow::RowCell(int row, TRowColumn column) const
{
    std::lock_guard lock(FMutex);
    if (!IsValid(row) || column < 0 || column >= kRowColumnCount)
        return "";
    return FRows[static_cast<size_t>(row)].Cells[static_cast<size_t>(column)];
}

void TMemoryJobWindow::SetRowCell(int row, TRowColumn column, const std::string& text)
{
    std::lock_guard lock(FMutex);
    if (IsValid(row) && column >= 0 && column < kRowColumnCount)
        FRows[static_cast<size_t>(row)].Cells[static_cast<size_t>(column)] = text;
}

void TMemoryJobWindow::SetProgressBar(int position)
{
    std::lock_guard lock(FMutex);
    FProgressBar = position;
}

void TMemoryJobWindow::StopDriverTimer()
{
    std::lock_guard lock(FMutex);
    FTimerStopped = true;
}

void TMemoryJobWindow::ShowInformation(const std::string& text)
{
    std::lock_guard lock(FMutex);
    FMessages.push_back(text);
}

void TMemoryJobWindow::EnableControls()
{
    std::lock_guard lock(FMutex);
    ++FEnableCount;
}

void TMemoryJobWindow::AddRowLog(int row, const std::string& line)
{
    std::lock_guard lock(FMutex);
    if (IsValid(row))
        FRows[static_cast<size_t>(row)].Log.push_back(line);
}

const TProfileControls& TMemoryJobWindow::ProfileControls() const
{
    return Settings.Controls;
}

std::string TMemoryJobWindow::OutputFolderText() const
{
    return OutputFolder;
}

bool TMemoryJobWindow::OverwriteExisting() const
{
    return Overwrite;
}

int TMemoryJobWindow::ConversionVolume() const
{
    return Volume;
}

std::string TMemoryJobWindow::OutputExtension() const
{
    return Extension;
}

TBatchState& TMemoryJobWindow::Batch()
{
    return FBatch;
}

}  // namespace tavrin
