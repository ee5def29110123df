// Private state of TFrameHooks, shared by its two source files.
#pragma once

#include "binding/FrameHook.h"
#include "binding/FrameHookApi.h"
#include "binding/Owners.h"

namespace tavrin {

struct TFrameHooks::Entry {
    FrameHookConfigureFn configure = nullptr;
    FrameHookProcessFn process = nullptr;
    FrameHookReleaseFn release = nullptr;
    void* context = nullptr;
};

struct TFrameHooks::Buffers {
    BufferPtr hook;
    int hookSize = 0;
    BufferPtr rgb;
    int rgbSize = 0;
    SwsPtr toRgb;
    SwsPtr fromRgb;
};

}  // namespace tavrin
