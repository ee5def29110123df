// The task's option settings.
#include "FFMpegException.h"
#include "FFmpeg.h"

namespace tavrin {

void TCustomFFmpeg::ResetOptions() {}

void TCustomFFmpeg::ApplyInputOptions(const TInputOptions& options) {
    TInputOptions defaults;
    defaults.FileName = options.FileName;
    if (options.ForceFormat != defaults.ForceFormat || options.StartTime != defaults.StartTime ||
        options.ProgramID != defaults.ProgramID || options.ExtraOptions != defaults.ExtraOptions)
        throw FFMpegException("Input settings are not supported yet");
}

void TCustomFFmpeg::ApplyOutputOptions(const TOutputOptions& options) {
    TOutputOptions defaults;
    defaults.FileName = options.FileName;
    defaults.UseCustomHook = options.UseCustomHook;
    defaults.UseBeforeHook = options.UseBeforeHook;
    defaults.HookRanges = options.HookRanges;
    if (options.ExtraOptions != defaults.ExtraOptions || options.VideoCodec != defaults.VideoCodec ||
        options.AudioCodec != defaults.AudioCodec || options.FrameSize != defaults.FrameSize)
        throw FFMpegException("Output settings are not supported yet");
}

}  // namespace tavrin
