// The packet loop: choose the input that lags most, read, fix timestamps, decode, report;
// then flush, write the trailers and report once more.
#include <cmath>
#include <cstdio>
#include <limits>

#include "common/FFMpegException.h"
#include "run/TranscodeRun.h"

namespace tavrin {

void TCustomFFmpeg::Transcode() {
    TTranscodeRun run(*this);
    run.Prepare();
    run.MainLoop();
    run.EndOfRun();
}

// The input feeding the output stream that is furthest behind (or, with input sync, the
// input that is furthest behind); -1 when none can be read or a frame limit is reached.
int TTranscodeRun::ChooseInput(double& smallestOutputTime) {
    std::lock_guard lock(statsLock_);
    double minInput = 1e100;
    smallestOutputTime = 1e100;
    int choice = -1;
    for (const TOutputStreamState& ost : ost_) {
        const TInputStreamState& ist = ist_[static_cast<size_t>(ost.SourceIndex)];
        const bool encodedVideo = ost.EncodingNeeded && ost.Enc->codec_type == AVMEDIA_TYPE_VIDEO;
        const double outputTime = encodedVideo ? static_cast<double>(ost.SyncOpts) * av_q2d(ost.Enc->time_base)
                                  : ost.LastPts == AV_NOPTS_VALUE ? 0.0
                                                                  : static_cast<double>(ost.LastPts) * av_q2d(ost.Stream->time_base);
        const double inputTime = static_cast<double>(ist.Pts);
        if (!inputFiles_[static_cast<size_t>(ist.FileIndex)].EofReached) {
            if (inputTime < minInput) {
                minInput = inputTime;
                if (opt_.InputSync)
                    choice = ist.FileIndex;
            }
            if (outputTime < smallestOutputTime) {
                smallestOutputTime = outputTime;
                if (!opt_.InputSync)
                    choice = ist.FileIndex;
            }
        }
        const int kind = std::min<int>(ost.Enc->codec_type, 3);
        if (kind >= 0 && ost.FrameNumber >= opt_.MaxFrames[kind])
            return -1;
    }
    return choice;
}

bool TTranscodeRun::LimitReached(double smallestOutputTime) const {
    const double limit = static_cast<double>(opt_.RecordingTime) / 1000000.0;
    if (limit <= smallestOutputTime)
        return true;
    AVIOContext* pb = files_.Outputs[0].Context->pb;
    return opt_.FileSizeLimit != 0 && pb && avio_tell(pb) > opt_.FileSizeLimit;
}

void TTranscodeRun::FixTimestamps(AVPacket* pkt, TInputStreamState& ist, int fileIndex) {
    TInputFile& in = files_.Inputs[static_cast<size_t>(fileIndex)];
    const AVRational tb = ist.Stream->time_base;
    const int64_t offset = av_rescale_q(in.TsOffset, AV_TIME_BASE_Q, tb);
    // Saturating sums: a damaged file's timestamps may sit near the 64-bit limits.
    if (pkt->dts != AV_NOPTS_VALUE)
        pkt->dts = av_sat_add64(pkt->dts, offset);
    if (pkt->pts != AV_NOPTS_VALUE)
        pkt->pts = av_sat_add64(pkt->pts, offset);
    if (fileIndex < kMaxFiles && pkt->stream_index < kMaxStreams) {
        const double scale = opt_.InputTsScale[fileIndex][pkt->stream_index];
        if (scale != 0) {
            if (pkt->pts != AV_NOPTS_VALUE)
                pkt->pts = std::llrint(static_cast<double>(pkt->pts) * scale);
            if (pkt->dts != AV_NOPTS_VALUE)
                pkt->dts = std::llrint(static_cast<double>(pkt->dts) * scale);
        }
    }
    if (pkt->dts == AV_NOPTS_VALUE || ist.NextPts == AV_NOPTS_VALUE || opt_.CopyTimestamps)
        return;
    const int64_t pktDts = av_rescale_q(pkt->dts, tb, AV_TIME_BASE_Q);
    const int64_t delta = av_sat_sub64(pktDts, ist.NextPts);
    if (delta == INT64_MIN || std::llabs(delta) > static_cast<int64_t>(opt_.DtsDeltaThreshold * 1000000) ||
        pktDts < av_sat_sub64(ist.Pts, 1)) {
        in.TsOffset = av_sat_sub64(in.TsOffset, delta);
        if (task_.Verbosity >= 3) {
            char line[128];
            std::snprintf(line, sizeof line, "timestamp discontinuity %lld, new offset= %lld",
                          static_cast<long long>(delta), static_cast<long long>(in.TsOffset));
            Log(1, line);
        }
        const int64_t d = av_rescale_q(delta, AV_TIME_BASE_Q, tb);
        pkt->dts = av_sat_sub64(pkt->dts, d);
        if (pkt->pts != AV_NOPTS_VALUE)
            pkt->pts = av_sat_sub64(pkt->pts, d);
    }
}

void TTranscodeRun::MainLoop() {
    AVPacket* pkt = packet_.get();
    StartStages();
    const double limit = static_cast<double>(opt_.RecordingTime) / 1000000.0;
    while (!task_.CheckStop()) {
        failure_.Rethrow();
        // Near a time limit the stages catch up first, so that the run stops on exactly
        // the packet it would stop on one step at a time.
        if (pipelined_ && opt_.RecordingTime != std::numeric_limits<int64_t>::max() && OutputTimeMayReach(limit))
            FinishStages();
        double smallestOutputTime = 0;
        const int file = ChooseInput(smallestOutputTime);
        if (file < 0 || LimitReached(smallestOutputTime))
            break;
        TInputFileState& state = inputFiles_[static_cast<size_t>(file)];
        if (ReadPacket(file, pkt) < 0) {
            state.EofReached = true;
            if (opt_.Shortest)
                break;
            continue;
        }
        if (opt_.PacketDump)
            av_pkt_dump_log2(nullptr, AV_LOG_DEBUG, pkt, opt_.HexDump,
                             files_.Inputs[static_cast<size_t>(file)].Context->streams[pkt->stream_index]);
        if (pkt->stream_index < state.StreamCount) {
            TInputStreamState& ist = ist_[static_cast<size_t>(state.FirstStreamIndex + pkt->stream_index)];
            if (!ist.Discard) {
                FixTimestamps(pkt, ist, file);
                if (DecodePacket(ist, pkt) < 0) {
                    if (task_.Verbosity >= 0) {
                        char line[96];
                        std::snprintf(line, sizeof line, "Error while decoding stream #%d.%d", ist.FileIndex, ist.Index);
                        Log(1, line);
                    }
                    av_packet_unref(pkt);
                    continue;
                }
            }
        }
        av_packet_unref(pkt);
        const int64_t now = av_gettime();
        if (now - lastReport_ > task_.ProgressIntervalMicros) {
            lastReport_ = now;
            Report(false);
        }
    }
    for (auto& reader : readers_)
        reader->Stop();
}

void TTranscodeRun::EndOfRun() {
    for (TInputStreamState& ist : ist_)
        if (ist.DecodingNeeded)
            DecodePacket(ist, nullptr);
    FinishStages();
    LogStageTimes();
    if (const std::string empty = EmptyOutputText(); !empty.empty()) {
        // A file with headers and no media would pass for a finished conversion. A run the
        // user stopped before its first packet stays a stop, and its empty file goes too.
        if (!task_.StopRequested)
            throw FFMpegException(empty);
        Log(0, empty);
        files_.DiscardOutputs = true;
    } else {
        for (size_t i = 0; i < files_.Outputs.size(); ++i) {
            const int ret = av_write_trailer(files_.Outputs[i].Context.get());
            if (ret < 0)
                throw FFMpegException(ErrorTextFor("av_write_trailer()", ret));
        }
    }
    Report(true);
    task_.Finished = !task_.StopRequested;
}

// Names the first output that received no packet: nothing of the input was left after the
// start position, nothing decoded, or the run was stopped before the first packet.
std::string TTranscodeRun::EmptyOutputText() const {
    for (size_t i = 0; i < files_.Outputs.size(); ++i) {
        int64_t packets = 0;
        for (const TOutputStreamState& ost : ost_)
            if (ost.FileIndex == static_cast<int>(i))
                packets += ost.PacketsWritten;
        if (packets == 0)
            return "Output file #" + std::to_string(i) + " produced no audio or video";
    }
    return {};
}

}  // namespace tavrin
