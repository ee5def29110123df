// The batch driver's steps that need no widget toolkit: starting a batch, one tick of the
// driver timer, and what the terminate handler does to the row and the flags. The window
// calls them from its button, its 200 ms timer and its engine handler; the command line
// calls them from its own loop, so both walk a batch the same way.
#pragma once

#include "jobs/JobBuilder.h"
#include "jobs/JobWindow.h"

namespace tavrin {

class TCustomFFmpegEngine;

inline constexpr int kDriverIntervalMs = 200;

// Start, once the list and the output folder have been checked and the caller's driver
// timer runs: Converting, UserAborted cleared, task list cleared, CurrentRow -1, first row.
void StartBatch(TJobWindow& window, TJobBuilder& builder, TCustomFFmpegEngine& engine);

// One tick of the driver timer: nothing while a row converts; the end of the batch once
// BatchFinished is set (timer stopped, "All Conversions Completed", controls enabled);
// otherwise the next row on the second idle tick.
void DriverTimerTick(TJobWindow& window, TJobBuilder& builder, TCustomFFmpegEngine& engine);

// The engine's terminate event (index -1 when the whole task list is done): clears
// Converting, marks the current row "Fail", "Abort" or "Done" for a task's own end, and
// clears the task list after the batch's last task. It writes the window view, so a widget
// window posts the event to its UI thread, in order, and calls this there.
void TaskTerminated(TJobWindow& window, TCustomFFmpegEngine& engine, int index, bool exception);

}  // namespace tavrin
