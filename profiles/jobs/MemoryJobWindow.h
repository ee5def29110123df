// A TJobWindow in memory: the command line's batch and the job builder's tests run on it.
// Rows and effects are guarded by a lock, because the engine's handlers write the
// "Progress" cell from a worker thread while the driver reads it.
#pragma once

#include "jobs/JobWindow.h"
#include "catalogue/MemoryProfileControls.h"

#include <array>
#include <mutex>
#include <string>
#include <vector>

namespace tavrin {

struct TMemoryRow {
    std::string Caption;
    bool Checked = true;
    std::array<std::string, kRowColumnCount> Cells{};
    std::vector<std::string> Log;  // lines the builder wrote for the row
};

class TMemoryJobWindow final : public TJobWindow {
public:
    // Settings the builder reads; set them before a batch starts.
    TMemoryProfileControls Settings;
    std::string OutputFolder;
    bool Overwrite = false;
    int Volume = 255;
    std::string Extension = "MP4";

    // Appends a row and returns its index.
    int AddRow(const std::string& caption, bool checked = true);
    void SetRowChecked(int row, bool checked);
    TMemoryRow Row(int row) const;

    // Effects seen so far.
    int ProgressBarPosition() const;
    bool DriverTimerStopped() const;
    std::vector<std::string> Messages() const;
    int EnableControlsCount() const;

    TAVRIN_JOB_WINDOW_MEMBERS(override)

private:
    bool IsValid(int row) const { return row >= 0 && row < static_cast<int>(FRows.size()); }

    mutable std::mutex FMutex;
    std::vector<TMemoryRow> FRows;
    TBatchState FBatch;
    int FProgressBar = 0;
    bool FTimerStopped = false;
    std::vector<std::string> FMessages;
    int FEnableCount = 0;
};

}  // namespace tavrin
