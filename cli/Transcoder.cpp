#include "Transcoder.h"

#include <pthread.h>
#include <unistd.h>

#include <algorithm>
#include <mutex>

#include "FFmpegEngine.h"

namespace tavrin::cli {

sigset_t RunSignals() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGUSR1);
    return set;
}

void BlockRunSignals() {
    const sigset_t set = RunSignals();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

namespace {

class TRun {
public:
    TRun(const TCommandLine& line, TConsole& console)
        : line_(line), console_(console), waiter_(pthread_self()) {}

    int Execute() {
        if (!Prepare())
            return kExitFailed;
        engine_.StartTasks(1);
        const int signal = WaitForEnd();
        console_.EndProgress();
        if (signal != 0)
            return 128 + signal;
        return Outcome();
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
        TOutputOptions out;
        out.FileName = line_.Output;
        out.ExtraOptions = line_.OutputOptions;
        if (!engine_.SetTaskOutput(0, line_.Output, &out))
            return Fail(engine_.LastErrorText());
        return true;
    }

    void Bind() {
        engine_.OnLog = [this](int, TLogLevel, const std::string& text) { console_.Line(text); };
        engine_.OnProgress = [this](int, int frame, int fps, int durationMs, float quality,
                                    float bitrate, int64_t size, int totalMs) {
            if (showProgress_)
                console_.Progress(FormatProgress({frame, fps, durationMs, quality, bitrate, size, totalMs}));
        };
        engine_.OnTerminate = [this](int index, bool finished, bool exception, const std::string& message) {
            std::lock_guard l(mutex_);
            if (index < 0) {
                ended_ = true;
                pthread_kill(waiter_, SIGUSR1);
                return;
            }
            reported_ = true;
            finished_ = finished && !exception;
            message_ = message;
        };
    }

    // Returns the stopping signal, or 0 when the task ended by itself. A second Ctrl+C
    // leaves at once, without the end of the output.
    int WaitForEnd() {
        const sigset_t set = RunSignals();
        int stoppedBy = 0;
        for (;;) {
            {
                std::lock_guard l(mutex_);
                if (ended_)
                    return stoppedBy;
            }
            int signal = 0;
            if (sigwait(&set, &signal) != 0 || signal == SIGUSR1)
                continue;
            if (stoppedBy != 0) {
                console_.Line("tavrin-transcode: stopped without finishing the output");
                _exit(128 + signal);
            }
            stoppedBy = signal;
            console_.Line("tavrin-transcode: stopping, finishing the output (press Ctrl+C again to quit at once)");
            engine_.StopTasks();
        }
    }

    int Outcome() {
        std::lock_guard l(mutex_);
        if (reported_ && finished_)
            return kExitFinished;
        if (message_.empty())
            message_ = reported_ ? "the conversion ended before the end of the input"
                                 : "the conversion ended without a result";
        console_.Line("tavrin-transcode: " + message_);
        return kExitFailed;
    }

    bool Fail(const std::string& text) {
        console_.Line("tavrin-transcode: " + text);
        return false;
    }

    const TCommandLine& line_;
    TConsole& console_;
    const pthread_t waiter_;
    bool showProgress_ = true;
    std::mutex mutex_;
    bool ended_ = false;
    bool reported_ = false;
    bool finished_ = false;
    std::string message_;
    // Last, so that it is gone before the state its handlers use.
    TFFmpegEngine engine_;
};

}  // namespace

int Transcode(const TCommandLine& line, TConsole& console) { return TRun(line, console).Execute(); }

}  // namespace tavrin::cli
