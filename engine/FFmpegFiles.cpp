// Releasing everything a task opened or created.
#include <filesystem>
#include <system_error>

#include "FFmpeg.h"
#include "OptionContexts.h"
#include "TaskFiles.h"
#include "binding/Binding.h"

namespace tavrin {

// An output left empty is deleted, so a run that wrote nothing leaves no file behind.
void TCustomFFmpeg::ReleaseFiles() noexcept {
    *optionContexts_ = TOptionContexts{};
    std::lock_guard codecs(CodecLock());  // freeing an open codec closes it
    for (TOutputFile& out : files_->Outputs) {
        const bool writesFile = out.Context && !(out.Context->oformat->flags & AVFMT_NOFILE);
        out.Streams.clear();
        out.Context.reset();
        std::error_code ec;
        if (writesFile && std::filesystem::file_size(out.FileName, ec) == 0 && !ec)
            std::filesystem::remove(out.FileName, ec);
    }
    files_->Outputs.clear();
    files_->Inputs.clear();
    Opt.IntraMatrix.reset();
    Opt.InterMatrix.reset();
    Opt.VideoStatsFileName.reset();
    Opt.GenericOptionNames.clear();
    Opt.VideoCodecName.reset();
    Opt.AudioCodecName.reset();
    Opt.SubtitleCodecName.reset();
    Opt.VideoStandard.reset();
    Opt.VideoRcOverride.reset();
    Opt.AudioLanguage.clear();
    Opt.SubtitleLanguage.clear();
    Hooks.Release();
}

}  // namespace tavrin
