/* A frame-hook library for the tests: fills the first plane with a value given as the
 * first argument (255 when none), so a test can see that the hook ran. */
#include <stdlib.h>
#include <string.h>

#include "binding/FrameHookApi.h"

typedef struct {
    int value;
} FillContext;

int Configure(void** ctxp, int argc, char* argv[]) {
    FillContext* ctx = malloc(sizeof *ctx);
    if (!ctx)
        return -1;
    ctx->value = argc > 1 ? atoi(argv[1]) : 255;
    if (argc > 2 && strcmp(argv[2], "fail") == 0) {
        free(ctx);
        return -1;
    }
    *ctxp = ctx;
    return 0;
}

void Process(void* opaque, TFrameHookPicture* pict, int pix_fmt, int width, int height, int64_t pts) {
    (void)pix_fmt;
    (void)pts;
    FillContext* ctx = opaque;
    for (int y = 0; y < height; ++y)
        memset(pict->data[0] + (long)y * pict->linesize[0], ctx->value, (size_t)width);
}

void Release(void* ctx) { free(ctx); }
