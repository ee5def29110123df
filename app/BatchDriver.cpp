// The window's side of the batch driver: Start, Stop and the 200 ms timer over the shared
// driver steps, the output folder check and the controls a running batch switches off.
#include "MainWindow.h"

#include "BatchDriver.h"
#include "Dialogs.h"
#include "JobBuilder.h"
#include "ParallelBatch.h"
#include "ProgressText.h"
#include "Quality.h"
#include "SourceList.h"
#include "WindowJobView.h"

#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QSlider>
#include <QTimer>
#include <QToolButton>

namespace tavrin {

void TForm1::ButtonConvertClick()
{
    StopThePreview(true);
    if (AddingFiles)
        return;
    ClearProgressCells();
    if (RowCount() == 0) {
        dialogs_.Information(this, QStringLiteral("Please Add Files To Convert!"));
        return;
    }
    if (!CheckOutputFolder())
        return;
    EndParallelBatch();
    TimerConvertAgain->start();
    DisableControls();
    if (SimultaneousConversions() > 1) {
        StartParallelBatch(SimultaneousConversions());
        return;
    }
    jobView_->SetBuilder(jobBuilder_.get());
    BeginJob();
    StartBatch(*jobView_, *jobBuilder_, Engine);
}

// Every row starts from an empty task list. Once it is empty no earlier task can raise an
// event any more, so a new job number marks whatever is still queued from before as stale.
void TForm1::BeginJob()
{
    Engine.StopTasks();
    Engine.ClearTaskList();
    ++job_;
    jobClock_.start();
    StatusPanels[0]->setText(QStringLiteral("Converting"));
}

void TForm1::TimerConvertAgainTimer()
{
    if (ParallelBatchActive()) {
        parallel_->Tick();
        return;
    }
    // Between rows the previous task is over; the tick may start the next row.
    if (!Batch.Converting && !Batch.BatchFinished)
        BeginJob();
    DriverTimerTick(*jobView_, *jobBuilder_, Engine);
}

void TForm1::ButtonStopConvertClick()
{
    if (ParallelBatchActive()) {
        if (Batch.Converting) {
            parallel_->PauseTasks();
            const bool stop = dialogs_.Confirm(this, QStringLiteral("Stop all conversions?"));
            parallel_->ResumeTasks();
            if (!stop)
                return;
        }
        parallel_->Stop();
        return;
    }
    if (Batch.Converting) {
        Engine.PauseTasks();
        if (!dialogs_.Confirm(this, QStringLiteral("Stop all conversions?"))) {
            Engine.ResumeTasks();
            return;
        }
        Batch.UserAborted = true;
    }
    Batch.BatchFinished = true;
    TimerConvertAgain->stop();
    Engine.StopTasks();
    ProgressBar1->setValue(0);
    EnableControls();
    Batch.Converting = false;
}

bool TForm1::CheckOutputFolder()
{
    const QString text = EditOutputFolder->text();
    if (text.isEmpty()) {
        dialogs_.Information(this, QStringLiteral("Please select an output folder!"));
        ButtonBrowseForFolderClick();
        return false;
    }
    // QFileInfo, not QDir: an empty path (a text of blanks) must not mean the current folder.
    if (!QFileInfo(text.trimmed()).isDir()) {
        dialogs_.Information(this, QStringLiteral("The output folder \"") + text +
                                       QStringLiteral("\"\n\rdoes not exist or has been deleted!"
                                                      "\n\rPlease choose a new output folder."));
        ButtonBrowseForFolderClick();
        return false;
    }
    return true;
}

// The controls a batch switches off, and the list's pop-up and the main menu with them.
void TForm1::SetBatchControlsEnabled(bool enabled)
{
    for (QWidget* widget : std::initializer_list<QWidget*>{
             ButtonAddFile, ButtonClear, ButtonRemove, ButtonConvert, ComboOutputFormat,
             ComboVideoSize, ComboVideoBitrate, ComboVideoFramerate, ComboAudioBitrate,
             ComboAudioChannels, ComboVideoCodec, ComboSamplingRate, ComboAudioCodec, TrackBar1,
             ComboAspectRatio, ComboLetterBox, ComboVideoQuality, ComboAudioQuality})
        widget->setEnabled(enabled);
    popupAutomatic_ = enabled;
    SetMainMenuEnabled(enabled);
}

void TForm1::DisableControls()
{
    SetBatchControlsEnabled(false);
}

void TForm1::EnableControls()
{
    SetBatchControlsEnabled(true);
    StatusPanels[0]->setText(QStringLiteral("Ready"));
    UpdateQualityControls(Controls());
}

void TForm1::ShowPace(int currentMs, int totalMs)
{
    if (const auto pace = MeasurePace(currentMs, totalMs, jobClock_.elapsed()))
        StatusPanels[0]->setText(QString::fromStdString(PaceText(*pace)));
}

}  // namespace tavrin
