// One transcoding task: its options, opened input, created output and the run of the
// transcoding loop on whatever thread the engine gives it.
#pragma once

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "common/FFmpegTypes.h"
#include "options/OptionRecords.h"
#include "options/OptionSettings.h"
#include "binding/FrameHook.h"

struct AVCodecContext;
struct AVCodecParameters;
struct AVFormatContext;
struct AVInputFormat;
struct AVOutputFormat;
struct AVStream;

namespace tavrin {

class TCustomFFmpegEngine;
class TFFmpegThread;
struct TTaskFiles;
struct TInputFile;
struct TInputStreamInfo;
struct TOutputFile;
struct TOutputStreamInfo;
struct TOptionContexts;

class TCustomFFmpeg : public std::enable_shared_from_this<TCustomFFmpeg> {
public:
    TCustomFFmpeg();
    virtual ~TCustomFFmpeg();
    TCustomFFmpeg(const TCustomFFmpeg&) = delete;
    TCustomFFmpeg& operator=(const TCustomFFmpeg&) = delete;

    // Starts the task: on the calling thread when not Threaded (returns once the run is
    // over), else returns the created thread, which the caller resumes. Returns nullptr
    // when the task cannot start (already started or terminated, or no input/output).
    TFFmpegThread* StartRun(bool Threaded, TConvertPriority Priority);
    // The whole run on the calling thread: transcoding, release of files, termination.
    void Run();
    void NotifyTerminate();
    void RequestStop();

    // Pause gate: a paused task waits wherever it polls for a stop request.
    void Suspend();
    void ResumeThread();
    bool Suspended() const { return suspended_; }
    // Waits while paused, then tells whether a stop was asked for.
    bool CheckStop();

    // --- Option language (FFmpegOptions*.cpp) ---
    // Puts every option setting back to its default and (when the libraries are loaded)
    // makes fresh generic option holders.
    void ResetOptions();
    // name=value lines; the first failing option ends the block.
    void ApplyOptionLines(const std::string& text);
    // One option by exact name; unknown names go to SetGenericOption. Throws on bad values.
    void DispatchOption(const std::string& name, const std::string& value);
    // The fall-back to the libraries' own option system; false when nothing took it.
    bool SetGenericOption(const std::string& name, const std::string& value);
    void ApplyTarget(const std::string& type, const std::string& norm, const std::string& fallbackNorm);
    void ApplyInputOptions(const TInputOptions& options);
    void ApplyOutputOptions(const TOutputOptions& options);
    void ApplyTargetFromRecord(const TOutputOptions& options);
    // Verbosity of this task and, process-wide, of the libraries.
    void SetVerbosity(int verbosity);

    // --- Input and output set-up (FFmpegInput.cpp, FFmpegOutput.cpp, FFmpegStreams.cpp) ---

    virtual bool OpenInput(const std::string& FileName);
    virtual bool CreateOutput(const std::string& FileName);
    // Adds one stream of that kind to the last created output ("newvideo" ...); throws.
    void AddStreamToLastOutput(TMediaKind kind);
    // Codec id of the named encoder/decoder of that kind (0 for an empty name); false with
    // ErrorText "Unknown %s '%s'" or "Invalid %s type '%s'".
    bool FindCodec(const std::optional<std::string>& name, TMediaKind kind, bool encoder, int& codecId);
    // Copies each recorded generic option whose flags include all of flags from the
    // option holder to target (both library objects with options).
    void ApplyContextOptions(void* target, void* optionContext, int flags) const;
    // Closes and frees every file; deletes the outputs the task created when deleteOutputs
    // (after a failure), else only those still empty.
    void ReleaseFiles(bool deleteOutputs = false) noexcept;
    // The same without CodecLock, for a task that never opened a codec.
    void DropFiles(bool deleteOutputs) noexcept;
    size_t InputFileCount() const;
    // Frame rates of the opened inputs' video streams, in file and stream order (streams
    // without a known rate are left out).
    std::vector<TRational> InputVideoFrameRates() const;
    size_t OutputFileCount() const;
    // Threads of every decoder and encoder not opened yet (CodecThreads.cpp); 0 lets the
    // libraries use every core.
    void SetCodecThreads(int count);
    // The count last set: 1 keeps the whole run on the task's thread.
    int CodecThreads() const { return codecThreads_; }

    // Threads the running task's stages work on, so that library messages logged there
    // are told as this task's.
    void NoteStageThread(std::thread::id id, bool running);
    bool RunsStageThread(std::thread::id id) const;

