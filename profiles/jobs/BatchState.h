// The main window's batch flags that the job builder reads and writes. The engine's
// terminate handler clears Converting on a worker thread while the UI thread polls it, so
// every flag is atomic.
#pragma once

#include <atomic>

namespace tavrin {

struct TBatchState {
    // A row is being prepared or its task runs; set before a row starts, cleared when its
    // task has ended or the row could not be started.
    std::atomic<bool> Converting{false};
    // The user confirmed Stop during this batch.
    std::atomic<bool> UserAborted{false};
    // The row the driver works on; -1 before the first row of a batch.
    std::atomic<int> CurrentRow{-1};
    // CurrentRow is the list's last row.
    std::atomic<bool> IsLastRow{false};
    // No further row is to be started.
    std::atomic<bool> BatchFinished{false};
    // Driver-timer ticks counted while the engine is idle between rows.
    std::atomic<int> IdleTicks{0};
};

}  // namespace tavrin
