// The batch's widgets and its driver: Start, Stop and the driver timer over the shared
// driver steps, and the controls a running batch switches off.
#include "batch/BatchPart.h"

#include "BatchDriver.h"
#include "FFmpegEngine.h"
#include "JobBuilder.h"
#include "ParallelBatch.h"
#include "util/ProgressText.h"
#include "batch/WindowJobView.h"
#include "dialogs/Dialogs.h"
#include "list/ListPart.h"
#include "preview/PreviewPart.h"
#include "settings/SettingsPart.h"
#include "util/StatusBar.h"
#include "util/SvgIcons.h"
#include "util/WindowOptions.h"
#include "util/Widgets.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>
#include <QToolButton>

namespace tavrin {

TBatchPart::TBatchPart(const TBatchNeighbours& neighbours) : with_(neighbours)
{
    batchClock_.start();
    BuildWidgets();
    jobView_ = std::make_unique<TWindowJobView>(*this, with_);
    jobBuilder_ = std::make_unique<TJobBuilder>(*jobView_, with_.Engine);
    jobView_->SetBuilder(jobBuilder_.get());
}

TBatchPart::~TBatchPart()
{
    // No event may reach a window that is going away: stop listening, then let the tasks
    // end before the engine and the widgets go.
    eventsConnected_ = false;
    parallel_.reset();
    with_.Engine.ClearTaskList();
}

void TBatchPart::BuildWidgets()
{
    const QSize wide(130, 34);
    ButtonStopConvert = SpeedButton("ButtonStopConvert", QStringLiteral("Stop"), "stop", wide);
    ButtonConvert = SpeedButton("ButtonConvert", QStringLiteral("Start"), "start", wide);

    progressStrip_ = new QWidget;
    auto* row = new QHBoxLayout(progressStrip_);
    row->setContentsMargins(8, 0, 0, 0);
    ProgressBar1 = Named(new QProgressBar, "ProgressBar1");
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setFixedWidth(400);
    ButtonStopSmall = Named(new QToolButton, "ButtonStopSmall");
    ButtonStopSmall->setText(QStringLiteral("Stop"));
    ButtonStopSmall->setIcon(SvgIcon("stop"));
    ButtonStopSmall->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    row->addWidget(ProgressBar1);
    row->addWidget(ButtonStopSmall);
    row->addStretch(1);

    TimerConvertAgain = Named(new QTimer(&with_.Window), "TimerConvertAgain");
    TimerConvertAgain->setInterval(kDriverIntervalMs);

    connect(ButtonStopConvert, &QToolButton::clicked, this, &TBatchPart::ButtonStopConvertClick);
    connect(ButtonStopSmall, &QToolButton::clicked, ButtonStopConvert, &QToolButton::click);
    connect(ButtonConvert, &QToolButton::clicked, this, &TBatchPart::ButtonConvertClick);
    connect(TimerConvertAgain, &QTimer::timeout, this, &TBatchPart::TimerConvertAgainTimer);
}

QList<QToolButton*> TBatchPart::ToolButtons() const
{
    return {ButtonStopConvert, ButtonConvert};
}

void TBatchPart::Create()
{
    TimerConvertAgain->stop();
    ConnectEngineEvents();
}

void TBatchPart::TriggerConvert()
{
    ButtonConvert->click();
}

void TBatchPart::ButtonConvertClick()
{
    with_.Preview.StopThePreview(true);
    if (with_.List.Adding())
        return;
    if (with_.List.RowCount() == 0) {
        with_.Dialogs.Information(&with_.Window, QStringLiteral("Please Add Files To Convert!"));
        return;
    }
    if (!AnyRowChecked()) {
        with_.Dialogs.Information(&with_.Window,
                                  QStringLiteral("No file is checked. Check the files to convert, "
                                                 "then press Start."));
        return;
    }
    if (!with_.Settings.CheckOutputFolder())
        return;
    EndParallelBatch();
    rowShares_.clear();
    batchClock_.start();
    with_.Status.Panel(0)->setText(QStringLiteral("Converting"));
    with_.Status.Panel(1)->clear();
    TimerConvertAgain->start();
    DisableControls();
    if (with_.Options.SimultaneousConversions > 1) {
        StartParallelBatch(with_.Options.SimultaneousConversions);
        return;
    }
    jobView_->SetBuilder(jobBuilder_.get());
    BeginJob();
    StartBatch(*jobView_, *jobBuilder_, with_.Engine);
}

// Every row starts from an empty task list. Once it is empty no earlier task can raise an
// event any more, so a new job number marks whatever is still queued from before as stale.
void TBatchPart::BeginJob()
{
    with_.Engine.StopTasks();
    with_.Engine.ClearTaskList();
    ++job_;
}

void TBatchPart::TimerConvertAgainTimer()
{
    if (ParallelBatchActive()) {
        parallel_->Tick();
        return;
    }
    // Between rows the previous task is over; the tick may start the next row.
    if (!batch_.Converting && !batch_.BatchFinished)
        BeginJob();
    DriverTimerTick(*jobView_, *jobBuilder_, with_.Engine);
}

void TBatchPart::ButtonStopConvertClick()
{
    if (ConfirmStop(QStringLiteral("Stop all conversions?"), false))
        StopBatch();
}

bool TBatchPart::StopForClose()
{
    if (!ConfirmStop(QStringLiteral("Stop all conversions and quit?"), true))
        return false;
    StopBatch();
    // The stopped tasks are waited for: each closes its output properly before it goes.
    EndParallelBatch();
    with_.Engine.ClearTaskList();
    return true;
}

// Stop asks only while a task runs; closing asks in the gap between two rows as well. The
// running task is paused around the question.
bool TBatchPart::ConfirmStop(const QString& question, bool askBetweenRows)
{
    if (!batch_.Converting)
        return !(askBetweenRows && running_) || with_.Dialogs.Confirm(&with_.Window, question);
    if (ParallelBatchActive()) {
        parallel_->PauseTasks();
        const bool stop = with_.Dialogs.Confirm(&with_.Window, question);
        parallel_->ResumeTasks();
        return stop;
    }
    with_.Engine.PauseTasks();
    if (!with_.Dialogs.Confirm(&with_.Window, question)) {
        with_.Engine.ResumeTasks();
        return false;
    }
    batch_.UserAborted = true;
    return true;
}

void TBatchPart::StopBatch()
{
    // The rows still converting count as stopped; their tasks end after this.
    const QString outcome = QString::fromStdString(BatchOutcomeText(Tally()));
    if (ParallelBatchActive()) {
        parallel_->Stop();
    } else {
        batch_.BatchFinished = true;
        TimerConvertAgain->stop();
        with_.Engine.StopTasks();
        ProgressBar1->setValue(0);
        EnableControls();
        batch_.Converting = false;
    }
    ShowEndOfBatch(outcome);
}

// The controls a batch switches off: its own Start, the list's buttons and pop-up, the
// settings, and the main menu.
void TBatchPart::SetBatchControlsEnabled(bool enabled)
{
    running_ = !enabled;
    ButtonConvert->setEnabled(enabled);
    with_.List.SetControlsEnabled(enabled);
    with_.Settings.SetControlsEnabled(enabled);
    emit MainMenuEnabled(enabled);
}

void TBatchPart::DisableControls()
{
    SetBatchControlsEnabled(false);
}

void TBatchPart::EnableControls()
{
    SetBatchControlsEnabled(true);
    with_.Status.Panel(0)->setText(QStringLiteral("Ready"));
    with_.Settings.UpdateQualityControls();
}

void TBatchPart::SetProgress(int position)
{
    ProgressBar1->setValue(running_ ? BatchPercent(BatchRows()) : position);
}

void TBatchPart::StopDriverTimer()
{
    TimerConvertAgain->stop();
}

}  // namespace tavrin
