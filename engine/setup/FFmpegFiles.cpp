// Releasing everything a task opened or created.
#include <filesystem>
#include <system_error>

#include "options/FFmpeg.h"
#include "options/OptionContexts.h"
#include "setup/TaskFiles.h"
#include "binding/Binding.h"

namespace tavrin {

// An output left empty is deleted, so a run that wrote nothing leaves no file behind; after
// a failure the part written is deleted too, as it would pass for a finished file.
void TCustomFFmpeg::ReleaseFiles(bool deleteOutputs) noexcept {
    std::lock_guard codecs(CodecLock());  // freeing an open codec closes it
    DropFiles(deleteOutputs);
}

void TCustomFFmpeg::DropFiles(bool deleteOutputs) noexcept {
    *optionContexts_ = TOptionContexts{};
    deleteOutputs |= files_->DiscardOutputs;
    files_->DiscardOutputs = false;
    for (TOutputFile& out : files_->Outputs) {
        out.Streams.clear();
        out.Context.reset();
        std::error_code ec;
        if (out.Created.StillThere() &&
            (deleteOutputs || (std::filesystem::file_size(out.Created.Path, ec) == 0 && !ec)))
            std::filesystem::remove(out.Created.Path, ec);
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

std::vector<TRational> TCustomFFmpeg::InputVideoFrameRates() const {
    std::vector<TRational> rates;
    for (const TInputFile& in : files_->Inputs) {
        for (unsigned j = 0; in.Context && j < in.Context->nb_streams; ++j) {
            const AVStream* st = in.Context->streams[j];
            if (st->codecpar->codec_type == AVMEDIA_TYPE_VIDEO && st->r_frame_rate.den != 0)
                rates.push_back({st->r_frame_rate.num, st->r_frame_rate.den});
        }
    }
    return rates;
}

}  // namespace tavrin
