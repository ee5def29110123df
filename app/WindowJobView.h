// The job builder's view of the main window, over the window's widgets and batch state.
#pragma once

#include "JobWindow.h"

namespace tavrin {

class TForm1;
class TJobBuilder;

class TWindowJobView final : public TJobWindow {
public:
    explicit TWindowJobView(TForm1& form) : form_(form) {}
    // The builder whose failure reasons the rows show.
    void SetBuilder(const TJobBuilder* builder) { builder_ = builder; }

    TAVRIN_JOB_WINDOW_MEMBERS(override)

private:
    TForm1& form_;
    const TJobBuilder* builder_ = nullptr;
};

}  // namespace tavrin
