// The codec threads of a task's decoders and encoders, chosen when the task is launched.
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
    for (TInputFile& in : files_->Inputs)
        for (TInputStreamInfo& st : in.Streams)
            SetThreads(st.Decoder.get(), count);
    for (TOutputFile& out : files_->Outputs)
        for (TOutputStreamInfo& st : out.Streams)
            SetThreads(st.Encoder.get(), count);
}

}  // namespace tavrin
