// The job builder: turns the next checked row of the source list plus the window's current
// settings into one engine task and starts it. The batch driver calls BuildNextJob once at
// Start and then each time the previous task has ended; a batch is a chain of one-task runs.
#pragma once

#include "jobs/JobWindow.h"
#include "jobs/OutputClaim.h"
#include "OptionRecords.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tavrin {

class TCustomFFmpegEngine;

// What the last BuildNextJob call did, for the command line's report and for tests.
struct TJobRecord {
    int Row = -1;              // the row it settled on
    std::string SourcePath;    // the trimmed caption
    std::string InputPath;     // what the engine was given: the source or a script
    std::string ScriptPath;    // the wrapper script written for an .rmvb source, or ""
    std::string OutputPath;
    int TaskIndex = -1;        // the engine task, -1 when none was added
    bool Started = false;      // the task was handed to StartTasks
    std::string FailText;      // why the row was marked "Fail", "" when it was not
    std::vector<std::string> Notes;  // the lines written to the row's log
};

// The folder that holds the generated wrapper scripts: "$$7777a" in the system temp folder.
std::filesystem::path DefaultScriptFolder();
// The running program's folder, where the wrapper script expects its reader plug-in.
std::filesystem::path ProgramFolder();
// The two-line wrapper script for an .rmvb source, each line ended by CR LF.
std::string AviSynthScriptText(const std::filesystem::path& programFolder,
                               const std::string& sourcePath);
// True for a source that goes through a wrapper script (".rmvb" in any case).
bool IsRealMediaVbr(const std::string& sourcePath);

class TJobBuilder {
public:
    TJobBuilder(TJobWindow& window, TCustomFFmpegEngine& engine);
    // A builder for another engine with the script settings of settings.
    TJobBuilder(const TJobBuilder& settings, TCustomFFmpegEngine& engine);

    // One row per call; see the batch driver for how the calls are paced. Runs on the
    // driver's thread (the UI thread in the window).
    void BuildNextJob();

    // For a batch that runs several rows at once, one builder per engine: builds the row's
    // task and starts it, leaving the batch's cursor and flags alone. False when the row
    // could not be started: its "Progress" cell then reads "Fail" and LastJob().FailText
    // says why.
    bool StartRow(int row);
    // The output path the row gets if it is started now.
    std::string OutputPathOf(int row) const;
    // A new batch: the output names of earlier batches may be replaced again (with
    // overwriting on); within the batch no row replaces another row's output.
    void BeginBatch();
    // Gives up the claim on the last row's output; call it once that row's task has ended.
    // Starting the next row does it too.
    void ReleaseOutput();
    // Deletes the wrapper scripts of earlier jobs (BuildNextJob does it for every row).
    void DeleteOldScripts() const;

    const TJobRecord& LastJob() const { return FLastJob; }
    // The output record of the last job that got as far as filling it.
    const TOutputOptions& OutputOptions() const { return FOutputOptions; }

    const std::filesystem::path& ScriptFolder() const { return FScriptFolder; }
    void SetScriptFolder(std::filesystem::path folder) { FScriptFolder = std::move(folder); }
    void SetProgramFolder(std::filesystem::path folder) { FProgramFolder = std::move(folder); }
    // Whether the engine is given the wrapper script (true) or the .rmvb itself (false).
    // By default the linked libraries decide: the script only when they read "avisynth".
    void SetScriptInput(std::optional<bool> useScript) { FScriptInput = useScript; }

private:
    enum class TPrepared { ok, refused, unexpected };

    int SelectNextRow();
    TPrepared PrepareTask(const std::string& extension, std::string& reason);
    std::string InputPathFor(int row);
    void FillOutputOptions(int row);
    void FitToEncodersAndDevice(int row);
    bool FailRow(const std::string& reason);
    void FailUnexpectedly(const std::string& reason);
    void StartTask();
    bool UseScriptInput();
    std::vector<std::string> RowSources() const;

    TJobWindow& FWindow;
    TCustomFFmpegEngine& FEngine;
    TOutputOptions FOutputOptions;
    TJobRecord FLastJob;
    std::shared_ptr<TOutputLedger> FLedger;  // shared with the builders made from this one
    TOutputClaim FClaim;                     // the last row's output, held while it runs
    std::filesystem::path FScriptFolder;
    std::filesystem::path FProgramFolder;
    std::optional<bool> FScriptInput;
};

}  // namespace tavrin
