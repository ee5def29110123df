#include "jobs/BatchDriver.h"

#include "FFmpegEngine.h"
#include "jobs/RowText.h"

namespace tavrin {

void StartBatch(TJobWindow& window, TJobBuilder& builder, TCustomFFmpegEngine& engine)
{
    TBatchState& batch = window.Batch();
    batch.Converting = true;
    batch.UserAborted = false;
    engine.ClearTaskList();
    batch.CurrentRow = -1;
    builder.BeginBatch();
    builder.BuildNextJob();
}

void DriverTimerTick(TJobWindow& window, TJobBuilder& builder, TCustomFFmpegEngine& engine)
{
    TBatchState& batch = window.Batch();
    if (batch.Converting)
        return;
    if (batch.BatchFinished) {
        window.StopDriverTimer();
        engine.ClearTaskList();
        builder.ReleaseOutput();
        window.ShowInformation("All Conversions Completed");
        window.SetProgressBar(0);
        window.EnableControls();
        batch.Converting = false;
        return;
    }
    if (++batch.IdleTicks >= 2) {
        batch.IdleTicks = 0;
        batch.Converting = true;
        builder.BuildNextJob();
    }
}

void TaskTerminated(TJobWindow& window, TCustomFFmpegEngine& engine, int index, bool exception)
{
    TBatchState& batch = window.Batch();
    batch.Converting = false;
    if (index >= 0)
        window.SetRowCell(batch.CurrentRow, rcProgress, EndStatusText(exception, batch.UserAborted));
    if (batch.BatchFinished && index < 0) {
        engine.ClearTaskList();
        window.SetProgressBar(0);
        batch.Converting = false;
    }
}

}  // namespace tavrin
