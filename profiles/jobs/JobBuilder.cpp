#include "jobs/JobBuilder.h"

#include "AVProbe.h"
#include "catalogue/Catalogue.h"
#include "FFmpegEngine.h"
#include "jobs/JobValues.h"
#include "catalogue/OutputFormat.h"
#include "fit/OutputFit.h"
#include "jobs/RowText.h"
#include "catalogue/SettingText.h"
#include "jobs/SourceKind.h"

#include <fstream>
#include <stdexcept>
#include <system_error>

namespace tavrin {

namespace fs = std::filesystem;

namespace {

constexpr const char* kCompletedText = "All Conversions Completed";

// Removes the scripts of earlier jobs; a folder that is missing or unreadable is no error.
void DeleteScriptsIn(const fs::path& folder)
{
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        std::error_code ignored;
        if (it->path().extension() == ".avs" && it->is_regular_file(ignored))
            fs::remove(it->path(), ignored);
    }
}

std::string OutputBase(const std::string& source, const std::string& folderText)
{
    return folderText + "/" + fs::path(source).stem().string();
}

// True when the linked libraries can read AviSynth scripts.
bool LibrariesReadAviSynth()
{
    return TAVProbe::HasInputFormat("avisynth");
}

}  // namespace

fs::path DefaultScriptFolder()
{
    std::error_code error;
    fs::path temp = fs::temp_directory_path(error);
    if (error)
        temp = "/tmp";
    return temp / "$$7777a";
}

fs::path ProgramFolder()
{
    std::error_code error;
    const fs::path program = fs::read_symlink("/proc/self/exe", error);
    return error ? fs::current_path(error) : program.parent_path();
}

std::string AviSynthScriptText(const fs::path& programFolder, const std::string& sourcePath)
{
    const std::string plugin = (programFolder / "DirectShowSource.dll").string();
    return "LoadPlugin(\"" + plugin + "\")\r\n" + "DirectShowSource(\"" + sourcePath +
           "\", fps=25, convertfps=true)\r\n";
}

bool IsRealMediaVbr(const std::string& sourcePath)
{
    return LowerCase(fs::path(sourcePath).extension().string()) == ".rmvb";
}

TJobBuilder::TJobBuilder(TJobWindow& window, TCustomFFmpegEngine& engine)
    : FWindow(window), FEngine(engine), FLedger(std::make_shared<TOutputLedger>()),
      FScriptFolder(DefaultScriptFolder()), FProgramFolder(ProgramFolder())
{
}

TJobBuilder::TJobBuilder(const TJobBuilder& settings, TCustomFFmpegEngine& engine)
    : FWindow(settings.FWindow), FEngine(engine), FLedger(settings.FLedger),
      FScriptFolder(settings.FScriptFolder),
      FProgramFolder(settings.FProgramFolder), FScriptInput(settings.FScriptInput)
{
}

void TJobBuilder::DeleteOldScripts() const
{
    DeleteScriptsIn(FScriptFolder);
}

bool TJobBuilder::UseScriptInput()
{
    if (!FScriptInput)
        FScriptInput = LibrariesReadAviSynth();
    return *FScriptInput;
}

void TJobBuilder::BeginBatch()
{
    ReleaseOutput();
    FLedger->BeginBatch();
}

void TJobBuilder::ReleaseOutput()
{
    FLedger->Release(FClaim);
}

void TJobBuilder::BuildNextJob()
{
    TBatchState& batch = FWindow.Batch();
    FEngine.StopTasks();
    FEngine.ClearTaskList();
    ReleaseOutput();
    FWindow.SetProgressBar(0);
    DeleteOldScripts();
    const std::string extension = OutputExtension(FWindow.OutputExtension());
    batch.IsLastRow = false;
    batch.BatchFinished = false;
    FEngine.ClearTaskList();

    FLastJob = TJobRecord{};
    FLastJob.Row = SelectNextRow();
    if (FLastJob.Row >= 0 && FWindow.RowChecked(FLastJob.Row)) {
        FWindow.RowStarting(FLastJob.Row);
        std::string reason;
        switch (PrepareTask(extension, reason)) {
        case TPrepared::ok:
            break;
        case TPrepared::refused:
            FailRow(reason);
            return;
        case TPrepared::unexpected:
            FailUnexpectedly(reason);
            break;
        }
    } else {
        // Only an unchecked last row (or a list emptied under the batch) gets here.
        batch.Converting = false;
        batch.IdleTicks = 0;
    }
    StartTask();
    if (batch.IsLastRow)
        batch.BatchFinished = true;
}

