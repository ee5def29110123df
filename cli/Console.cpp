#include "Console.h"

#include <algorithm>
#include <cstdio>
#include <string_view>

namespace tavrin::cli {

std::string FormatProgress(const TProgress& p) {
    const int ms = std::max(p.DurationMs, 0);
    char text[160];
    int n = std::snprintf(text, sizeof text,
                          "frame=%5d fps=%3d q=%.1f size=%8lldkB time=%02d:%02d:%02d.%02d bitrate=%6.1fkbits/s",
                          p.Frame, p.Fps, double(p.Quality), static_cast<long long>(p.SizeBytes / 1024),
                          ms / 3600000, ms / 60000 % 60, ms / 1000 % 60, ms / 10 % 100,
                          double(p.BitrateKbps));
    std::string line(text, std::clamp(n, 0, int(sizeof text) - 1));
    if (p.TotalMs > 0)
        line += "  " + std::to_string(p.Complete ? 100 : std::min<int64_t>(int64_t(ms) * 100 / p.TotalMs, 100)) + "%";
    return line;
}

void TConsole::Line(const std::string& text) {
    std::lock_guard l(mutex_);
    ClearProgress();
    std::string_view body(text);
    while (!body.empty() && (body.back() == '\n' || body.back() == '\r'))
        body.remove_suffix(1);
    out_ << body << '\n';
    DrawProgress();
}

void TConsole::Progress(const std::string& text) {
    std::lock_guard l(mutex_);
    progress_ = text;
    DrawProgress();
}

void TConsole::EndProgress() {
    std::lock_guard l(mutex_);
    if (drawnWidth_ > 0)
        out_ << '\n' << std::flush;
    drawnWidth_ = 0;
    progress_.clear();
}

void TConsole::ClearProgress() {
    if (drawnWidth_ > 0)
        out_ << '\r' << std::string(drawnWidth_, ' ') << '\r';
    drawnWidth_ = 0;
}

// Blanks cover the tail of a longer previous line.
void TConsole::DrawProgress() {
    if (!progress_.empty()) {
        out_ << '\r' << progress_;
        if (drawnWidth_ > progress_.size())
            out_ << std::string(drawnWidth_ - progress_.size(), ' ');
        drawnWidth_ = std::max(drawnWidth_, progress_.size());
    }
    out_ << std::flush;
}

}  // namespace tavrin::cli
