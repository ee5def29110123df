// Writes log lines and one progress line that is rewritten in place, from any thread.
#pragma once

#include <cstdint>
#include <mutex>
#include <ostream>
#include <string>

namespace tavrin::cli {

struct TProgress {
    int Frame = 0;
    int Fps = 0;
    int DurationMs = 0;
    float Quality = 0;
    float BitrateKbps = 0;
    int64_t SizeBytes = 0;
    int TotalMs = 0;  // the expected output duration; 0 when unknown
    // The run went through to its end: the container's duration may differ from the
    // streams' by a few milliseconds, the work done does not.
    bool Complete = false;
};

// "frame=  250 fps= 25 q=4.0 size=    1234kB time=00:00:10.00 bitrate=1500.0kbits/s  40%"
std::string FormatProgress(const TProgress& p);

class TConsole {
public:
    explicit TConsole(std::ostream& out) : out_(out) {}
    // A whole line; the progress line is cleared first and drawn again after it.
    void Line(const std::string& text);
    void Progress(const std::string& text);
    // Leaves the last progress line on screen and moves below it.
    void EndProgress();

private:
    void ClearProgress();
    void DrawProgress();

    std::mutex mutex_;
    std::ostream& out_;
    std::string progress_;
    size_t drawnWidth_ = 0;
};

}  // namespace tavrin::cli
