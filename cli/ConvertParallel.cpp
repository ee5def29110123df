// tavrin-convert -j N: the batch that converts N rows at once. Its lanes' events wake the
// loop, which applies them on this thread as the window applies them on its UI thread.
#include "BatchDriver.h"
#include "ConvertBatchRun.h"
#include "RowText.h"

#include <chrono>

namespace tavrin::cli {

using namespace std::chrono;

void TBatchRun::BindParallel()
{
    FParallel->ForEachEngine([](TCustomFFmpegEngine& engine) { engine.SetLogLevel(llQuiet); });
    FParallel->OnWake = [this] {
        std::lock_guard lock(FMutex);
        FWoken = true;
        FChanged.notify_all();
    };
    FParallel->OnRowStarted = [this](int row, const TJobRecord& job) {
        {
            std::lock_guard lock(FMutex);
            FReports[static_cast<size_t>(row)].Output = job.OutputPath;
        }
        ShowNotes(job);
    };
    FParallel->OnRowProgress = [this](int row, const TRowProgress& p) { ShowRowProgress(row, p); };
    FParallel->OnRowEnded = [this](int row, const std::string&, const std::string& reason) {
        DropRowProgress(row);
        std::lock_guard lock(FMutex);
        FReports[static_cast<size_t>(row)].Reason = reason;
    };
}

// Start, then the driver timer until the batch has ended; events are applied as they come.
void TBatchRun::DriveParallel()
{
    ClearProgressCells();
    FParallel->Start();
    auto tick = steady_clock::now() + milliseconds(kDriverIntervalMs);
    while (!FWindow.DriverTimerStopped()) {
        const bool stop = WaitForTickOrEvent(tick);
        FParallel->Pump();
        ReportEndedRows();
        if (stop) {
            StopParallel();
            return;
        }
        if (steady_clock::now() >= tick) {
            FParallel->Tick();
            ReportEndedRows();
            tick += milliseconds(kDriverIntervalMs);
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
        WaitForTickOrEvent(steady_clock::now() + milliseconds(kDriverIntervalMs));
        FParallel->Pump();
        ReportEndedRows();
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
