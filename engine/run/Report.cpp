// The progress report and the per-frame statistics file.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "common/FFMpegException.h"
#include "run/TranscodeRun.h"

namespace tavrin {
namespace {

template <typename... Args>
void Append(std::string& line, const char* fmt, Args... args) {
    char buf[256];
    std::snprintf(buf, sizeof buf, fmt, args...);
    line += buf;
}

double Psnr(double d) { return -10.0 * std::log(d) / std::log(10.0); }

}  // namespace

std::string TTranscodeRun::PsnrText(const TOutputStreamState& ost, bool final) const {
    const AVCodecContext* enc = ost.Enc;
    std::string text = "PSNR=";
    double errorSum = 0, scaleSum = 0;
    for (int j = 0; j < 3; ++j) {
        double error = static_cast<double>(final ? ost.TotalError[j] : ost.LastError[j]);
        double scale = static_cast<double>(enc->width) * enc->height * 255.0 * 255.0;
        if (final)
            scale *= ost.FrameNumber;
        if (j)
            scale /= 4;
        errorSum += error;
        scaleSum += scale;
        Append(text, "%c:%2.2f ", "YUV"[j], Psnr(error / scale));
    }
    Append(text, "*:%2.2f ", Psnr(errorSum / scaleSum));
    return text;
}

void TTranscodeRun::Report(bool final) {
    const int64_t total = OutputBytes(final);
    std::unique_lock lock(statsLock_);
    std::string line;
    double ti = 1e10;
    int frames = -1, fps = -1;
    float quality = -1.0f;
    bool firstVideo = true;
    // Subtitles are sparse: their last line may end long before the pictures and sound do,
    // so they tell the time only of an output that has nothing else.
    const bool onlySubtitles = std::all_of(ost_.begin(), ost_.end(), [](const TOutputStreamState& o) {
        return o.Enc->codec_type == AVMEDIA_TYPE_SUBTITLE;
    });
    for (const TOutputStreamState& ost : ost_) {
        if (ost.Enc->codec_type == AVMEDIA_TYPE_VIDEO) {
            const float q = ost.EncodingNeeded ? static_cast<float>(ost.LastQuality) / FF_QP2LAMBDA : -1.0f;
            if (!firstVideo) {
                Append(line, "q=%2.1f ", q);
            } else {
                if (ost.FrameNumber < 1)
                    return;  // nothing to tell before the first picture
                firstVideo = false;
                const double elapsed = static_cast<double>(av_gettime() - loopStartClock_) / 1000000.0;
                frames = ost.FrameNumber;
                fps = elapsed > 1 ? static_cast<int>(frames / elapsed + 0.5) : 0;
                quality = q;
                Append(line, "frame=%5d fps=%3d q=%3.1f ", frames, fps, q);
                if (final)
                    line += "L";
                if (opt_.QpHistogram) {
                    const int qp = static_cast<int>(std::lrint(q));
                    if (qp >= 0 && qp < 52)
                        ++qpHistogram_[qp];
                    for (int j = 0; j < 32; ++j)
                        Append(line, "%X", static_cast<int>(std::lrint(std::log2(qpHistogram_[j] + 1))));
                }
                if (ost.EncodingNeeded && (ost.Enc->flags & AV_CODEC_FLAG_PSNR))
                    line += PsnrText(ost, final);
            }
        }
        if (ost.LastPts != AV_NOPTS_VALUE && (onlySubtitles || ost.Enc->codec_type != AVMEDIA_TYPE_SUBTITLE)) {
            const double t = static_cast<double>(ost.LastPts) * av_q2d(ost.Stream->time_base);
            if (t > 0 && t < ti)
                ti = t;
        }
    }
    const int64_t videoBytes = VideoBytes, audioBytes = AudioBytes;
    lock.unlock();
    if (ti >= 1e10)
        ti = 0;  // nothing written yet
    // The streams are written at their own pace, a late one may have just begun: the time
    // told never goes back.
    ti = std::max({ti, reportedTime_, 0.01});
    reportedTime_ = ti;
    const bool handler = task_.ProgressHandlerBound();
    if (handler || task_.Verbosity > 0 || final) {
        const double bitrate = static_cast<double>(total) * 8 / ti / 1000.0;
        Append(line, "size=%8.0fkB time=%0.2f bitrate=%6.1fkbits/s", static_cast<double>(total) / 1024, ti, bitrate);
        if (task_.Verbosity > 1)
            Append(line, " dup=%d drop=%d", DupCount, DropCount);
        if (handler)
            task_.ReportProgress(frames, fps, static_cast<int>(ti * 1000), quality, static_cast<float>(bitrate), total,
                                 task_.TotalOutputDuration);
        else if (task_.Verbosity >= 0)
            Log(1, line);
    }
    if (final && task_.Verbosity >= 0 && task_.LogHandlerBound()) {
        const double raw = static_cast<double>(videoBytes + audioBytes + ExtraBytes);
        std::string summary;
        Append(summary, "video:%1.0fkB audio:%1.0fkB global headers:%1.0fkB muxing overhead %f%%\r\n",
               videoBytes / 1024.0, audioBytes / 1024.0, ExtraBytes / 1024.0,
               raw > 0 ? 100.0 * (static_cast<double>(total) - raw) / raw : 0.0);
        Log(1, summary);
    }
}

void TTranscodeRun::WriteVideoStats(TOutputStreamState& ost, int frameSize) {
    if (!videoStats_) {
        videoStats_.reset(std::fopen(opt_.VideoStatsFileName->c_str(), "w"));
        if (!videoStats_)
            throw FFMpegException("fopen fail: " + *opt_.VideoStatsFileName);
    }
    const AVCodecContext* enc = ost.Enc;
    if (enc->codec_type != AVMEDIA_TYPE_VIDEO)
        return;
    FILE* f = videoStats_.get();
    std::fprintf(f, "frame= %5d q= %2.1f ", ost.FrameNumber, static_cast<double>(ost.LastQuality) / FF_QP2LAMBDA);
    if (enc->flags & AV_CODEC_FLAG_PSNR)
        std::fprintf(f, "PSNR= %6.2f ",
                     Psnr(static_cast<double>(ost.LastError[0]) / (enc->width * enc->height * 255.0 * 255.0)));
    std::fprintf(f, "f_size= %6d ", frameSize);
    const double tb = av_q2d(enc->time_base);
    const double ti = std::max(static_cast<double>(ost.SyncOpts) * tb, 0.01);
    std::fprintf(f, "s_size= %8.0fkB time= %0.3f br= %7.1fkbits/s avg_br= %7.1fkbits/s ",
                 static_cast<double>(VideoBytes) / 1024, ti, frameSize * 8 / tb / 1000.0,
                 static_cast<double>(VideoBytes) * 8 / ti / 1000.0);
    std::fprintf(f, "type= %c\n", ost.LastPictType);
}

}  // namespace tavrin
