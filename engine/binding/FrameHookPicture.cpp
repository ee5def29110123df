// The picture side of the frame hooks: the hook buffer and the bitmap round trip.
#include <cstring>

#include "binding/FrameHookState.h"

namespace tavrin {

namespace {

// Grows only: the buffer is reused for every later picture of the task.
bool SizeBuffer(BufferPtr& buf, int& size, int needed) {
    if (needed <= 0)
        return false;
    if (buf && size >= needed)
        return true;
    buf.reset(static_cast<uint8_t*>(av_malloc(static_cast<size_t>(needed))));
    size = buf ? needed : 0;
    return static_cast<bool>(buf);
}

PictureRef RefOf(const AVFrame* f) {
    PictureRef p;
    for (int i = 0; i < 4; ++i) {
        p.data[i] = f->data[i];
        p.linesize[i] = f->linesize[i];
    }
    return p;
}

PictureRef LayOver(uint8_t* buf, int pixFmt, int w, int h) {
    PictureRef p;
    av_image_fill_arrays(p.data, p.linesize, buf, static_cast<AVPixelFormat>(pixFmt), w, h, 1);
    return p;
}

}  // namespace

TFrameHooks::TFrameHooks() : buf_(std::make_unique<Buffers>()) {}

PictureRef TFrameHooks::WorkingPicture(const AVFrame* decoded, bool deinterlace) {
    const auto fmt = static_cast<AVPixelFormat>(decoded->format);
    const int w = decoded->width, h = decoded->height;
    if (!SizeBuffer(buf_->hook, buf_->hookSize, av_image_get_buffer_size(fmt, w, h, 1))) {
        LogLine(0, "hook buf malloc error.");
        return RefOf(decoded);
    }
    PictureRef work = LayOver(buf_->hook.get(), fmt, w, h);
    const PictureRef src = RefOf(decoded);
    if (deinterlace) {
        if (DeinterlacePicture(work, src, fmt, w, h))
            return work;
        LogLine(0, "deinterlace error.");
        return src;
    }
    av_image_copy(work.data, work.linesize, const_cast<const uint8_t**>(src.data), src.linesize,
                  fmt, w, h);
    return work;
}

bool TFrameHooks::ToRgb(const PictureRef& pic, int pixFmt, int w, int h, PictureRef& rgb) {
    if (pixFmt == AV_PIX_FMT_BGR24) {
        rgb = pic;
        return true;
    }
    if (!SizeBuffer(buf_->rgb, buf_->rgbSize, av_image_get_buffer_size(AV_PIX_FMT_BGR24, w, h, 1))) {
        LogLine(0, "hook buf malloc error.");
        return false;
    }
    rgb = LayOver(buf_->rgb.get(), AV_PIX_FMT_BGR24, w, h);
    buf_->toRgb.reset(sws_getCachedContext(buf_->toRgb.release(), w, h, static_cast<AVPixelFormat>(pixFmt),
                                      w, h, AV_PIX_FMT_BGR24, SWS_BICUBIC, nullptr, nullptr, nullptr));
    if (!buf_->toRgb) {
        LogLine(0, "Cannot initialize the toRGB conversion context");
        return false;
    }
    sws_scale(buf_->toRgb.get(), pic.data, pic.linesize, 0, h, rgb.data, rgb.linesize);
    return true;
}

void TFrameHooks::RunCustomHook(const PictureRef& pic, int pixFmt, int w, int h, int64_t pts) {
    // A picture of another size gets a bitmap of its own size; the old one would overflow.
    if (!bitmap_ || bitmap_->Width != w || bitmap_->Height != h)
        bitmap_ = std::make_unique<TBitmap>(w, h);
    PictureRef rgb;
    bool stop = !ToRgb(pic, pixFmt, w, h, rgb);
    bool update = !stop;  // without an RGB picture there is nothing to hand out or take back
    if (!stop) {
        for (int y = 0; y < h; ++y)
            std::memcpy(bitmap_->ScanLine(y), rgb.data[0] + static_cast<ptrdiff_t>(y) * rgb.linesize[0],
                        static_cast<size_t>(bitmap_->RowBytes()));
        std::lock_guard canvas(bitmap_->Canvas());
        try {
            OnCustom(*bitmap_, frameCounter_, pts, update, stop);
        } catch (const std::exception& e) {
            LogLine(0, std::string("Error occurs OnCustomHook: ") + e.what());
            update = false;
        }
    }
    // A handler may change this picture and stop the hook for the ones after it.
    if (update) {
        for (int y = 0; y < h; ++y)
            std::memcpy(rgb.data[0] + static_cast<ptrdiff_t>(y) * rgb.linesize[0], bitmap_->ScanLine(y),
                        static_cast<size_t>(bitmap_->RowBytes()));
        if (pixFmt != AV_PIX_FMT_BGR24) {
            buf_->fromRgb.reset(sws_getCachedContext(buf_->fromRgb.release(), w, h, AV_PIX_FMT_BGR24, w, h,
                                                static_cast<AVPixelFormat>(pixFmt), SWS_BICUBIC,
                                                nullptr, nullptr, nullptr));
            if (!buf_->fromRgb) {
                LogLine(0, "Cannot initialize the fromRGB conversion context");
                stop = true;
            } else {
                sws_scale(buf_->fromRgb.get(), rgb.data, rgb.linesize, 0, h, pic.data, pic.linesize);
            }
        }
    }
    if (stop) {
        OnCustom = nullptr;
        action_ = haStop;
        UsingFrameHooks = false;
    }
}

}  // namespace tavrin
