#include "WindowJobView.h"

#include "Dialogs.h"
#include "JobBuilder.h"
#include "MainWindow.h"
#include "SourceList.h"

#include <QLineEdit>
#include <QProgressBar>
#include <QTimer>
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
    return form_.RowCount();
}

std::string TWindowJobView::RowCaption(int row) const
{
    return form_.Cell(row, scFileName).toStdString();
}

bool TWindowJobView::RowChecked(int row) const
{
    const QTreeWidgetItem* item = form_.Row(row);
    return item != nullptr && item->checkState(scFileName) == Qt::Checked;
}

std::string TWindowJobView::RowCell(int row, TRowColumn column) const
{
    return form_.Cell(row, ListColumn(column)).toStdString();
}

void TWindowJobView::SetRowCell(int row, TRowColumn column, const std::string& text)
{
    form_.SetCell(row, ListColumn(column), QString::fromStdString(text));
    // The builder marks a row it could not start; the row then says why.
    if (column == rcProgress && text == "Fail" && builder_ != nullptr)
        form_.SetRowFailure(row, QString::fromStdString(builder_->LastJob().FailText));
}

const TProfileControls& TWindowJobView::ProfileControls() const
{
    return form_.Controls();
}

std::string TWindowJobView::OutputFolderText() const
{
    return form_.EditOutputFolder->text().toStdString();
}

bool TWindowJobView::OverwriteExisting() const
{
    return form_.Options.Overwrite;
}

int TWindowJobView::ConversionVolume() const
{
    return form_.ConversionVolume;
}

std::string TWindowJobView::OutputExtension() const
{
    return form_.OutputExtension.toStdString();
}

TBatchState& TWindowJobView::Batch()
{
    return form_.Batch;
}

void TWindowJobView::SetProgressBar(int position)
{
    form_.ProgressBar1->setValue(position);
}

void TWindowJobView::StopDriverTimer()
{
    form_.TimerConvertAgain->stop();
}

void TWindowJobView::ShowInformation(const std::string& text)
{
    form_.Dialogs().Information(&form_, QString::fromStdString(text));
}

void TWindowJobView::EnableControls()
{
    form_.EnableControls();
}

void TWindowJobView::AddRowLog(int row, const std::string& line)
{
    form_.AppendRowLog(row, QString::fromStdString(line));
}

}  // namespace tavrin
