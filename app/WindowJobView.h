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

    int RowCount() const override;
    std::string RowCaption(int row) const override;
    bool RowChecked(int row) const override;
    std::string RowCell(int row, TRowColumn column) const override;
    void SetRowCell(int row, TRowColumn column, const std::string& text) override;

    const TProfileControls& ProfileControls() const override;
    std::string OutputFolderText() const override;
    bool OverwriteExisting() const override;
    int ConversionVolume() const override;
    std::string OutputExtension() const override;

    TBatchState& Batch() override;

    void SetProgressBar(int position) override;
    void StopDriverTimer() override;
    void ShowInformation(const std::string& text) override;
    void EnableControls() override;
    void AddRowLog(int row, const std::string& line) override;

private:
    TForm1& form_;
    const TJobBuilder* builder_ = nullptr;
};

}  // namespace tavrin
