// One run of tavrin-convert over its files: the rows are listed and probed as the window
// lists them (ConvertBatch.cpp), then run by the batch of N rows at once, N = -j, one
// (ConvertParallel.cpp). Each row starts as soon as its lane's previous row has ended.
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
    bool Prepare();
    void ListRows();
    void ClearProgressCells();
    void ReportRow(int row, const std::string& status, const std::string& reason);
    int Outcome();
    void RequestStop(int signal);
    int StopSignal();
    void SayStopping();
    // Waits until a lane has something to apply, or a stop is asked when stopWakes; true
    // when a stop has been asked.
    bool WaitForEvent(bool stopWakes);
    std::string RowLabel(int row);

    void BindParallel();
    void ShowNotes(const TJobRecord& job);
    void DriveParallel();
    void StopParallel();
    void ShowRowProgress(int row, const TRowProgress& progress);
    void DropRowProgress(int row);

    const TConvertCommandLine& FLine;
    TConsole& FConsole;
    const bool FShowProgress;
    std::mutex FMutex;  // guards the stop signal and the wake flag
    std::condition_variable FChanged;
    std::vector<std::string> FOutputs;  // each started row's output file
    int FStopSignal = 0;
    int FNotedRow = -1;  // the last row whose notes were shown
    bool FWoken = false;
    std::map<int, std::string> FProgressLines;  // running rows
    TMemoryJobWindow FWindow;
    TFFmpegEngine FEngine;  // loads the codec libraries and probes the listed files
    TJobBuilder FBuilder{FWindow, FEngine};
    std::unique_ptr<TParallelBatch> FParallel;  // last: its lanes' handlers use all above
};

}  // namespace tavrin::cli
