// The window's side of a batch with several rows converting at once ("Simultaneous
// conversions" above 1). The shared driver keeps one engine per lane; their events wake
// the UI thread, which applies them there: each row's cells, log and failure reason, the
// overall progress and the size of the file written last.
#include "batch/BatchPart.h"

#include "FFmpegEngine.h"
#include "JobBuilder.h"
#include "ParallelBatch.h"
#include "batch/WindowJobView.h"
#include "dialogs/LogWindow.h"
#include "list/ListPart.h"
#include "util/ProgressText.h"
#include "util/StatusBar.h"

#include <QLabel>
#include <QProgressBar>
#include <QTimer>

namespace tavrin {

void TBatchPart::StartParallelBatch(int simultaneous)
{
    // The rows' failure reasons come from the lanes' builders, through the notifications.
    jobView_->SetBuilder(nullptr);
    parallel_ = std::make_unique<TParallelBatch>(*jobView_, *jobBuilder_, simultaneous);
    parallel_->ForEachEngine([this](TCustomFFmpegEngine& engine) {
        engine.SetLogLevel(with_.Engine.LogLevel());
        engine.SetProgressInterval(with_.Engine.ProgressInterval());
        engine.SetThreadPriority(with_.Engine.ThreadPriority());
    });
    ConnectParallelEvents();
    parallelActive_ = true;
    jobClock_.start();
    with_.Status.Panel(0)->setText(QStringLiteral("Converting"));
    parallel_->Start();
}

void TBatchPart::ConnectParallelEvents()
{
    TParallelBatch* batch = parallel_.get();
    // A wake-up may arrive after this batch was replaced: it then pumps nothing.
    batch->OnWake = [this, batch] {
        if (!eventsConnected_)
            return;
        QMetaObject::invokeMethod(
            this,
            [this, batch] {
                if (parallel_.get() == batch && eventsConnected_)
                    batch->Pump();
            },
            Qt::QueuedConnection);
    };
    batch->OnRowProgress = [this, batch](int row, const TRowProgress& progress) {
        with_.List.ScrollTo(row);
        with_.Status.Panel(1)->setText(QString::fromStdString(FileSizeText(progress.Size)));
        if (batch_.Converting)
            ProgressBar1->setValue(batch->OverallPercent());
    };
    batch->OnRowEnded = [this, batch](int row, const std::string& status, const std::string& reason) {
        if (status == "Fail" && !reason.empty())
            with_.List.SetRowFailure(row, QString::fromStdString(reason));
        if (batch_.Converting)
            ProgressBar1->setValue(batch->OverallPercent());
    };
    batch->OnRowLog = [this](int row, TLogLevel, const std::string& text) {
        const QString line = LogLine(text);
        if (!line.isEmpty())
            with_.List.AppendRowLog(row, line);
    };
}

// The previous batch of several rows is stopped and let go; its rows keep what they show.
void TBatchPart::EndParallelBatch()
{
    parallelActive_ = false;
    parallel_.reset();
}

}  // namespace tavrin