int TJobBuilder::SelectNextRow()
{
    TBatchState& batch = FWindow.Batch();
    const int count = FWindow.RowCount();
    int row = batch.CurrentRow + 1;
    while (row < count - 1 && !FWindow.RowChecked(row))
        ++row;
    batch.CurrentRow = row;
    batch.IsLastRow = row >= count - 1;
    return row < count ? row : -1;
}

bool TJobBuilder::StartRow(int row)
{
    FEngine.StopTasks();
    FEngine.ClearTaskList();
    ReleaseOutput();
    FLastJob = TJobRecord{};
    FLastJob.Row = row;
    FWindow.RowStarting(row);
    std::string reason;
    if (PrepareTask(OutputExtension(FWindow.OutputExtension()), reason) != TPrepared::ok) {
        FLastJob.FailText = reason;
        FWindow.SetRowCell(row, rcProgress, "Fail");
        return false;
    }
    try {
        FEngine.StartTasks(1);
    } catch (const std::exception& e) {
        FEngine.StopTasks();
        FEngine.ClearTaskList();
        FLastJob.FailText = e.what();
        FWindow.SetRowCell(row, rcProgress, "Fail");
        return false;
    }
    FLastJob.Started = true;
    return true;
}

std::string TJobBuilder::OutputPathOf(int row) const
{
    return FLedger->Predict(OutputBase(std::string(TrimText(FWindow.RowCaption(row))),
                                       FWindow.OutputFolderText()),
                            OutputExtension(FWindow.OutputExtension()), FWindow.OverwriteExisting(),
                            RowSources());
}

std::vector<std::string> TJobBuilder::RowSources() const
{
    std::vector<std::string> sources;
    sources.reserve(static_cast<size_t>(FWindow.RowCount()));
    for (int row = 0; row < FWindow.RowCount(); ++row)
        sources.emplace_back(TrimText(FWindow.RowCaption(row)));
    return sources;
}

// The row's task added and given its output. A task that could not be set up is removed
// again: a stopped task would still report its own end, and that report would turn the
// row's "Fail" into "Done".
TJobBuilder::TPrepared TJobBuilder::PrepareTask(const std::string& extension, std::string& reason)
{
    const int row = FLastJob.Row;
    try {
        FLastJob.SourcePath = std::string(TrimText(FWindow.RowCaption(row)));
        // A pipe or a device would hang the reader or lose what it had read.
        reason = SourceRefusal(FLastJob.SourcePath);
        if (!reason.empty())
            return TPrepared::refused;
        // The name it would get, for the record; it is claimed once the input has opened.
        FLastJob.OutputPath = OutputPathOf(row);
        FLastJob.InputPath = InputPathFor(row);

        TInputOptions input;
        ResetInputOptions(input);
        input.FileName = FLastJob.InputPath;
        input.StartTime = 0;
        FLastJob.TaskIndex = FEngine.AddInputTask(FLastJob.InputPath, &input);
        if (FLastJob.TaskIndex < 0) {
            reason = FEngine.LastErrorText();
            return TPrepared::refused;
        }

        FillOutputOptions(row);
        FClaim = FLedger->Claim(OutputBase(FLastJob.SourcePath, FWindow.OutputFolderText()),
                                extension, FWindow.OverwriteExisting(), RowSources());
        FLastJob.OutputPath = FClaim.Path();
        if (!FEngine.SetTaskOutput(FLastJob.TaskIndex, FLastJob.OutputPath, &FOutputOptions)) {
            reason = FEngine.LastErrorText();
            FEngine.RemoveTaskAt(FLastJob.TaskIndex);
            FLastJob.TaskIndex = -1;
            ReleaseOutput();
            return TPrepared::refused;
        }
    } catch (const std::exception& e) {
        reason = e.what();
        if (FLastJob.TaskIndex >= 0) {
            FEngine.RemoveTaskAt(FLastJob.TaskIndex);
            FLastJob.TaskIndex = -1;
        }
        return TPrepared::unexpected;
    }
    return TPrepared::ok;
}

