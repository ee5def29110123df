// Reading an input file ahead of the decoding, on a thread of its own: a few packets wait
// in a bounded queue, so that reading and demuxing overlap the work on earlier packets.
#pragma once

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

#include "binding/Owners.h"
#include "run/Stage.h"

namespace tavrin {

class TPacketReader {
public:
    using ThreadNote = std::function<void(std::thread::id)>;
    TPacketReader(AVFormatContext* input, size_t depth, ThreadNote threadStarts, ThreadNote threadEnds);
    ~TPacketReader();
    TPacketReader(const TPacketReader&) = delete;
    TPacketReader& operator=(const TPacketReader&) = delete;

    // As av_read_frame: the next packet into pkt, or the reading's end or error (< 0).
    int Read(AVPacket* pkt);
    // Ends the reading; the file is not touched after this returns.
    void Stop() noexcept;
    // Seconds spent reading, and that the reader of packets spent waiting for one.
    double BusySeconds() const { return static_cast<double>(busyMicros_.load()) / 1e6; }
    double WaitSeconds() const { return static_cast<double>(waitMicros_.load()) / 1e6; }

private:
    void Loop(const ThreadNote& starts, const ThreadNote& ends);

    AVFormatContext* input_;
    const size_t depth_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<PacketPtr> packets_;
    int end_ = 0;  // what av_read_frame said last, once it failed
    bool stopping_ = false;
    std::atomic<int64_t> busyMicros_{0}, waitMicros_{0};
    std::thread thread_;
};

}  // namespace tavrin
