// Runs one conversion through the engine's public path and records what it reported.
#pragma once

#include <string>
#include <vector>

#include "EngineTestSupport.h"
#include "MediaInfo.h"

namespace tavrin::test {

struct ProgressRecord {
    int frame, fps, durationMs;
    float quality, bitRate;
    int64_t size;
    int totalMs;
};

struct Conversion {
    bool added = false, created = false;
    bool finished = false, exception = false;
    std::string message;  // LastErrorText or the termination message
    std::vector<std::string> logs;
    std::vector<ProgressRecord> progress;

    bool Logged(const std::string& text) const;
};

struct ConversionSetup {
    std::string input;
    std::string output;
    std::string inputLines;   // TInputOptions.ExtraOptions
    std::string outputLines;  // TOutputOptions.ExtraOptions
    TLogLevel level = llInfo;
    int progressIntervalMs = 500;
    int codecThreads = 0;  // the engine's CodecThreads: 0 automatic
    bool withProgressHandler = true;
    // Fills record fields that the option lines cannot override.
    std::function<void(TOutputOptions&)> configure;
    // Called on the task's thread with each progress report; may stop the engine.
    std::function<void(TFFmpegEngine&, const ProgressRecord&)> onProgress;
};

inline ConversionSetup Job(std::string input, std::string output, std::string inputLines, std::string outputLines) {
    ConversionSetup s;
    s.input = std::move(input);
    s.output = std::move(output);
    s.inputLines = std::move(inputLines);
    s.outputLines = std::move(outputLines);
    return s;
}

Conversion Convert(const ConversionSetup& setup);

// Makes a clip with the ffmpeg CLI (arguments after "ffmpeg -y"); the path.
std::string MakeClip(const std::filesystem::path& dir, const std::string& name, const std::string& args);

}  // namespace tavrin::test