std::string TJobBuilder::InputPathFor(int row)
{
    if (!IsRealMediaVbr(FLastJob.SourcePath))
        return FLastJob.SourcePath;
    FWindow.SetRowCell(row, rcProgress, "Loading");
    std::error_code ignored;
    fs::create_directories(FScriptFolder, ignored);
    FLastJob.ScriptPath = UniqueFileName((FScriptFolder / "r").string(), ".avs");
    std::ofstream script(FLastJob.ScriptPath, std::ios::binary | std::ios::trunc);
    script << AviSynthScriptText(FProgramFolder, FLastJob.SourcePath);
    script.close();
    const bool useScript = UseScriptInput();
    // The script only matters when the engine reads it.
    if (!script && useScript)
        throw std::runtime_error("cannot write the script " + FLastJob.ScriptPath);
    return useScript ? FLastJob.ScriptPath : FLastJob.SourcePath;
}

void TJobBuilder::FillOutputOptions(int row)
{
    const TProfileControls& controls = FWindow.ProfileControls();
    ResetOutputOptions(FOutputOptions);
    FOutputOptions.FrameRate = FrameRateText(controls.ComboVideoFramerate);
    if (!ApplyProfileSettings(controls, FOutputOptions))
        throw std::runtime_error("no output profile is selected");
    FOutputOptions.AudioVolume = FWindow.ConversionVolume();
    if (auto aspect = AspectRatioFor(controls.ComboAspectRatio.ItemIndex(),
                                     FWindow.RowCell(row, rcVideoSize)))
        FOutputOptions.AspectRatio = *aspect;
    const int32_t limit = TimeLimitFor(FWindow.RowCell(row, rcDuration));
    if (limit >= 0)
        FOutputOptions.TimeLimit = limit;
    FitToEncodersAndDevice(row);
}

// Settings the encoder cannot take, the letterbox and the device's limits; each change and
// each choice beyond the device goes to the row's log.
void TJobBuilder::FitToEncodersAndDevice(int row)
{
    const TProfileControls& controls = FWindow.ProfileControls();
    const TProfileRecord* profile = FindProfile(controls.ComboOutputFormat.Text());
    TFitRequest request;
    request.Kind = profile ? profile->Kind : -1;
    request.LetterBox = controls.ComboLetterBox.Text() == "LetterBox";
    request.AspectIndex = controls.ComboAspectRatio.ItemIndex();
    request.VideoSizeCell = FWindow.RowCell(row, rcVideoSize);
    FLastJob.Notes = FitOutputOptions(request, FOutputOptions);
    for (const std::string& note : FLastJob.Notes)
        FWindow.AddRowLog(row, note);
}

bool TJobBuilder::FailRow(const std::string& reason)
{
    TBatchState& batch = FWindow.Batch();
    FLastJob.FailText = reason;
    FWindow.SetRowCell(FLastJob.Row, rcProgress, "Fail");
    if (batch.IsLastRow) {
        FWindow.StopDriverTimer();
        FWindow.ShowInformation(kCompletedText);
        FEngine.StopTasks();
        FWindow.SetProgressBar(0);
        FWindow.EnableControls();
        batch.Converting = false;
        batch.BatchFinished = true;
    } else {
        batch.IdleTicks = 0;
        batch.Converting = false;
    }
    return false;
}

void TJobBuilder::FailUnexpectedly(const std::string& reason)
{
    TBatchState& batch = FWindow.Batch();
    FLastJob.FailText = reason;
    FWindow.SetRowCell(FLastJob.Row, rcProgress, "Fail");
    FEngine.StopTasks();
    FWindow.SetProgressBar(0);
    batch.IdleTicks = 0;
    batch.Converting = false;
}

void TJobBuilder::StartTask()
{
    try {
        FEngine.StartTasks(1);
        FLastJob.Started = FLastJob.TaskIndex >= 0;
    } catch (const std::exception&) {
        FEngine.StopTasks();
        FWindow.EnableControls();
    }
}

}  // namespace tavrin
