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
    progress_.assign(1, text);
    DrawProgress();
}

void TConsole::Progress(const std::vector<std::string>& lines) {
    std::lock_guard l(mutex_);
    progress_ = lines;
    if (width_ > 1 && progress_.size() > 1)
        for (std::string& line : progress_)
            if (line.size() >= width_)
                line.resize(width_ - 1);
    DrawProgress();
}

void TConsole::SetWidth(size_t width) {
    std::lock_guard l(mutex_);
    width_ = width;
}

void TConsole::EndProgress() {
    std::lock_guard l(mutex_);
    if (drawnWidth_ > 0 || drawnLines_ > 0)
        out_ << '\n' << std::flush;
    drawnWidth_ = 0;
    drawnLines_ = 0;
    progress_.clear();
}

// Several lines are erased from the last one up, leaving the cursor where the first began.
void TConsole::ClearProgress() {
    if (drawnLines_ > 1) {
        out_ << "\r\x1b[2K";
        for (size_t i = 1; i < drawnLines_; ++i)
            out_ << "\x1b[1A\x1b[2K";
    } else if (drawnWidth_ > 0) {
        out_ << '\r' << std::string(drawnWidth_, ' ') << '\r';
    }
    drawnWidth_ = 0;
    drawnLines_ = 0;
}

// One line is rewritten in place, blanks covering the tail of a longer previous line.
void TConsole::DrawProgress() {
    const bool severalNow = progress_.size() > 1;
    if (severalNow || drawnLines_ > 1)
        ClearProgress();
    if (severalNow) {
        for (size_t i = 0; i < progress_.size(); ++i)
            out_ << (i ? "\n" : "") << progress_[i];
        drawnLines_ = progress_.size();
    } else if (!progress_.empty() && !progress_.front().empty()) {
        const std::string& line = progress_.front();
        out_ << '\r' << line;
        if (drawnWidth_ > line.size())
            out_ << std::string(drawnWidth_ - line.size(), ' ');
        drawnWidth_ = std::max(drawnWidth_, line.size());
        drawnLines_ = 1;
    }
    out_ << std::flush;
}

}  // namespace tavrin::cli
