#include "ConvertBatch.h"

#include "ConvertBatchRun.h"
#include "ConvertSettings.h"
#include "RowProbe.h"
#include "SignalWatch.h"

#include <unistd.h>

#include <filesystem>

namespace tavrin::cli {
namespace {

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
    if (StopSignal() == 0)
        DriveParallel();
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
    FParallel = std::make_unique<TParallelBatch>(FWindow, FBuilder, FLine.Jobs);
    BindParallel();
    return true;
}

void TBatchRun::ListRows()
{
    FOutputs.resize(FLine.Files.size());
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

bool TBatchRun::WaitForEvent(bool stopWakes)
{
    std::unique_lock lock(FMutex);
    FChanged.wait(lock, [&] { return FWoken || (stopWakes && FStopSignal != 0); });
    FWoken = false;
    return FStopSignal != 0;
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

// The row's end line, written before its lane takes the next row.
void TBatchRun::ReportRow(int row, const std::string& status, const std::string& reason)
{
    const std::string path = FWindow.RowCaption(row);
    const std::string& output = FOutputs[static_cast<size_t>(row)];
    const std::string text =
        status == "Fail" ? "Fail   " + path + ": " + (reason.empty() ? "conversion failed" : reason)
                         : (status == "Done" ? "Done   " : "Abort  ") + path + " -> " + output;
    FConsole.Progress("");
    FConsole.Line(text);
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
