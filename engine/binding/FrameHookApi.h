/* The interface a frame-hook library exports ("Configure", "Process", "Release").
 * Plain C so that hook libraries can be written in C. */
#ifndef TAVRIN_FRAME_HOOK_API_H
#define TAVRIN_FRAME_HOOK_API_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* The picture a hook works on in place: four plane pointers and their line sizes. */
typedef struct TFrameHookPicture {
    uint8_t* data[4];
    int linesize[4];
} TFrameHookPicture;

/* argv[0] is the hook library's file name. Returns 0 on success. */
typedef int (*FrameHookConfigureFn)(void** ctxp, int argc, char* argv[]);
/* pix_fmt is the library's pixel format number; pts is in microseconds. */
typedef void (*FrameHookProcessFn)(void* ctx, TFrameHookPicture* pict, int pix_fmt, int width,
                                   int height, int64_t pts);
typedef void (*FrameHookReleaseFn)(void* ctx);

#ifdef __cplusplus
}
#endif

#endif
