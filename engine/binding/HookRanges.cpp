#include <algorithm>
#include <cstdlib>

#include "binding/FrameHook.h"

namespace tavrin {
namespace {

std::string Trim(const std::string& s) {
    const auto b = s.find_first_not_of(" \t\r\n");
    if (b == std::string::npos)
        return {};
    return s.substr(b, s.find_last_not_of(" \t\r\n") - b + 1);
}

// A whole-text 64-bit integer, or -1 when the text is not one.
int64_t ReadInt64(const std::string& text) {
    const std::string t = Trim(text);
    if (t.empty())
        return -1;
    char* end = nullptr;
    const long long v = std::strtoll(t.c_str(), &end, 10);
    return *end == '\0' ? v : -1;
}

}  // namespace

std::vector<THookRange> ParseHookRanges(const std::string& text) {
    std::vector<THookRange> ranges;
    const std::string all = Trim(text);
    size_t pos = 0;
    while (!all.empty() && pos <= all.size()) {
        const size_t comma = std::min(all.find(',', pos), all.size());
        const std::string piece = Trim(all.substr(pos, comma - pos));
        pos = comma + 1;
        const size_t dash = piece.find('-');
        if (dash == std::string::npos)
            continue;
        const int64_t start = ReadInt64(piece.substr(0, dash)) * 1000;
        const int64_t end = ReadInt64(piece.substr(dash + 1)) * 1000;
        if (start <= end && end >= 0)
            ranges.push_back({start, end});
    }
    std::stable_sort(ranges.begin(), ranges.end(),
                     [](const THookRange& a, const THookRange& b) { return a.End < b.End; });
    return ranges;
}

}  // namespace tavrin
