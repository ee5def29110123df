#include "ConvertBatch.h"

#include "BatchDriver.h"
#include "ConvertBatchRun.h"
#include "ConvertSettings.h"
#include "RowProbe.h"
#include "SignalWatch.h"

#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

namespace tavrin::cli {
namespace {

using namespace std::chrono;

bool IsEndStatus(const std::string& status)
{
    return status == "Done" || status == "Fail" || status == "Abort";
}

// The row's listing line: what the probe found, as the window's cells show it.
std::string ListingLine(const std::string& path, const TRowCells& cells)
{
    if (cells.Progress == "Error")
        return path + ": Error (" + (cells.Reason.empty() ? "not readable as media" : cells.Reason) + ")";
    const std::string picture =
        cells.VideoSize == " " ? "audio only" : cells.VideoSize + ", " + cells.FrameRate + " fps";
    return path + ": " + picture + ", " + cells.Duration;
}

}  // namespace

TBatchRun::TBatchRun(const TConvertCommandLine& line, TConsole& console, bool showProgress)
    : FLine(line), FConsole(console), FShowProgress(showProgress)
{
}

int TBatchRun::Execute()
{
    ApplyConvertSettings(FLine, FWindow);
    TSignalWatch watch([this](int signal) { RequestStop(signal); });
    if (!Prepare())
        return kConvertSomeFailed;
    ListRows();
    if (StopSignal() == 0) {
        if (FParallel)
            DriveParallel();
        else
            Drive();
    }
    ReportEndedRows();
    return Outcome();
}

bool TBatchRun::Prepare()
{
    FEngine.SetLogLevel(llQuiet);
    if (!FEngine.LoadCodecLibraries("", true)) {
        FConsole.Line("tavrin-convert: cannot load the codec libraries: " + FEngine.LastErrorText());
        return false;
    }
    std::error_code error;
    std::filesystem::create_directories(FLine.OutputFolder, error);
    if (!std::filesystem::is_directory(FLine.OutputFolder)) {
        FConsole.Line("tavrin-convert: cannot make the output folder \"" + FLine.OutputFolder +
                      "\": " + error.message());
        return false;
    }
    if (FLine.Jobs > 1) {
        FParallel = std::make_unique<TParallelBatch>(FWindow, FBuilder, FLine.Jobs);
        BindParallel();
    } else {
        BindEngine();
    }
    return true;
}

void TBatchRun::ListRows()
{
    FReports.resize(FLine.Files.size());
    for (const std::string& path : FLine.Files) {
        const int row = FWindow.AddRow(path);
        const TRowCells cells = ProbeRowCells(FEngine.AVProbe(), path, FWindow.Extension);
        FWindow.SetRowCell(row, rcVideoSize, cells.VideoSize);
        FWindow.SetRowCell(row, rcFrameRate, cells.FrameRate);
        FWindow.SetRowCell(row, rcDuration, cells.Duration);
        FWindow.SetRowCell(row, rcOutput, cells.Output);
        FConsole.Line(ListingLine(path, cells));
    }
}

void TBatchRun::ClearProgressCells()
{
    for (int row = 0; row < FWindow.RowCount(); ++row)
        FWindow.SetRowCell(row, rcProgress, "");
}

// "[2/4] /path/clip.avi"
std::string TBatchRun::RowLabel(int row)
{
    return "[" + std::to_string(row + 1) + "/" + std::to_string(FWindow.RowCount()) + "] " +
           FWindow.RowCaption(row);
}

void TBatchRun::BindEngine()
{
    FEngine.OnProgress = [this](int, int frame, int fps, int ms, float quality, float bitrate,
                                int64_t size, int totalMs) {
        const int row = FWindow.Batch().CurrentRow;
        if (const std::string percent = ProgressCellText(ms, totalMs); !percent.empty())
            FWindow.SetRowCell(row, rcProgress, percent);
        FWindow.SetRowCell(row, rcFrames, FramesCellText(frame));
        if (FShowProgress)
            FConsole.Progress(RowLabel(row) + "  " +
                              FormatProgress({frame, fps, ms, quality, bitrate, size, totalMs}));
    };
    FEngine.OnTerminate = [this](int index, bool, bool exception, const std::string& message) {
        if (index >= 0) {
            std::lock_guard lock(FMutex);
            const int row = FWindow.Batch().CurrentRow;
            if (row >= 0 && row < static_cast<int>(FReports.size()))
                FReports[static_cast<size_t>(row)].Reason = message;
        }
        TaskTerminated(FWindow, FEngine, index, exception);
        FChanged.notify_all();
    };
}

bool TBatchRun::WaitForTickOrEvent(steady_clock::time_point tick)
{
    std::unique_lock lock(FMutex);
    FChanged.wait_until(lock, tick, [this] { return FStopSignal != 0 || FWoken; });
    FWoken = false;
    return FStopSignal != 0;
}

// The window's batch: Start, then the driver timer until it stops itself.
void TBatchRun::Drive()
{
    ClearProgressCells();
    StartBatch(FWindow, FBuilder, FEngine);
    RememberJob();
    auto tick = steady_clock::now() + milliseconds(kDriverIntervalMs);
    while (!FWindow.DriverTimerStopped()) {
        const bool stop = WaitForTickOrEvent(tick);
        ReportEndedRows();
        if (stop) {
            StopBatch();
            return;
        }
        if (steady_clock::now() >= tick) {
            DriverTimerTick(FWindow, FBuilder, FEngine);
            RememberJob();
            tick += milliseconds(kDriverIntervalMs);
        }
    }
}

// What the builder did for its row: the output name, and why the row failed if it did.
void TBatchRun::RememberJob()
{
    const TJobRecord& job = FBuilder.LastJob();
    if (job.Row < 0 || job.Row >= static_cast<int>(FReports.size()))
        return;
    {
        std::lock_guard lock(FMutex);
        TRowReport& report = FReports[static_cast<size_t>(job.Row)];
        report.Output = job.OutputPath;
        report.Reason = job.FailText;
    }
    ShowNotes(job);
}

// What the builder noted about the row's settings, once per row.
void TBatchRun::ShowNotes(const TJobRecord& job)
{
    if (job.Row == FNotedRow)
        return;
    FNotedRow = job.Row;
    for (const std::string& note : job.Notes) {
        FConsole.Progress("");
        FConsole.Line("Note   " + FWindow.RowCaption(job.Row) + ": " + note);
    }
}

void TBatchRun::SayStopping()
{
    FConsole.Progress("");
    FConsole.Line("tavrin-convert: stopping, finishing the current output (press Ctrl+C again to quit at once)");
}

// The window's Stop, confirmed by the signal: the running task is stopped and its output
// finished before the program ends.
void TBatchRun::StopBatch()
{
    SayStopping();
    TBatchState& batch = FWindow.Batch();
    if (batch.Converting)
        batch.UserAborted = true;
    batch.BatchFinished = true;
    FWindow.StopDriverTimer();
    FEngine.StopTasks();
    FWindow.SetProgressBar(0);
    FWindow.EnableControls();
    batch.Converting = false;
    while (!AllTasksEnded())
        std::this_thread::sleep_for(milliseconds(20));
}

bool TBatchRun::AllTasksEnded()
{
    for (const auto& task : FEngine.Tasks().Snapshot())
        if (!task->Terminated)
            return false;
    return true;
}

void TBatchRun::ReportEndedRows()
{
    for (int row = 0; row < FWindow.RowCount(); ++row) {
        const std::string status = FWindow.RowCell(row, rcProgress);
        std::unique_lock lock(FMutex);
        TRowReport& report = FReports[static_cast<size_t>(row)];
        if (report.Reported || !IsEndStatus(status))
            continue;
        report.Reported = true;
        const std::string path = FWindow.RowCaption(row);
        std::string text = status == "Fail"
                               ? "Fail   " + path + ": " +
                                     (report.Reason.empty() ? "conversion failed" : report.Reason)
                               : (status == "Done" ? "Done   " : "Abort  ") + path + " -> " + report.Output;
        lock.unlock();
        FConsole.Progress("");
        FConsole.Line(text);
    }
}

int TBatchRun::Outcome()
{
    int done = 0, failed = 0, aborted = 0;
    for (int row = 0; row < FWindow.RowCount(); ++row) {
        const std::string status = FWindow.RowCell(row, rcProgress);
        done += status == "Done";
        failed += status == "Fail";
        aborted += status == "Abort";
    }
    const int files = FWindow.RowCount();
    FConsole.Line(std::to_string(files) + (files == 1 ? " file: " : " files: ") +
                  std::to_string(done) + " done, " + std::to_string(failed) + " failed" +
                  (aborted ? ", " + std::to_string(aborted) + " aborted" : ""));
    if (const int signal = StopSignal())
        return 128 + signal;
    return done == files ? kConvertAllDone : kConvertSomeFailed;
}

// A first signal asks the batch to stop; a second one leaves at once.
void TBatchRun::RequestStop(int signal)
{
    {
        std::lock_guard lock(FMutex);
        if (FStopSignal == 0) {
            FStopSignal = signal;
            FChanged.notify_all();
            return;
        }
    }
    FConsole.Progress("");
    FConsole.Line("tavrin-convert: stopped without finishing the output");
    _exit(128 + signal);
}

int TBatchRun::StopSignal()
{
    std::lock_guard lock(FMutex);
    return FStopSignal;
}

int ConvertFiles(const TConvertCommandLine& line, TConsole& console, bool showProgress)
{
    return TBatchRun(line, console, showProgress).Execute();
}

}  // namespace tavrin::cli
