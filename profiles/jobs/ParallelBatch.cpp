#include "jobs/ParallelBatch.h"

#include "CodecThreads.h"
#include "FFmpegEngine.h"
#include "jobs/RowText.h"
#include "catalogue/SettingText.h"

#include <algorithm>
#include <atomic>
#include <filesystem>

namespace tavrin {

namespace fs = std::filesystem;

namespace {

constexpr const char* kCompletedText = "All Conversions Completed";

// Paths compared as the file they name, whether or not it exists yet.
std::string PathKey(const std::string& path)
{
    std::error_code error;
    const fs::path key = fs::weakly_canonical(fs::path(path), error);
    return error ? fs::path(path).lexically_normal().string() : key.string();
}

}  // namespace

struct TParallelBatch::TLane {
    TFFmpegEngine Engine;
    std::unique_ptr<TJobBuilder> Builder;
    std::atomic<int> Generation{0};  // counts the rows handed to this lane
    int Row = -1;                    // the row converting here, -1 when the lane is free
    int Percent = 0;
    std::string SourceKey, OutputKey;
};

TParallelBatch::TParallelBatch(TJobWindow& window, const TJobBuilder& settings, int simultaneous)
    : FWindow(window)
{
    const int count = std::max(1, simultaneous);
    for (int i = 0; i < count; ++i) {
        auto lane = std::make_unique<TLane>();
        lane->Builder = std::make_unique<TJobBuilder>(settings, lane->Engine);
        BindLane(*lane, static_cast<size_t>(i));
        FLanes.push_back(std::move(lane));
    }
}

// Removing the tasks unbinds them first, so nothing is raised any more while they stop.
TParallelBatch::~TParallelBatch()
{
    for (auto& lane : FLanes)
        lane->Engine.StopTasks();
    for (auto& lane : FLanes)
        lane->Engine.ClearTaskList();
}

void TParallelBatch::SetCodecThreads(int n)
{
    FCodecThreads = std::max(0, n);
}

// A row that starts when fewer rows than lanes are left to run beside it gets the cores of
// the lanes that stay idle.
int TParallelBatch::CodecThreadsFor(int row) const
{
    if (FCodecThreads > 0)
        return FCodecThreads;
    int atOnce = 1;
    for (const auto& lane : FLanes)
        atOnce += lane->Row >= 0;
    for (int next = row + 1; next < FWindow.RowCount() && atOnce < Simultaneous(); ++next)
        atOnce += FWindow.RowChecked(next);
    return SharedCodecThreads(std::min(atOnce, Simultaneous()));
}

void TParallelBatch::ForEachEngine(const std::function<void(TCustomFFmpegEngine&)>& configure)
{
    for (auto& lane : FLanes)
        configure(lane->Engine);
}

void TParallelBatch::BindLane(TLane& lane, size_t index)
{
    TLane* l = &lane;
    lane.Engine.OnProgress = [this, l, index](int, int frame, int fps, int ms, float quality,
                                              float bitRate, int64_t size, int totalMs) {
        TEvent event;
        event.Kind = TEvent::ekProgress;
        event.Lane = index;
        event.Generation = l->Generation;
        event.Progress = {frame, fps, ms, quality, bitRate, size, totalMs};
        Push(std::move(event));
    };
    lane.Engine.OnTerminate = [this, l, index](int task, bool finished, bool exception,
                                               const std::string& message) {
        if (task < 0)
            return;  // the lane's list is done; its row's own end came just before
        TEvent event;
        event.Kind = TEvent::ekEnd;
        event.Lane = index;
        event.Generation = l->Generation;
        event.Finished = finished;
        event.Exception = exception;
        event.Text = message;
        Push(std::move(event));
    };
    // Every engine hears every library line; only the one whose task logged it (task >= 0)
    // passes it on.
    lane.Engine.OnLog = [this, l, index](int task, TLogLevel level, const std::string& text) {
        if (task < 0 || !OnRowLog)
            return;
        TEvent event;
        event.Kind = TEvent::ekLog;
        event.Lane = index;
        event.Generation = l->Generation;
        event.Level = level;
        event.Text = text;
        Push(std::move(event));
    };
}

void TParallelBatch::Push(TEvent event)
{
    {
        std::lock_guard lock(FQueueMutex);
        FQueue.push_back(std::move(event));
    }
    if (OnWake)
        OnWake();
}

void TParallelBatch::Start()
{
    TBatchState& batch = FWindow.Batch();
    batch.Converting = true;
    batch.UserAborted = false;
    batch.BatchFinished = false;
    batch.IsLastRow = false;
    batch.IdleTicks = 0;
    batch.CurrentRow = -1;
    for (auto& lane : FLanes) {
        lane->Engine.StopTasks();
        lane->Engine.ClearTaskList();
        lane->Row = -1;
    }
    {
        std::lock_guard lock(FQueueMutex);
        FQueue.clear();
    }
    FLanes.front()->Builder->DeleteOldScripts();
    FLanes.front()->Builder->BeginBatch();  // the ledger is shared by every lane
    FWindow.SetProgressBar(0);
    FCursor = -1;
    FRowsToConvert = 0;
    for (int row = 0; row < FWindow.RowCount(); ++row)
        FRowsToConvert += FWindow.RowChecked(row);
    FRowsEnded = 0;
    FRunning = true;
    FillLanes();
    if (batch.BatchFinished && !Busy())
        FinishBatch();
}

void TParallelBatch::Tick()
{
    Pump();
    if (!FRunning)
        return;
    FillLanes();
    if (FWindow.Batch().BatchFinished && !Busy())
        FinishBatch();
}

void TParallelBatch::Pump()
{
    std::deque<TEvent> events;
    {
        std::lock_guard lock(FQueueMutex);
        events.swap(FQueue);
    }
    for (const TEvent& event : events)
        Apply(event);
}

void TParallelBatch::Apply(const TEvent& event)
{
    TLane& lane = *FLanes[event.Lane];
    // Events of a row that has ended already (or of an earlier batch) change nothing.
    if (lane.Row < 0 || event.Generation != lane.Generation)
        return;
    const int row = lane.Row;
    switch (event.Kind) {
    case TEvent::ekProgress: {
        const TRowProgress& p = event.Progress;
        if (const std::string percent = ProgressCellText(p.CurrentMs, p.TotalMs); !percent.empty()) {
            FWindow.SetRowCell(row, rcProgress, percent);
            lane.Percent = std::stoi(percent);
        }
        FWindow.SetRowCell(row, rcFrames, FramesCellText(p.Frame));
        if (OnRowProgress)
            OnRowProgress(row, p);
        break;
    }
    case TEvent::ekLog:
        if (OnRowLog)
            OnRowLog(row, event.Level, event.Text);
        break;
    case TEvent::ekEnd:
        // A task that was stopped did not finish its input: its output holds what was
        // converted until then.
        if (event.Exception)
            EndRow(lane, "Fail", event.Text);
        else
            EndRow(lane, event.Finished ? "Done" : "Abort", "");
        break;
    }
}

void TParallelBatch::EndRow(TLane& lane, const std::string& status, const std::string& reason)
{
    const int row = lane.Row;
    lane.Row = -1;
    lane.Percent = 0;
    lane.SourceKey.clear();
    lane.OutputKey.clear();
    lane.Builder->ReleaseOutput();
    ++FRowsEnded;
    FWindow.SetRowCell(row, rcProgress, status);
    if (OnRowEnded)
        OnRowEnded(row, status, reason);
}

void TParallelBatch::FillLanes()
{
    TBatchState& batch = FWindow.Batch();
    for (auto& lane : FLanes) {
        if (batch.BatchFinished || !FRunning)
            break;
        if (lane->Row < 0 && !FillLane(*lane))
            break;
    }
    batch.Converting = Busy() || !batch.BatchFinished;
}

// Hands the next checked row to a free lane; a row that cannot be started ends "Fail" at
// once and the next one is tried. False when no row was started now.
bool TParallelBatch::FillLane(TLane& lane)
{
    TBatchState& batch = FWindow.Batch();
    for (;;) {
        const int row = NextCheckedRow();
        if (row < 0) {
            batch.BatchFinished = true;
            return false;
        }
        if (WaitsForRunningRow(row, lane))
            return false;
        FCursor = row;
        batch.CurrentRow = row;
        batch.IsLastRow = row == FWindow.RowCount() - 1;
        // Whatever the lane's engine still holds is gone before the new row's events count.
        lane.Engine.StopTasks();
        lane.Engine.ClearTaskList();
        ++lane.Generation;
        lane.Engine.SetCodecThreads(CodecThreadsFor(row));
        lane.Row = row;
        if (lane.Builder->StartRow(row)) {
            const TJobRecord& job = lane.Builder->LastJob();
            lane.SourceKey = PathKey(job.SourcePath);
            lane.OutputKey = PathKey(job.OutputPath);
            if (OnRowStarted)
                OnRowStarted(row, job);
            return true;
        }
        EndRow(lane, "Fail", lane.Builder->LastJob().FailText);
    }
}

int TParallelBatch::NextCheckedRow() const
{
    for (int row = FCursor + 1; row < FWindow.RowCount(); ++row)
        if (FWindow.RowChecked(row))
            return row;
    return -1;
}

// Two rows at once must not write the same file, nor write the file the other reads: the
// later row waits until the earlier has ended, as it would in a one-row batch.
bool TParallelBatch::WaitsForRunningRow(int row, const TLane& lane) const
{
    const std::string output = PathKey(lane.Builder->OutputPathOf(row));
    const std::string source = PathKey(std::string(TrimText(FWindow.RowCaption(row))));
    for (const auto& other : FLanes) {
        if (other->Row < 0)
            continue;
        if (output == other->OutputKey || output == other->SourceKey || source == other->OutputKey)
            return true;
    }
    return false;
}

void TParallelBatch::FinishBatch()
{
    TBatchState& batch = FWindow.Batch();
    FRunning = false;
    FWindow.StopDriverTimer();
    for (auto& lane : FLanes)
        lane->Engine.ClearTaskList();
    FWindow.ShowInformation(kCompletedText);
    FWindow.SetProgressBar(0);
    FWindow.EnableControls();
    batch.Converting = false;
}

void TParallelBatch::Stop()
{
    TBatchState& batch = FWindow.Batch();
    if (Busy())
        batch.UserAborted = true;
    batch.BatchFinished = true;
    FRunning = false;
    FWindow.StopDriverTimer();
    for (auto& lane : FLanes)
        lane->Engine.StopTasks();
    FWindow.SetProgressBar(0);
    FWindow.EnableControls();
    batch.Converting = false;
}

void TParallelBatch::PauseTasks()
{
    for (auto& lane : FLanes)
        lane->Engine.PauseTasks();
}

void TParallelBatch::ResumeTasks()
{
    for (auto& lane : FLanes)
        lane->Engine.ResumeTasks();
}

bool TParallelBatch::Busy() const
{
    return std::any_of(FLanes.begin(), FLanes.end(), [](const auto& lane) { return lane->Row >= 0; });
}

int TParallelBatch::OverallPercent() const
{
    if (FRowsToConvert <= 0)
        return 0;
    int sum = FRowsEnded * 100;
    for (const auto& lane : FLanes)
        if (lane->Row >= 0)
            sum += lane->Percent;
    return std::min(100, sum / FRowsToConvert);
}

}  // namespace tavrin
