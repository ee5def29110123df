// What the window shows of the whole batch: its progress over all its rows, one speed and
// time left, and at its end what became of its rows, in the status bar and the final box.
#include "batch/BatchPart.h"

#include "batch/WindowJobView.h"
#include "dialogs/Dialogs.h"
#include "list/ListPart.h"
#include "list/SourceList.h"
#include "util/StatusBar.h"

#include <QLabel>
#include <QProgressBar>
#include <QTreeWidgetItem>

namespace tavrin {

bool TBatchPart::AnyRowChecked() const
{
    for (int row = 0; row < with_.List.RowCount(); ++row)
        if (with_.List.Row(row)->checkState(scFileName) == Qt::Checked)
            return true;
    return false;
}

void TBatchPart::RowStarting(int row)
{
    rowShares_[row] = TRowShare{DurationCellMs(with_.List.Cell(row, scDuration).toStdString())};
    // The size shown is the file being written; the row before has ended.
    with_.Status.Panel(1)->clear();
}

void TBatchPart::RowEnded(int row)
{
    if (auto share = rowShares_.find(row); share != rowShares_.end())
        share->second.Ended = true;
    // The speed and time left wait for the next row's reports.
    if (running_)
        ProgressBar1->setValue(BatchPercent(BatchRows()));
}

void TBatchPart::SetRowDone(int row, int64_t doneMs)
{
    if (auto share = rowShares_.find(row); share != rowShares_.end())
        share->second.DoneMs = doneMs;
}

// The rows taken so far and the checked rows the batch has not reached yet; a row checked
// or unchecked meanwhile counts as the driver will find it.
std::vector<TRowShare> TBatchPart::BatchRows() const
{
    std::vector<TRowShare> rows;
    for (const auto& [row, share] : rowShares_)
        rows.push_back(share);
    for (int row = batch_.CurrentRow + 1; row < with_.List.RowCount(); ++row)
        if (!rowShares_.contains(row) &&
            with_.List.Row(row)->checkState(scFileName) == Qt::Checked)
            rows.push_back(
                TRowShare{DurationCellMs(with_.List.Cell(row, scDuration).toStdString())});
    return rows;
}

// A row the batch took that has no end mark yet was stopped with the batch.
TBatchTally TBatchPart::Tally() const
{
    TBatchTally tally;
    for (const auto& entry : rowShares_) {
        const QString status = with_.List.Cell(entry.first, scProgress);
        if (status == QLatin1String("Done"))
            ++tally.Done;
        else if (status == QLatin1String("Fail"))
            ++tally.Failed;
        else
            ++tally.Stopped;
    }
    return tally;
}

void TBatchPart::ShowBatchProgress()
{
    const std::vector<TRowShare> rows = BatchRows();
    ProgressBar1->setValue(BatchPercent(rows));
    if (const auto pace = BatchPace(rows, batchClock_.elapsed()))
        with_.Status.Panel(0)->setText(QString::fromStdString(PaceText(*pace)));
}

void TBatchPart::ShowBatchOutcome()
{
    const QString outcome = QString::fromStdString(BatchOutcomeText(Tally()));
    ShowEndOfBatch(outcome);
    with_.Dialogs.Information(&with_.Window, outcome);
}

// Nothing of a task that has ended stays: no speed, no size, only what the batch did.
void TBatchPart::ShowEndOfBatch(const QString& outcome)
{
    running_ = false;
    with_.Status.Panel(0)->setText(QStringLiteral("Ready"));
    with_.Status.Panel(1)->setText(outcome);
}

}  // namespace tavrin
