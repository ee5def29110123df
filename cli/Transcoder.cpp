#include "Transcoder.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

#include "FFmpegEngine.h"
#include "OutputRecord.h"

namespace tavrin::cli {

namespace {

class TRun {
public:
    TRun(const TCommandLine& line, TConsole& console) : line_(line), console_(console) {}

    int Execute() {
        TSignalWatch watch([this](int signal) { Stop(signal); });
        if (!Prepare())
            return kExitFailed;
        {
            std::lock_guard l(startMutex_);
            engine_.StartTasks(1);
            started_ = true;
        }
        WaitForEnd();
        console_.EndProgress();
        std::lock_guard l(startMutex_);
        return stoppedBy_ != 0 ? StoppedOutcome() : Outcome();
    }

private:
    bool Prepare() {
        if (line_.Verbosity)
            engine_.SetLogLevel(static_cast<TLogLevel>(std::clamp(*line_.Verbosity + 1, 0, int(llAll))));
        showProgress_ = engine_.LogLevel() != llQuiet;
        Bind();
        if (!engine_.LoadCodecLibraries("", true))
            return Fail("could not load the codec libraries " + engine_.LastErrorText());
        TInputOptions in;
        in.FileName = line_.Input;
        in.ExtraOptions = line_.InputOptions;
        if (engine_.AddInputTask(line_.Input, &in) < 0)
            return Fail(engine_.LastErrorText());
        TOutputOptions out = OutputRecordFor(line_);
        if (!engine_.SetTaskOutput(0, line_.Output, &out))
            return Fail(engine_.LastErrorText());
        return true;
    }

    void Bind() {
        // The engine tells everything a handler may want; the console shows what -v asks for.
        engine_.OnLog = [this](int, TLogLevel level, const std::string& text) {
            if (level <= engine_.LogLevel())
                console_.Line(text);
        };
        engine_.OnProgress = [this](int, int frame, int fps, int durationMs, float quality,
                                    float bitrate, int64_t size, int totalMs) {
            if (!showProgress_)
                return;
            std::lock_guard l(endMutex_);
            lastProgress_ = TProgress{frame, fps, durationMs, quality, bitrate, size, totalMs};
            console_.Progress(FormatProgress(*lastProgress_));
        };
        engine_.OnTerminate = [this](int index, bool finished, bool exception, const std::string& message) {
            std::lock_guard l(endMutex_);
            if (index < 0) {
                ended_ = true;
                endChanged_.notify_all();
                return;
            }
            reported_ = true;
            finished_ = finished && !exception;
            if (finished_ && lastProgress_) {
                lastProgress_->Complete = true;
                console_.Progress(FormatProgress(*lastProgress_));
            }
            exception_ = exception;
            message_ = message;
        };
    }

    // Before the run starts there is nothing to finish, so the program leaves at once; a
    // running task is stopped and its output finished. A second signal leaves at once.
    void Stop(int signal) {
        {
            std::lock_guard l(startMutex_);
            if (started_ && stoppedBy_ == 0) {
                stoppedBy_ = signal;
                signal = 0;
            }
        }
        if (signal != 0) {
            console_.EndProgress();
            console_.Line("tavrin-transcode: stopped without finishing the output");
            _exit(128 + signal);
        }
        console_.Line("tavrin-transcode: stopping, finishing the output (press Ctrl+C again to quit at once)");
        engine_.StopTasks();
    }

    void WaitForEnd() {
        std::unique_lock l(endMutex_);
        endChanged_.wait(l, [this] { return ended_; });
    }

    int Outcome() {
        std::lock_guard l(endMutex_);
        if (reported_ && finished_)
            return kExitFinished;
        if (message_.empty())
            message_ = reported_ ? "the conversion ended before the end of the input"
                                 : "the conversion ended without a result";
        console_.Line("tavrin-transcode: " + message_);
        return kExitFailed;
    }

    // A stopped run still says when finishing its output went wrong.
    int StoppedOutcome() {
        std::lock_guard l(endMutex_);
        if (exception_)
            console_.Line("tavrin-transcode: " + message_);
        return 128 + stoppedBy_;
    }

    bool Fail(const std::string& text) {
        console_.Line("tavrin-transcode: " + text);
        return false;
    }

    const TCommandLine& line_;
    TConsole& console_;
    bool showProgress_ = true;
    std::mutex startMutex_;  // orders the start against a stop request
    bool started_ = false;
    int stoppedBy_ = 0;
    std::mutex endMutex_;
    std::condition_variable endChanged_;
    bool ended_ = false;
    bool reported_ = false;
    bool finished_ = false;
    bool exception_ = false;
    std::string message_;
    std::optional<TProgress> lastProgress_;
    // Last, so that it is gone before the state its handlers use.
    TFFmpegEngine engine_;
};

}  // namespace

int Transcode(const TCommandLine& line, TConsole& console) { return TRun(line, console).Execute(); }

}  // namespace tavrin::cli