    // Logs through the bound log handler at that engine level. The verbosity is not
    // applied here: a message that depends on it is only made when the verbosity allows.
    void Log(int level, const std::string& text);
    void ReportProgress(int frame, int fps, int durationMs, float quality, float bitRate,
                        int64_t size, int totalMs);

    // Handlers: a task reports to the engine that owns it, event by event.
    void BindHandlers(TCustomFFmpegEngine* owner, bool log, bool progress, bool terminate);
    void BindBeforeHook(bool on);
    void BindCustomHook(bool on);
    void Unbind();
    bool LogHandlerBound() const { return owner_ && logBound_; }
    bool ProgressHandlerBound() const { return owner_ && progressBound_; }
    bool TerminateHandlerBound() const { return owner_ && terminateBound_; }

    std::atomic<TFFmpegThread*> Thread{nullptr};
    std::atomic<bool> Running{false};
    std::atomic<bool> StopRequested{false};
    std::atomic<bool> Finished{false};
    std::atomic<bool> Terminated{false};
    std::atomic<bool> ExceptionRaised{false};
    std::string ExceptionMessage;
    std::string ErrorText;
    int TotalOutputDuration = -1;
    int64_t ProgressIntervalMicros = 500000;
    std::atomic<int> Verbosity{1};

    TTaskFiles& Files() { return *files_; }
    TFrameHooks Hooks;
    TOptionSettings Opt;
    TOptionContexts& OptionContexts() { return *optionContexts_; }

protected:
    // The transcoding loop; sets Finished to !StopRequested when it ends normally.
    virtual void Transcode();

private:
    friend class TCustomFFmpegEngine;
    // Input set-up steps.
    bool OpenInputFile(const std::string& FileName);
    bool OpensAsProbed() const;
    bool HintsApplyTo(const AVInputFormat* format) const;
    bool ProbeInput(TInputFile& in, bool analysed);
    static void AssumeRealMediaPixelFormat(const std::string& fileName, AVCodecParameters* par);
    TInputStreamInfo TakeInputStream(AVStream* st, bool chosen);
    void TakeVideoParameters(AVStream* st, AVCodecContext* c, bool chosen);
    void TakeFrameSettings(const AVStream* st);
    bool RegisterInput(TInputFile&& in);
    void ResetAfterInput();
    // Output set-up steps.
    bool CreateOutputFile(const std::string& FileName);
    std::string InputNamedBy(const std::string& FileName) const;
    bool CreateStreams(TOutputFile& out);
    void SetMetadata(AVFormatContext* oc) const;
    void SetMuxing(AVFormatContext* oc) const;
    void ResetAfterOutput();
    void NewStream(TOutputFile& out, TMediaKind kind);
    void ResetStreamKind(TMediaKind kind);
    int EncoderIdFor(TMediaKind kind, const TOutputFile& out);
    TOutputStreamInfo MakeVideoEncoder(const TOutputFile& out);
    TOutputStreamInfo MakeAudioEncoder(const TOutputFile& out, AVStream* st);
    TOutputStreamInfo MakeSubtitleEncoder(AVStream* st);
    void SetVideoGeometry(AVCodecContext* e);
    void SetVideoRateControl(AVCodecContext* e, TOutputStreamInfo& info);

    void FailAtStart(const std::string& message);
    void Fail(const std::string& message);
    bool ClaimForTermination();
    void JoinOrDetachThread() noexcept;

    std::atomic<TCustomFFmpegEngine*> owner_{nullptr};
    std::atomic<bool> logBound_{false}, progressBound_{false}, terminateBound_{false};
    std::atomic<bool> beforeHookBound_{false}, customHookBound_{false};

    std::mutex stateMutex_;  // start versus terminate-without-run
    bool claimed_ = false;

    std::mutex gateMutex_;
    std::condition_variable gate_;
    std::atomic<bool> suspended_{false};

    int codecThreads_ = 0;
    mutable std::mutex stageMutex_;
    std::vector<std::thread::id> stageThreads_;

    std::unique_ptr<TTaskFiles> files_;
    std::unique_ptr<TOptionContexts> optionContexts_;
    std::unique_ptr<TFFmpegThread> ownedThread_;  // run or terminate-only thread
};

class TFFmpeg : public TCustomFFmpeg {
public:
    std::atomic<int> TaskIndex{-1};
    std::atomic<std::thread::id> ThreadID{};
    TInputOptions InputOptions;
    TOutputOptions OutputOptions;
};

}  // namespace tavrin
