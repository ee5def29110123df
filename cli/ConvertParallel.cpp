// tavrin-convert -j N: the batch that converts N rows at once (one row after another for
// N = 1). Its lanes' events wake the loop, which applies them on this thread as the window
// applies them on its UI thread; a lane whose row has ended takes the next row right
// there, so nothing waits for a timer between rows.
#include "ConvertBatchRun.h"
#include "RowText.h"

namespace tavrin::cli {

void TBatchRun::BindParallel()
{
    FParallel->ForEachEngine([](TCustomFFmpegEngine& engine) { engine.SetLogLevel(llQuiet); });
    FParallel->OnWake = [this] {
        std::lock_guard lock(FMutex);
        FWoken = true;
        FChanged.notify_all();
    };
    FParallel->OnRowStarted = [this](int row, const TJobRecord& job) {
        FOutputs[static_cast<size_t>(row)] = job.OutputPath;
        ShowNotes(job);
    };
    FParallel->OnRowProgress = [this](int row, const TRowProgress& p) { ShowRowProgress(row, p); };
    FParallel->OnRowEnded = [this](int row, const std::string& status, const std::string& reason) {
        DropRowProgress(row);
        ReportRow(row, status, reason);
    };
}

// Start, then the lanes' events as they come until the batch has ended.
void TBatchRun::DriveParallel()
{
    ClearProgressCells();
    FParallel->Start();
    while (!FWindow.DriverTimerStopped()) {
        const bool stop = WaitForEvent(true);
        FParallel->Pump();
        if (stop) {
            StopParallel();
            return;
        }
    }
}

// Stop, confirmed by the signal: every running row is stopped and its output finished;
// the loop goes on applying events until each has reported its end.
void TBatchRun::StopParallel()
{
    SayStopping();
    FParallel->Stop();
    while (FParallel->Busy()) {
        WaitForEvent(false);
        FParallel->Pump();
    }
}

void TBatchRun::ShowRowProgress(int row, const TRowProgress& p)
{
    if (!FShowProgress)
        return;
    FProgressLines[row] = RowLabel(row) + "  " +
                          FormatProgress({p.Frame, p.Fps, p.CurrentMs, p.Quality, p.BitRate,
                                          p.Size, p.TotalMs});
    std::vector<std::string> lines;
    for (const auto& [_, line] : FProgressLines)
        lines.push_back(line);
    FConsole.Progress(lines);
}

void TBatchRun::DropRowProgress(int row)
{
    FProgressLines.erase(row);
}

}  // namespace tavrin::cli
