// The job builder's view of the main window, over the batch and the parts it reads.
#pragma once

#include "JobWindow.h"

namespace tavrin {

class TBatchPart;
class TJobBuilder;
struct TBatchNeighbours;

class TWindowJobView final : public TJobWindow {
public:
    TWindowJobView(TBatchPart& batch, const TBatchNeighbours& with) : batch_(batch), with_(with) {}
    // The builder whose failure reasons the rows show.
    void SetBuilder(const TJobBuilder* builder) { builder_ = builder; }

    TAVRIN_JOB_WINDOW_MEMBERS(override)
    void RowStarting(int row) override;

private:
    TBatchPart& batch_;
    const TBatchNeighbours& with_;
    const TJobBuilder* builder_ = nullptr;
};

}  // namespace tavrin
