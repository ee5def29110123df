// The batch: Start and Stop, the driver timer that feeds the engine one row at a time (or
// the shared parallel batch several at once), the engine's events brought to the UI
// thread, the progress bar and the status bar's state and size texts.
#pragma once

#include "BatchState.h"
#include "FFmpegTypes.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>

#include <atomic>
#include <memory>

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

    // What the job builder's view of the window does to the batch's own widgets.
    void SetProgress(int position);
    void StopDriverTimer();
    void AnnounceCompletion() { emit BatchCompleted(); }

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
    void ShowPace(int currentMs, int totalMs);

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
    QElapsedTimer jobClock_;
    std::unique_ptr<TWindowJobView> jobView_;
    std::unique_ptr<TJobBuilder> jobBuilder_;
    std::unique_ptr<TParallelBatch> parallel_;  // the last batch of several rows at once
    bool parallelActive_ = false;               // that batch drives the timer and Stop
};

}  // namespace tavrin
