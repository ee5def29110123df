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

class TJobWindow {
public:
    virtual ~TJobWindow() = default;

    virtual int RowCount() const = 0;
    virtual std::string RowCaption(int row) const = 0;
    virtual bool RowChecked(int row) const = 0;
    virtual std::string RowCell(int row, TRowColumn column) const = 0;
    virtual void SetRowCell(int row, TRowColumn column, const std::string& text) = 0;

    virtual const TProfileControls& ProfileControls() const = 0;
    virtual std::string OutputFolderText() const = 0;
    virtual bool OverwriteExisting() const = 0;
    virtual int ConversionVolume() const = 0;
    virtual std::string OutputExtension() const = 0;

    virtual TBatchState& Batch() = 0;

    virtual void SetProgressBar(int position) = 0;
    virtual void StopDriverTimer() = 0;
    virtual void ShowInformation(const std::string& text) = 0;
    virtual void EnableControls() = 0;
    virtual void AddRowLog(int /*row*/, const std::string& /*line*/) {}
};

}  // namespace tavrin
