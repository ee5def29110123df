// What the job builder sees of the main window. The window implements it over its widgets;
// tests and the command line implement it in memory (TMemoryJobWindow). The builder calls
// every member on the thread that runs the batch driver (the UI thread in the window).
//
// Source list:
//   RowCount, RowCaption (the full source path), RowChecked (the row's check box),
//   RowCell / SetRowCell (the sub-items after the caption, see TRowColumn; the builder
//   reads "Video Size" and "Duration" and writes only "Progress").
// Settings:
//   ProfileControls (the setting combos, ComboAspectRatio's index included),
//   OutputFolderText (EditOutputFolder's text as it stands), OverwriteExisting (the options
//   dialog's CheckBoxOverWrite), ConversionVolume (from the volume track bar),
//   OutputExtension (the selected profile's key, "MP4").
// Batch flags:
//   Batch (Converting, UserAborted, CurrentRow, IsLastRow, BatchFinished, IdleTicks).
// Effects:
//   SetProgressBar (ProgressBar1's position), StopDriverTimer (disables
//   TimerConvertAgain), ShowInformation (a message box titled "Information" with the
//   information icon and this text), EnableControls (the window's EnableControls),
//   AddRowLog (one line for the row's log: a setting the builder changed so that the
//   encoder takes it, or a choice beyond what the profile's device plays).
#pragma once

#include "jobs/BatchState.h"
#include "catalogue/ProfileControls.h"

#include <string>

namespace tavrin {

// Sub-item positions of a source list row; the caption comes before them.
enum TRowColumn {
    rcVideoSize = 0,
    rcFrameRate = 1,
    rcDuration = 2,
    rcOutput = 3,
    rcProgress = 4,
    rcFrames = 5,
};
inline constexpr int kRowColumnCount = 6;

// Every member of a job window, written once: TJobWindow declares them pure with
// TAVRIN_JOB_WINDOW_MEMBERS(= 0) and each window its own with
// TAVRIN_JOB_WINDOW_MEMBERS(override). Grouped as described above.
#define TAVRIN_JOB_WINDOW_MEMBERS(...)                                                   \
    virtual int RowCount() const __VA_ARGS__;                                            \
    virtual std::string RowCaption(int row) const __VA_ARGS__;                           \
    virtual bool RowChecked(int row) const __VA_ARGS__;                                  \
    virtual std::string RowCell(int row, TRowColumn column) const __VA_ARGS__;           \
    virtual void SetRowCell(int row, TRowColumn column, const std::string& text)         \
        __VA_ARGS__;                                                                     \
                                                                                         \
    virtual const TProfileControls& ProfileControls() const __VA_ARGS__;                 \
    virtual std::string OutputFolderText() const __VA_ARGS__;                            \
    virtual bool OverwriteExisting() const __VA_ARGS__;                                  \
    virtual int ConversionVolume() const __VA_ARGS__;                                    \
    virtual std::string OutputExtension() const __VA_ARGS__;                             \
                                                                                         \
    virtual TBatchState& Batch() __VA_ARGS__;                                            \
                                                                                         \
    virtual void SetProgressBar(int position) __VA_ARGS__;                               \
    virtual void StopDriverTimer() __VA_ARGS__;                                          \
    virtual void ShowInformation(const std::string& text) __VA_ARGS__;                   \
    virtual void EnableControls() __VA_ARGS__;                                           \
    virtual void AddRowLog(int row, const std::string& line) __VA_ARGS__;

class TJobWindow {
public:
    virtual ~TJobWindow() = default;
    TAVRIN_JOB_WINDOW_MEMBERS(= 0)
    // The builder takes this checked row now; what an earlier conversion left on it (its
    // status, frames, failure reason and log) may go. Rows not converted keep theirs.
    virtual void RowStarting(int row) { (void)row; }
};

}  // namespace tavrin
