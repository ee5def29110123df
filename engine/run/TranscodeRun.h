// One run of the transcoding loop: the per-run tables, counters and work buffers, and the
// steps that decode, convert, encode and write. Lives from the start of Transcode to its end.
#pragma once

#include <atomic>
#include <cstdio>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "options/FFmpeg.h"
#include "setup/TaskFiles.h"
#include "binding/AudioShape.h"
#include "binding/Owners.h"
#include "binding/PictureFormat.h"
#include "binding/Rotation.h"
#include "run/PacketReader.h"
#include "run/Stage.h"

namespace tavrin {

struct FileCloser {
    void operator()(FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<FILE, FileCloser>;

struct TInputFileState {
    bool EofReached = false;
    int FirstStreamIndex = 0;
    int StreamCount = 0;
};

struct TInputStreamState {
    int FileIndex = 0, Index = 0;
    AVStream* Stream = nullptr;
    AVCodecContext* Dec = nullptr;  // owned by the input file's stream info
    // As the stream was described when the run began: the file's reader may rewrite the
    // description on its own thread while the run goes on.
    AVMediaType Type = AVMEDIA_TYPE_UNKNOWN;
    int SampleRate = 0, FrameSize = 0;
    bool Discard = true;
    bool DecodingNeeded = false;
    bool DecoderOpen = false;
    bool RateEmulation = false;
    int64_t Start = 0;
    int Frame = 0;
    int64_t NextPts = AV_NOPTS_VALUE;
    int64_t Pts = 0;
    // Where the next picture of a frame-threaded decoder starts, at the earliest.
    int64_t PictureClock = AV_NOPTS_VALUE;
    bool IsStart = true;
    float Quality = 0;         // of the last decoded picture
    FramePtr Decoded;          // reused for every decoded unit
    bool Deinterlace = false;  // interlaced pictures come out progressive
    bool DeinterlaceLogged = false;
    FramePtr Deinterlaced;     // the last of them
    int Rotation = 0;          // clockwise degrees that make decoded pictures upright
    TPictureRotator Rotator;
    FramePtr Hooked;           // a view of the hooks' working copy
    SwrPtr ToS16;              // decoded audio to 16-bit interleaved
    TAudioShape ToS16Input;    // what ToS16 was made for
    std::vector<uint8_t> Samples;  // 16-bit interleaved samples of the last decoded unit
    TAudioShape SamplesShape;      // their rate and layout
};

struct TOutputStreamState {
    int FileIndex = 0, Index = 0;
    int SourceIndex = 0;
    AVStream* Stream = nullptr;
    AVCodecContext* Enc = nullptr;  // owned by the output file's stream info
    float StreamQuality = 0;        // fixed quantiser as lambda, 0 when none
    bool EncodingNeeded = false;
    bool EncoderOpen = false;
    int FrameNumber = 0;
    TInputStreamState* SyncSource = nullptr;
    int64_t SyncOpts = 0;
    // Stages of an encoded stream: its picture work, then its encoder (the run's own
    // thread itself when the run is not pipelined).
    TStage* PictureStage = nullptr;
    TStage* EncodeStage = nullptr;
    PacketPtr Received;  // the encoder's packets, on the encoder's stage
    // Under the run's stats lock while pipelined: the report and the input choice read them.
    int64_t LastPts = AV_NOPTS_VALUE;  // of the last written packet, stream time base
    int64_t PacketsWritten = 0;
    // Video
    bool VideoCrop = false, VideoPad = false;
    int CropTop = 0, CropLeft = 0;
    int PadTop = 0, PadBottom = 0, PadLeft = 0, PadRight = 0;
    FramePtr PictureTemp;   // the picture at the encoder's size and format, when one is needed
    FramePtr Formatted;     // a view of the cropped decoded picture
    FramePtr ScaleTarget;   // a view of PictureTemp inside the padding
    SwsPtr Scaler;          // made for the pictures described by ScalerSource
    struct { int width = 0, height = 0; TPictureColours colours; } ScalerSource;
    FramePtr Picture;  // the frame handed to the encoder
    int LastQuality = 0;
    char LastPictType = '?';
    uint64_t LastError[3] = {};
    uint64_t TotalError[3] = {};
    // Audio
    bool AudioResample = false;
    bool AudioStarted = false;  // the first sample is written: from now on SyncOpts only counts
    SwrPtr Resampler;
    TAudioShape ResamplerInput;  // what Resampler was made for
    int64_t ResampledIn = 0, ResampledOut = 0;  // samples through the current Resampler
    SwrPtr ToEncoder;  // 16-bit interleaved to the encoder's sample format
    std::vector<uint8_t> Fifo;
    size_t FifoStart = 0;
    FramePtr AudioFrame;
    FilePtr PassLogFile;
};

class TTranscodeRun {
public:
    explicit TTranscodeRun(TCustomFFmpeg& task);
    ~TTranscodeRun();

    void Prepare();
    void MainLoop();
    void EndOfRun();

    // Counters of the run, also read by the report (the bytes under the stats lock).
    int64_t VideoBytes = 0, AudioBytes = 0, ExtraBytes = 0;
    int DupCount = 0, DropCount = 0;

private:
    // Preparation
    void BuildInputTables();
    void BuildOutputTables();
    void CheckMaps() const;
    int ChooseSource(const TOutputStreamState& ost) const;
    std::vector<int> Candidates(AVMediaType type) const;
    void SetUpStream(TOutputStreamState& ost);
    void SetUpCopy(TOutputStreamState& ost, TInputStreamState& ist);
    void SetUpVideoEncoding(TOutputStreamState& ost, TInputStreamState& ist);
    void SetUpDeinterlace(TInputStreamState& ist);
    void SetUpSameQuality(TOutputStreamState& ost, TInputStreamState& ist);
    void SetUpTwoPass(TOutputStreamState& ost, int n);
    void LogStreamMapping();
    void LogLeftOutStreams();
    void OpenEncoders();
    void SetUpSubtitleEncoder(TOutputStreamState& ost);
    void OpenDecoders();
    void OpenDecoder(TInputStreamState& ist);
    void CopyMetadataMaps();
    void WriteHeaders();
    std::string HeaderFailureText(size_t file) const;
    // Stages (Pipeline.cpp)
    bool Pipelined() const;
    void StartStages();
    void FinishStages();
    void StopStages() noexcept;
    void LogStageTimes();
    TStage& AddStage(size_t depth);
    TStage::ThreadNote NoteThread(bool running);
    int ReadPacket(int file, AVPacket* pkt);
    bool OutputTimeMayReach(double limit) const;
    // Main loop
    int ChooseInput(double& smallestOutputTime);
    bool LimitReached(double smallestOutputTime) const;
    void FixTimestamps(AVPacket* pkt, TInputStreamState& ist, int fileIndex);
    // Decoding
    int DecodePacket(TInputStreamState& ist, const AVPacket* pkt);
    int ReceiveFrames(TInputStreamState& ist, const AVPacket* pkt);
    void HandleDecodedAudio(TInputStreamState& ist, const AVPacket* pkt);
    void HandleDecodedVideo(TInputStreamState& ist, const AVPacket* pkt);
    const AVFrame* ProgressivePicture(TInputStreamState& ist, const AVFrame* pic);
    const AVFrame* HookedPicture(TInputStreamState& ist, const AVFrame* pic);
    int DecodeSubtitle(TInputStreamState& ist, const AVPacket* pkt);
    void CopyPacket(TInputStreamState& ist, const AVPacket* pkt);
    void CopyToOutput(TOutputStreamState& ost, TInputStreamState& ist, const AVPacket* pkt);
    void EmulateRate(TInputStreamState& ist);
    bool Started(const TInputStreamState& ist) const;
    void FlushEncoders(TInputStreamState& ist);
    std::string EmptyOutputText() const;
    // Encoding
    void EncodeAudio(TOutputStreamState& ost, TInputStreamState& ist, const uint8_t* buf, int size);
    void UseResamplerFor(TOutputStreamState& ost, const TAudioShape& in);
    const uint8_t* SyncAudio(TOutputStreamState& ost, TInputStreamState& ist, const uint8_t* buf, int& size);
    const uint8_t* StartAudioTimeline(TOutputStreamState& ost, TInputStreamState& ist, const uint8_t* buf, int& size);
    void ConvertAudio(TOutputStreamState& ost, const uint8_t* data, int samples);
    std::optional<int> Resample(TOutputStreamState& ost, const uint8_t* data, int samples);
    void DrainResampler(TOutputStreamState& ost);
    void PushOutHeldSamples(TOutputStreamState& ost);
    void FlushResampler(TOutputStreamState& ost);
    void EncodeAudioFrames(TOutputStreamState& ost, const uint8_t* data, int size);
    void SendAudioFrame(TOutputStreamState& ost, const uint8_t* data, int samples);
    void FlushAudio(TOutputStreamState& ost);
    int EncodeVideo(TOutputStreamState& ost, TInputStreamState& ist, const AVFrame* pic);
    void HandPicture(TOutputStreamState& ost, const AVFrame* pic, int64_t pts, int count, float quality);
    void EncodePicture(TOutputStreamState& ost, FramePtr pic, int64_t pts, int count, float quality);
    int VideoSyncCount(TOutputStreamState& ost, TInputStreamState& ist);
    const AVFrame* FormatPicture(TOutputStreamState& ost, const AVFrame* pic);
    AVFrame* WritableTemp(TOutputStreamState& ost, bool scale);
    SwsContext* ScalerFor(TOutputStreamState& ost, const AVFrame* src, int width, int height);
    float SendQuality(const TOutputStreamState& ost, const TInputStreamState& ist) const;
    int SendPicture(TOutputStreamState& ost, const AVFrame* pic, const AVFrame* final, int64_t pts, float quality);
    void FlushEncoder(TOutputStreamState& ost);
    void EncodeSubtitle(TOutputStreamState& ost, TInputStreamState& ist, AVSubtitle* sub, int64_t pts);
    int DrainEncoder(TOutputStreamState& ost);
    void WritePacket(TOutputStreamState& ost, AVPacket* pkt);
    void MuxPacket(const TOutputStreamState& ost, AVPacket* pkt);
    int64_t OutputBytes(bool final) const;
    void WriteVideoStats(TOutputStreamState& ost, int frameSize);
    void Report(bool final);
    std::string PsnrText(const TOutputStreamState& ost, bool final) const;
    void Log(int level, const std::string& text) { task_.Log(level, text); }

    TCustomFFmpeg& task_;
    TOptionSettings& opt_;
    TTaskFiles& files_;
    std::vector<TInputFileState> inputFiles_;
    std::vector<TInputStreamState> ist_;
    std::vector<TOutputStreamState> ost_;
    PacketPtr packet_;
    PacketPtr outPacket_;
    int64_t loopStartClock_ = 0;
    int64_t lastReport_ = 0;
    FilePtr videoStats_;
    std::vector<uint8_t> silence_;
    std::vector<uint8_t> scratch_;
    int qpHistogram_[52] = {};
    double reportedTime_ = 0;  // the output time the last report told, in seconds
    // The stages; declared last so that they end before the tables their jobs use.
    mutable std::mutex statsLock_;
    std::atomic<int64_t> outputBytes_{0};  // of output 0, as the writer last saw it
    bool pipelined_ = false;
    TRunFailure failure_;
    std::vector<std::unique_ptr<TPacketReader>> readers_;  // by input file, when pipelined
    std::vector<std::unique_ptr<TStage>> stages_;          // pictures, then encoders
    std::unique_ptr<TStage> writer_;
};

}  // namespace tavrin
