// The engine's events. They arrive on the engine's worker threads, where no widget may be
// touched: each handler packs what it was told, tagged with the current job, and posts it
// to the UI thread, which applies it in the order the events came.
#include "MainWindow.h"

#include "BatchDriver.h"
#include "ProgressText.h"
#include "RowText.h"
#include "SourceList.h"
#include "WindowJobView.h"

#include <QLabel>
#include <QProgressBar>
#include <QTimer>
#include <QTreeWidget>

#include <algorithm>

namespace tavrin {

void TForm1::ConnectEngineEvents()
{
    Engine.SetMainThreadScheduler([this](int delayMs, std::function<void()> fn) {
        QMetaObject::invokeMethod(
            this, [this, delayMs, fn = std::move(fn)] { QTimer::singleShot(delayMs, this, fn); },
            Qt::QueuedConnection);
    });
    Engine.OnProgress = [this](int, int frame, int, int currentMs, float, float, int64_t size,
                               int totalMs) {
        if (!eventsConnected_)
            return;
        const TProgressReport report{job_.load(), frame, currentMs, size, totalMs};
        QMetaObject::invokeMethod(this, [this, report] { EngineProgress(report); },
                                  Qt::QueuedConnection);
    };
    Engine.OnTerminate = [this](int index, bool, bool exception, const std::string& message) {
        if (!eventsConnected_)
            return;
        const TTerminateReport report{job_.load(), index, exception, QString::fromStdString(message)};
        QMetaObject::invokeMethod(this, [this, report] { EngineTerminate(report); },
                                  Qt::QueuedConnection);
    };
    Engine.OnLog = [this](int, TLogLevel, const std::string& text) {
        if (!eventsConnected_)
            return;
        const int job = job_.load();
        const QString line = QString::fromStdString(text).trimmed();
        if (line.isEmpty())
            return;
        QMetaObject::invokeMethod(this, [this, job, line] { EngineLog(job, line); },
                                  Qt::QueuedConnection);
    };
    eventsConnected_ = true;
}

void TForm1::EngineProgress(const TProgressReport& report)
{
    if (report.Job != job_ || !eventsConnected_)
        return;
    if (QTreeWidgetItem* row = Row(Batch.CurrentRow))
        ListView1->scrollToItem(row);
    // Without a positive total the percentage is unknown: it stays as it was.
    const std::optional<int> percent =
        ProgressPercent(report.CurrentDuration, report.TotalOutputDuration);
    if (percent)
        SetCell(Batch.CurrentRow, scProgress,
                QString::fromStdString(ProgressCellText(report.CurrentDuration, report.TotalOutputDuration)));
    StatusPanels[1]->setText(QString::fromStdString(FileSizeText(report.CurrentSize)));
    SetCell(Batch.CurrentRow, scFrames, QString::fromStdString(FramesCellText(report.FrameNumber)));
    if (percent)
        ProgressBar1->setValue(std::clamp(*percent, ProgressBar1->minimum(), ProgressBar1->maximum()));
    ShowPace(report.CurrentDuration, report.TotalOutputDuration);
}

void TForm1::EngineTerminate(const TTerminateReport& report)
{
    if (report.Job != job_ || !eventsConnected_)
        return;
    TaskTerminated(*jobView_, Engine, report.Index, report.Exception);
    if (report.Index >= 0 && report.Exception)
        SetRowFailure(Batch.CurrentRow, report.Message);
}

void TForm1::EngineLog(int job, const QString& line)
{
    // Lines of the probe or of a finished row belong to no running row.
    if (job != job_ || !Batch.Converting)
        return;
    AppendRowLog(Batch.CurrentRow, line);
}

}  // namespace tavrin
