// The codec threads of a task's decoders and encoders, chosen when the task is launched.
#include <algorithm>

#include "options/FFmpeg.h"
#include "setup/TaskFiles.h"

namespace tavrin {
namespace {

void SetThreads(AVCodecContext* c, int count) {
    // An open codec has made its threads already.
    if (c && !avcodec_is_open(c))
        c->thread_count = count;
}

}  // namespace

void TCustomFFmpeg::SetCodecThreads(int count) {
    codecThreads_ = count;
    for (TInputFile& in : files_->Inputs)
        for (TInputStreamInfo& st : in.Streams)
            SetThreads(st.Decoder.get(), count);
    for (TOutputFile& out : files_->Outputs)
        for (TOutputStreamInfo& st : out.Streams)
            SetThreads(st.Encoder.get(), count);
}

void TCustomFFmpeg::NoteStageThread(std::thread::id id, bool running) {
    std::lock_guard lock(stageMutex_);
    if (running)
        stageThreads_.push_back(id);
    else
        stageThreads_.erase(std::remove(stageThreads_.begin(), stageThreads_.end(), id), stageThreads_.end());
}

bool TCustomFFmpeg::RunsStageThread(std::thread::id id) const {
    std::lock_guard lock(stageMutex_);
    return std::find(stageThreads_.begin(), stageThreads_.end(), id) != stageThreads_.end();
}

}  // namespace tavrin
