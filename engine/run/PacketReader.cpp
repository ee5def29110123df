#include "run/PacketReader.h"

namespace tavrin {

TPacketReader::TPacketReader(AVFormatContext* input, size_t depth, ThreadNote threadStarts, ThreadNote threadEnds)
    : input_(input), depth_(depth < 1 ? 1 : depth) {
    thread_ = std::thread([this, s = std::move(threadStarts), e = std::move(threadEnds)] { Loop(s, e); });
}

TPacketReader::~TPacketReader() { Stop(); }

int TPacketReader::Read(AVPacket* pkt) {
    std::unique_lock lock(mutex_);
    if (packets_.empty() && end_ == 0) {
        const auto start = std::chrono::steady_clock::now();
        changed_.wait(lock, [this] { return !packets_.empty() || end_ < 0; });
        waitMicros_ += MicrosSince(start);
    }
    if (packets_.empty())
        return end_;
    const bool wasFull = packets_.size() >= depth_;
    av_packet_move_ref(pkt, packets_.front().get());
    packets_.pop_front();
    lock.unlock();
    if (wasFull)
        changed_.notify_all();
    return 0;
}

void TPacketReader::Stop() noexcept {
    if (!thread_.joinable())
        return;
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void TPacketReader::Loop(const ThreadNote& starts, const ThreadNote& ends) {
    if (starts)
        starts(std::this_thread::get_id());
    for (;;) {
        PacketPtr pkt = MakePacket();
        const auto start = std::chrono::steady_clock::now();
        const int ret = pkt ? av_read_frame(input_, pkt.get()) : AVERROR(ENOMEM);
        busyMicros_ += MicrosSince(start);
        std::unique_lock lock(mutex_);
        if (ret < 0) {
            end_ = ret;
            changed_.notify_all();
            break;
        }
        changed_.wait(lock, [this] { return packets_.size() < depth_ || stopping_; });
        if (stopping_)
            break;
        const bool wasEmpty = packets_.empty();
        packets_.push_back(std::move(pkt));
        if (wasEmpty)
            changed_.notify_all();
    }
    if (ends)
        ends(std::this_thread::get_id());
}

}  // namespace tavrin
