// The run's stages: reading ahead per input file; per encoded stream its picture work and
// its encoder; one writer for the muxers. A run that shares the cores with other tasks
// (one codec thread) keeps them all on its own thread, one step after another.
#include <algorithm>
#include <cstdio>

#include "common/FFMpegException.h"
#include "run/TranscodeRun.h"

namespace tavrin {
namespace {

// Small queues: a few pictures between steps keep each busy without holding much memory.
constexpr size_t kPacketsAhead = 32;
constexpr size_t kPicturesWaiting = 3;
constexpr size_t kAudioFramesWaiting = 8;
constexpr size_t kPacketsToWrite = 64;

// Encoders hold some audio back (their delay); what they have written never reaches
// further than what they were given, and this margin covers the rest.
constexpr double kEncoderDelaySeconds = 0.5;

}  // namespace

// A run that must see each packet written before it reads the next (a size limit, per
// picture statistics) keeps to one thread, as does a task held to one codec thread.
bool TTranscodeRun::Pipelined() const {
    return task_.CodecThreads() != 1 && opt_.FileSizeLimit == 0 && !opt_.VideoStatsFileName;
}

// Tells the task which threads are its stages', for the library messages logged there.
TStage::ThreadNote TTranscodeRun::NoteThread(bool running) {
    return [t = &task_, running](std::thread::id id) { t->NoteStageThread(id, running); };
}

TStage& TTranscodeRun::AddStage(size_t depth) {
    stages_.push_back(std::make_unique<TStage>(failure_, depth, pipelined_, NoteThread(true), NoteThread(false)));
    return *stages_.back();
}

void TTranscodeRun::StartStages() {
    pipelined_ = Pipelined();
    writer_ = std::make_unique<TStage>(failure_, kPacketsToWrite, pipelined_, NoteThread(true), NoteThread(false));
    for (TOutputStreamState& ost : ost_) {
        if (!ost.EncodingNeeded)
            continue;
        ost.Received = MakePacket();
        if (!ost.Received)
            throw FFMpegException("av_mallocz fail");
        if (ost.Enc->codec_type == AVMEDIA_TYPE_VIDEO) {
            ost.PictureStage = &AddStage(kPicturesWaiting);
            ost.EncodeStage = &AddStage(kPicturesWaiting);
        } else if (ost.Enc->codec_type == AVMEDIA_TYPE_AUDIO) {
            ost.EncodeStage = &AddStage(kAudioFramesWaiting);
        }
    }
    if (pipelined_)
        for (TInputFile& in : files_.Inputs)
            readers_.push_back(
                std::make_unique<TPacketReader>(in.Context.get(), kPacketsAhead, NoteThread(true), NoteThread(false)));
}

// Every job handed over has run, in stream order: a stream's pictures before its encoder,
// the encoders before the writer.
void TTranscodeRun::FinishStages() {
    for (auto& stage : stages_)
        stage->Finish();
    if (writer_)
        writer_->Finish();
}

void TTranscodeRun::StopStages() noexcept {
    for (auto& reader : readers_)
        reader->Stop();
    for (auto& stage : stages_)
        stage->Abandon();
    if (writer_)
        writer_->Abandon();
}

int TTranscodeRun::ReadPacket(int file, AVPacket* pkt) {
    const auto i = static_cast<size_t>(file);
    return i < readers_.size() ? readers_[i]->Read(pkt) : av_read_frame(files_.Inputs[i].Context.get(), pkt);
}

// Whether the output could have reached limit seconds once the stages have caught up: the
// pictures handed over and the copied packets count as they are, the audio handed to the
// encoders with their delay on top.
bool TTranscodeRun::OutputTimeMayReach(double limit) const {
    double bound = 1e100;
    std::lock_guard lock(statsLock_);
    for (const TOutputStreamState& ost : ost_) {
        const TInputStreamState& ist = ist_[static_cast<size_t>(ost.SourceIndex)];
        if (inputFiles_[static_cast<size_t>(ist.FileIndex)].EofReached)
            continue;
        double t = ost.LastPts == AV_NOPTS_VALUE ? 0.0 : static_cast<double>(ost.LastPts) * av_q2d(ost.Stream->time_base);
        if (ost.EncodingNeeded && ost.Enc->codec_type == AVMEDIA_TYPE_VIDEO)
            t = static_cast<double>(ost.SyncOpts) * av_q2d(ost.Enc->time_base);
        else if (ost.EncodingNeeded && ost.Enc->codec_type == AVMEDIA_TYPE_AUDIO)
            t = static_cast<double>(ost.SyncOpts) / ost.Enc->sample_rate + kEncoderDelaySeconds;
        bound = std::min(bound, t);
    }
    return bound >= limit;
}

// Where the run's time went, stage by stage: busy, and (after the slash) how long those
// handing work to it waited for room.
void TTranscodeRun::LogStageTimes() {
    if (!pipelined_ || task_.Verbosity < 2)
        return;
    char part[160];
    const double wall = static_cast<double>(av_gettime() - loopStartClock_) / 1e6;
    std::snprintf(part, sizeof part, "Stage times over %.2f s:", wall);
    std::string line = part;
    for (size_t i = 0; i < readers_.size(); ++i) {
        std::snprintf(part, sizeof part, " reading #%zu %.2f s (waited for %.2f s);", i, readers_[i]->BusySeconds(),
                      readers_[i]->WaitSeconds());
        line += part;
    }
    for (const TOutputStreamState& ost : ost_) {
        const TStage* stages[] = {ost.PictureStage, ost.EncodeStage};
        const char* names[] = {"pictures", "encoding"};
        for (int k = 0; k < 2; ++k)
            if (stages[k]) {
                std::snprintf(part, sizeof part, " #%d.%d %s %.2f s / %.2f s;", ost.FileIndex, ost.Index, names[k],
                              stages[k]->BusySeconds(), stages[k]->WaitSeconds());
                line += part;
            }
    }
    std::snprintf(part, sizeof part, " writing %.2f s / %.2f s", writer_->BusySeconds(), writer_->WaitSeconds());
    Log(1, line + part);
}

}  // namespace tavrin
