// Move-only owners of library objects: each handle is freed by the library's own function.
#pragma once

#include <memory>

#include "binding/LibAV.h"

namespace tavrin {

template <auto Fn>
struct FreeWith {
    template <typename T>
    void operator()(T* p) const { Fn(p); }
};

namespace detail {
inline void FreeFrame(AVFrame* f) { av_frame_free(&f); }
inline void FreePacket(AVPacket* p) { av_packet_free(&p); }
inline void FreeCodecContext(AVCodecContext* c) { avcodec_free_context(&c); }
inline void FreeSwr(SwrContext* s) { swr_free(&s); }
inline void FreeInputContext(AVFormatContext* f) { avformat_close_input(&f); }
inline void FreeBuffer(void* p) { av_free(p); }
}  // namespace detail

using FramePtr = std::unique_ptr<AVFrame, FreeWith<detail::FreeFrame>>;
using PacketPtr = std::unique_ptr<AVPacket, FreeWith<detail::FreePacket>>;
using CodecContextPtr = std::unique_ptr<AVCodecContext, FreeWith<detail::FreeCodecContext>>;
using SwsPtr = std::unique_ptr<SwsContext, FreeWith<sws_freeContext>>;
using SwrPtr = std::unique_ptr<SwrContext, FreeWith<detail::FreeSwr>>;
using InputContextPtr = std::unique_ptr<AVFormatContext, FreeWith<detail::FreeInputContext>>;
using BufferPtr = std::unique_ptr<uint8_t, FreeWith<detail::FreeBuffer>>;

inline FramePtr MakeFrame() { return FramePtr(av_frame_alloc()); }
inline PacketPtr MakePacket() { return PacketPtr(av_packet_alloc()); }

}  // namespace tavrin
