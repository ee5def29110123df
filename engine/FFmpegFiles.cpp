// Opening the task's input, creating its output and releasing both.
#include <filesystem>
#include <system_error>

#include "FFMpegException.h"
#include "FFmpeg.h"
#include "TaskFiles.h"
#include "binding/Binding.h"

namespace tavrin {
bool TCustomFFmpeg::OpenInput(const std::string& FileName) {
    AVFormatContext* raw = nullptr;
    int ret = avformat_open_input(&raw, FileName.c_str(), nullptr, nullptr);
    if (ret < 0) {
        ErrorText = ErrorTextFor(FileName, RefineOpenError(FileName, ret));
        return false;
    }
    InputContextPtr ic(raw);
    {
        std::lock_guard lock(CodecLock());
        ret = avformat_find_stream_info(ic.get(), nullptr);
    }
    if (ret < 0 && Verbosity >= 0) {
        ErrorText = FileName + ": could not find codec parameters";
        return false;
    }
    if (ic->duration != AV_NOPTS_VALUE && ic->duration / 1000 > TotalOutputDuration)
        TotalOutputDuration = static_cast<int>(ic->duration / 1000);
    files_->Inputs.push_back(TInputFile{std::move(ic), FileName, 0});
    return true;
}

bool TCustomFFmpeg::CreateOutput(const std::string& FileName) {
    AVFormatContext* raw = nullptr;
    if (avformat_alloc_output_context2(&raw, nullptr, nullptr, FileName.c_str()) < 0 || !raw) {
        ErrorText = "Unable to find a suitable output format for '" + FileName + "'";
        return false;
    }
    OutputContextPtr oc(raw);
    if (!(oc->oformat->flags & AVFMT_NOFILE) &&
        avio_open(&oc->pb, FileName.c_str(), AVIO_FLAG_WRITE) < 0) {
        ErrorText = "Could not open '" + FileName + "'";
        return false;
    }
    files_->Outputs.push_back(TOutputFile{std::move(oc), FileName});
    return true;
}

// An output left empty is deleted, so a run that wrote nothing leaves no file behind.
void TCustomFFmpeg::ReleaseFiles() noexcept {
    for (TOutputFile& out : files_->Outputs) {
        const bool writesFile = out.Context && !(out.Context->oformat->flags & AVFMT_NOFILE);
        out.Context.reset();
        std::error_code ec;
        if (writesFile && std::filesystem::file_size(out.FileName, ec) == 0 && !ec)
            std::filesystem::remove(out.FileName, ec);
    }
    files_->Outputs.clear();
    files_->Inputs.clear();
    Hooks.Release();
}

}  // namespace tavrin
