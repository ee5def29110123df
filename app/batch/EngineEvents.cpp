// The engine's events. They arrive on the engine's worker threads, where no widget may be
// touched: each handler packs what it was told, tagged with the current job, and posts it
// to the UI thread, which applies it in the order the events came.
#include "batch/BatchPart.h"

#include "BatchDriver.h"
#include "FFmpegEngine.h"
#include "util/ProgressText.h"
#include "RowText.h"
#include "batch/WindowJobView.h"
#include "dialogs/LogWindow.h"
#include "list/ListPart.h"
#include "list/SourceList.h"
#include "util/StatusBar.h"

#include <QLabel>
#include <QProgressBar>
#include <QTimer>

#include <algorithm>

namespace tavrin {

void TBatchPart::ConnectEngineEvents()
{
    TFFmpegEngine& engine = with_.Engine;
    engine.SetMainThreadScheduler([this](int delayMs, std::function<void()> fn) {
        QMetaObject::invokeMethod(
            this, [this, delayMs, fn = std::move(fn)] { QTimer::singleShot(delayMs, this, fn); },
            Qt::QueuedConnection);
    });
    engine.OnProgress = [this](int, int frame, int, int currentMs, float, float, int64_t size,
                               int totalMs) {
        if (!eventsConnected_)
            return;
        const TProgressReport report{job_.load(), frame, currentMs, size, totalMs};
        QMetaObject::invokeMethod(this, [this, report] { EngineProgress(report); },
                                  Qt::QueuedConnection);
    };
    engine.OnTerminate = [this](int index, bool, bool exception, const std::string& message) {
        if (!eventsConnected_)
            return;
        const TTerminateReport report{job_.load(), index, exception, QString::fromStdString(message)};
        QMetaObject::invokeMethod(this, [this, report] { EngineTerminate(report); },
                                  Qt::QueuedConnection);
    };
    engine.OnLog = [this](int, TLogLevel, const std::string& text) {
        if (!eventsConnected_)
            return;
        const int job = job_.load();
        const QString line = LogLine(text);
        if (line.isEmpty())
            return;
        QMetaObject::invokeMethod(this, [this, job, line] { EngineLog(job, line); },
                                  Qt::QueuedConnection);
    };
    eventsConnected_ = true;
}

void TBatchPart::EngineProgress(const TProgressReport& report)
{
    if (report.Job != job_ || !eventsConnected_)
        return;
    TListPart& list = with_.List;
    list.ScrollTo(batch_.CurrentRow);
    // Without a positive total the percentage is unknown: it stays as it was.
    const std::optional<int> percent =
        ProgressPercent(report.CurrentDuration, report.TotalOutputDuration);
    if (percent)
        list.SetCell(batch_.CurrentRow, scProgress,
                     QString::fromStdString(ProgressCellText(report.CurrentDuration, report.TotalOutputDuration)));
    with_.Status.Panel(1)->setText(QString::fromStdString(FileSizeText(report.CurrentSize)));
    list.SetCell(batch_.CurrentRow, scFrames, QString::fromStdString(FramesCellText(report.FrameNumber)));
    if (percent)
        ProgressBar1->setValue(std::clamp(*percent, ProgressBar1->minimum(), ProgressBar1->maximum()));
    ShowPace(report.CurrentDuration, report.TotalOutputDuration);
}

void TBatchPart::EngineTerminate(const TTerminateReport& report)
{
    if (report.Job != job_ || !eventsConnected_)
        return;
    TaskTerminated(*jobView_, with_.Engine, report.Index, report.Exception);
    if (report.Index >= 0 && report.Exception)
        with_.List.SetRowFailure(batch_.CurrentRow, report.Message);
}

void TBatchPart::EngineLog(int job, const QString& line)
{
    // Lines of the probe or of a finished row belong to no running row.
    if (job != job_ || !batch_.Converting)
        return;
    with_.List.AppendRowLog(batch_.CurrentRow, line);
}

}  // namespace tavrin
