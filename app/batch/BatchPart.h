// The batch: Start and Stop, the driver timer that feeds the engine one row at a time (or
// the shared parallel batch several at once), the engine's events brought to the UI
// thread, the progress bar and the status bar's state and size texts.
#pragma once

#include "BatchState.h"
#include "FFmpegTypes.h"
#include "util/BatchProgress.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>

#include <atomic>
#include <map>
#include <memory>
#include <vector>

class QProgressBar;
class QTimer;
class QToolButton;
class QWidget;

namespace tavrin {

class TDialogs;
class TFFmpegEngine;
class TJobBuilder;
class TListPart;
class TParallelBatch;
class TPreviewPart;
class TSettingsPart;
class TStatusBar;
class TWindowJobView;
struct TWindowOptions;

// What an engine event tells the UI thread, tagged with the job it belongs to.
struct TProgressReport {
    int Job;
    int FrameNumber;
    int CurrentDuration;
    int64_t CurrentSize;
    int TotalOutputDuration;
};
struct TTerminateReport {
    int Job;
    int Index;
    bool Exception;
    QString Message;
};

// The parts a batch reads its rows and settings from and switches off while it runs.
struct TBatchNeighbours {
    QWidget& Window;  // parents the message boxes
    TDialogs& Dialogs;
    TFFmpegEngine& Engine;
    const TWindowOptions& Options;
    TListPart& List;
    TSettingsPart& Settings;
    TPreviewPart& Preview;
    TStatusBar& Status;
};

class TBatchPart final : public QObject {
    Q_OBJECT

public:
    explicit TBatchPart(const TBatchNeighbours& neighbours);
    ~TBatchPart() override;

    // Where the window places the Start and Stop buttons and the progress strip.
    QList<QToolButton*> ToolButtons() const;
    QWidget* ProgressStrip() const { return progressStrip_; }

    // The window's creation: the engine's events start reaching the batch.
    void Create();
    // No event reaches the window any more; tasks still ending may call the handlers.
    void Disconnect() { eventsConnected_ = false; }
    // The previous batch of several rows is stopped and let go; its rows keep what they show.
    void EndParallelBatch();

    // A batch runs from Start until it has ended or was stopped, the gaps between its rows
    // included (Converting is false there); its controls are off meanwhile.
    bool Running() const { return running_; }
    // The window is asked to close during a batch: the user confirms, the batch stops and
    // the running task is waited for, so its file is finished. False when the batch goes on.
    bool StopForClose();

    // Converting, UserAborted, CurrentRow, IsLastRow, BatchFinished, IdleTicks.
    TBatchState& State() { return batch_; }
    const TBatchState& State() const { return batch_; }

    // "File > Convert": a click on Start, which a running batch has switched off.
    void TriggerConvert();

    // Handlers.
    void ButtonConvertClick();
    void ButtonStopConvertClick();
    void TimerConvertAgainTimer();
    void DisableControls();
    void EnableControls();

    // The engine's events, delivered on the UI thread.
    void EngineProgress(const TProgressReport& report);
    void EngineTerminate(const TTerminateReport& report);
    void EngineLog(int job, const QString& line);

    // What the job builder's view of the window does to the batch's own widgets. While the
    // batch runs the bar shows the whole batch's progress, also between two rows.
    void SetProgress(int position);
    void StopDriverTimer();
    void AnnounceCompletion() { emit BatchCompleted(); }
    // A row the batch takes now, and its end mark ("Done", "Fail", "Abort").
    void RowStarting(int row);
    void RowEnded(int row);
    // The batch has ended on its own: the window says what became of its rows.
    void ShowBatchOutcome();

signals:
    // The batch switches the main menu off while it runs and on again after.
    void MainMenuEnabled(bool enabled);
    // The last row has ended; the completion box is about to be shown.
    void BatchCompleted();

private:
    void BuildWidgets();
    void ConnectEngineEvents();
    void BeginJob();
    void StartParallelBatch(int simultaneous);
    void ConnectParallelEvents();
    bool ParallelBatchActive() const { return parallel_ != nullptr && parallelActive_; }
    void SetBatchControlsEnabled(bool enabled);
    bool AnyRowChecked() const;
    void SetRowDone(int row, int64_t doneMs);
    std::vector<TRowShare> BatchRows() const;
    TBatchTally Tally() const;
    void ShowBatchProgress();
    void ShowEndOfBatch(const QString& outcome);
    bool ConfirmStop(const QString& question, bool askBetweenRows);
    void StopBatch();

    TBatchNeighbours with_;
    QWidget* progressStrip_ = nullptr;
    QToolButton* ButtonStopConvert = nullptr;
    QToolButton* ButtonConvert = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    QToolButton* ButtonStopSmall = nullptr;
    QTimer* TimerConvertAgain = nullptr;

    TBatchState batch_;
    std::atomic<bool> eventsConnected_{false};
    std::atomic<int> job_{0};  // changes whenever the engine's task list was emptied for a row
    QElapsedTimer batchClock_;
    std::map<int, TRowShare> rowShares_;  // the rows this batch has taken, by list row
    std::unique_ptr<TWindowJobView> jobView_;
    std::unique_ptr<TJobBuilder> jobBuilder_;
    std::unique_ptr<TParallelBatch> parallel_;  // the last batch of several rows at once
    bool parallelActive_ = false;               // that batch drives the timer and Stop
    bool running_ = false;
};

}  // namespace tavrin
