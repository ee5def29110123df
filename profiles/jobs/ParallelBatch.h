// The batch with several rows converting at once ("Simultaneous conversions" above 1).
//
// Each of up to N lanes has an engine of its own that runs one row's task at a time, built
// and started exactly as the one-row batch does it; when a lane's row has ended, the next
// checked row goes to that lane. So every row keeps its own task, progress, status and
// failure reason, and memory and open files grow with N, not with the list.
//
// Threads: Start, Tick, Pump, Stop, PauseTasks and ResumeTasks run on the driver's thread
// (the UI thread in the window), and so does every call of the window view and every
// OnRow... notification. The lanes' engines raise their events on worker threads; those
// are queued and OnWake is called there, on the worker thread: the owner then calls Pump
// (or Tick) on the driver's thread (the window posts it, the command line wakes its loop).
#pragma once

#include "FFmpegTypes.h"
#include "jobs/JobBuilder.h"
#include "jobs/JobWindow.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace tavrin {

class TCustomFFmpegEngine;

// An engine progress event of the row's task.
struct TRowProgress {
    int Frame = -1;
    int Fps = 0;
    int CurrentMs = 0;
    float Quality = 0;
    float BitRate = 0;
    int64_t Size = 0;
    int TotalMs = -1;
};

class TParallelBatch {
public:
    // settings: the builder whose script settings the lanes copy. The codec libraries must
    // have been loaded (LoadCodecLibraries of any engine) before Start.
    TParallelBatch(TJobWindow& window, const TJobBuilder& settings, int simultaneous);
    // Stops the lanes' tasks and waits for their threads; no notification follows.
    ~TParallelBatch();
    TParallelBatch(const TParallelBatch&) = delete;
    TParallelBatch& operator=(const TParallelBatch&) = delete;

    int Simultaneous() const { return static_cast<int>(FLanes.size()); }
    // Threads per codec of each lane's task: 0 (the default) shares the machine's cores out
    // over the rows that can run beside it (the lanes, or fewer when fewer rows are left);
    // n > 0 is n threads per codec.
    void SetCodecThreads(int n);
    // For the lanes' other engine settings (log level, priority, progress interval); call it
    // before Start, never while a task runs.
    void ForEachEngine(const std::function<void(TCustomFFmpegEngine&)>& configure);

    // Worker thread: an event waits for Pump.
    std::function<void()> OnWake;
    // Driver's thread, after the row's cells have been written.
    std::function<void(int row, const TJobRecord& job)> OnRowStarted;
    std::function<void(int row, const TRowProgress& progress)> OnRowProgress;
    // status is "Done", "Fail" or "Abort"; reason says why a row failed ("" otherwise).
    std::function<void(int row, const std::string& status, const std::string& reason)> OnRowEnded;
    // Log lines of a row's task (only asked for when set before Start).
    std::function<void(int row, TLogLevel level, const std::string& text)> OnRowLog;

    // Start, once the list and the output folder have been checked and the caller's driver
    // timer runs: Converting, UserAborted cleared, scripts of earlier jobs deleted, the
    // lanes filled from the first checked rows.
    void Start();
    // One tick of the driver timer: the queued events, free lanes filled with the next
    // checked rows, and the end of the batch once every row has ended (timer stopped,
    // "All Conversions Completed", controls enabled).
    void Tick();
    // Applies the queued events: row cells, notifications, freed lanes.
    void Pump();
    // The confirmed Stop: every running task is asked to stop (its row ends "Abort" when its
    // end is pumped), no further row starts, the controls are enabled.
    void Stop();
    // Around the Stop confirmation question.
    void PauseTasks();
    void ResumeTasks();

    // Some lane's row has not reported its end yet.
    bool Busy() const;
    // The whole batch's progress in percent: rows that ended count whole, running rows by
    // their own percentage.
    int OverallPercent() const;

private:
    struct TLane;
    // One engine event of a lane's task, waiting for the driver's thread.
    struct TEvent {
        enum TKind { ekProgress, ekLog, ekEnd } Kind = ekProgress;
        size_t Lane = 0;
        int Generation = 0;  // the lane's row when the event was raised
        TRowProgress Progress;
        bool Finished = false;
        bool Exception = false;
        TLogLevel Level = llInfo;
        std::string Text;
    };

    void BindLane(TLane& lane, size_t index);
    void Push(TEvent event);
    void Apply(const TEvent& event);
    void FillLanes();
    bool FillLane(TLane& lane);
    int NextCheckedRow() const;
    int CodecThreadsFor(int row) const;
    bool WaitsForRunningRow(int row, const TLane& lane) const;
    void EndRow(TLane& lane, const std::string& status, const std::string& reason);
    void FinishBatch();

    TJobWindow& FWindow;
    std::vector<std::unique_ptr<TLane>> FLanes;
    mutable std::mutex FQueueMutex;
    std::deque<TEvent> FQueue;
    int FCodecThreads = 0;     // 0: shared out
    int FCursor = -1;          // the last row handed to a lane
    bool FRunning = false;     // between Start and the end of the batch or Stop
    int FRowsToConvert = 0;    // checked rows at Start
    int FRowsEnded = 0;
};

}  // namespace tavrin
