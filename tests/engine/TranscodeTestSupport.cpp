#include "TranscodeTestSupport.h"

#include "HostileMedia.h"

namespace tavrin::test {

void RunConversion(const ConversionSetup& setup, Conversion& c);

bool Conversion::Logged(const std::string& text) const {
    for (const std::string& l : logs)
        if (l.find(text) != std::string::npos)
            return true;
    return false;
}

Conversion Convert(const ConversionSetup& setup) {
    Conversion c;
    RunConversion(setup, c);
    return c;
}

// Everything the engine's threads touch is declared before the engine, which waits for
// them when it goes.
void RunConversion(const ConversionSetup& setup, Conversion& c) {
    std::mutex mutex;
    std::condition_variable done;
    bool over = false;
    TFFmpegEngine engine;
    engine.SetLogLevel(setup.level);
    engine.SetProgressInterval(setup.progressIntervalMs);
    engine.SetCodecThreads(setup.codecThreads);
    engine.OnLog = [&](int, TLogLevel, const std::string& msg) {
        std::lock_guard l(mutex);
        c.logs.push_back(msg);
    };
    if (setup.withProgressHandler)
        engine.OnProgress = [&](int, int frame, int fps, int ms, float q, float br, int64_t size, int total) {
            ProgressRecord r{frame, fps, ms, q, br, size, total};
            {
                std::lock_guard l(mutex);
                c.progress.push_back(r);
            }
            if (setup.onProgress)
                setup.onProgress(engine, r);
        };
    engine.OnTerminate = [&](int index, bool finished, bool exception, const std::string& msg) {
        std::lock_guard l(mutex);
        if (index >= 0) {
            c.finished = finished;
            c.exception = exception;
            c.message = msg;
        } else {
            over = true;
            done.notify_all();
        }
    };
    TInputOptions in;
    in.ExtraOptions = setup.inputLines;
    const int index = engine.AddInputTask(setup.input, &in);
    c.added = index >= 0;
    if (!c.added) {
        c.message = engine.LastErrorText();
        return;
    }
    TOutputOptions out;
    out.ExtraOptions = setup.outputLines;
    if (setup.configure)
        setup.configure(out);
    c.created = engine.SetTaskOutput(index, setup.output, &out);
    if (!c.created) {
        c.message = engine.LastErrorText();
        return;
    }
    engine.StartTasks(1);
    std::unique_lock l(mutex);
    EXPECT_TRUE(done.wait_for(l, std::chrono::seconds(120), [&] { return over; })) << "conversion hung";
}

std::string MakeClip(const std::filesystem::path& dir, const std::string& name, const std::string& args) {
    const std::string path = (dir / name).string();
    EXPECT_EQ(Shell("ffmpeg -hide_banner -loglevel error -y " + args + " '" + path + "'"), 0) << args;
    KeepInput(path);
    return path;
}

}  // namespace tavrin::test
