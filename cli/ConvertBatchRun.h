// One run of tavrin-convert over its files: the rows are listed and probed as the window
// lists them, then driven by the window's one-row batch (ConvertBatch.cpp) or, with -j N
// above 1, by the batch that runs N rows at once (ConvertParallel.cpp).
#pragma once

#include "Console.h"
#include "ConvertCommandLine.h"
#include "FFmpegEngine.h"
#include "JobBuilder.h"
#include "MemoryJobWindow.h"
#include "ParallelBatch.h"

#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace tavrin::cli {

class TBatchRun {
public:
    TBatchRun(const TConvertCommandLine& line, TConsole& console, bool showProgress);
    int Execute();

private:
    struct TRowReport {
        std::string Output;
        std::string Reason;
        bool Reported = false;
    };

    // Common to both drivers.
    bool Prepare();
    void ListRows();
    void ClearProgressCells();
    void ReportEndedRows();
    int Outcome();
    void RequestStop(int signal);
    int StopSignal();
    void SayStopping();
    // Waits until the next tick is due or something happened; true when a stop was asked.
    bool WaitForTickOrEvent(std::chrono::steady_clock::time_point tick);
    std::string RowLabel(int row);

    // The window's one-row batch.
    void BindEngine();
    void Drive();
    void RememberJob();
    void ShowNotes(const TJobRecord& job);
    void StopBatch();
    bool AllTasksEnded();

    // Several rows at once.
    void BindParallel();
    void DriveParallel();
    void StopParallel();
    void ShowRowProgress(int row, const TRowProgress& progress);
    void DropRowProgress(int row);

    const TConvertCommandLine& FLine;
    TConsole& FConsole;
    const bool FShowProgress;
    std::mutex FMutex;  // guards the reports, the stop signal and the wake flag
    std::condition_variable FChanged;
    std::vector<TRowReport> FReports;
    int FStopSignal = 0;
    int FNotedRow = -1;  // the last row whose notes were shown
    bool FWoken = false;
    std::map<int, std::string> FProgressLines;  // running rows of the parallel batch
    TMemoryJobWindow FWindow;
    TFFmpegEngine FEngine;  // after what its handlers use, so that it goes first
    TJobBuilder FBuilder{FWindow, FEngine};
    std::unique_ptr<TParallelBatch> FParallel;  // last: its lanes' handlers use all above
};

}  // namespace tavrin::cli
