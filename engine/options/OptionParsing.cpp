// Number, line, colour, matrix and date conversions of the option language.
#include "options/OptionParsing.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <limits>

#include "common/FFMpegException.h"

namespace tavrin {
namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

[[noreturn]] void NotInteger(const std::string& text) {
    throw FFMpegException("'" + text + "' is not a valid integer value");
}

// Sign, then "$"/"0x"/"x" hexadecimal or decimal digits, nothing after them. Hexadecimal
// texts may use the full unsigned width (they are bit patterns); decimal ones must fit.
bool ReadInteger(const std::string& text, int bits, int64_t& out) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    int base = 10;
    if (i < text.size() && text[i] == '$') {
        base = 16, ++i;
    } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16, i += 2;
    } else if (i < text.size() && (text[i] == 'x' || text[i] == 'X')) {
        base = 16, ++i;
    }
    uint64_t magnitude = 0;
    const char* first = text.data() + i;
    const char* last = text.data() + text.size();
    auto [end, ec] = std::from_chars(first, last, magnitude, base);
    if (ec != std::errc() || end != last || first == last)
        return false;
    const uint64_t limit = base == 16 ? (bits == 64 ? UINT64_MAX : 0xFFFFFFFFull)
                                      : (uint64_t(1) << (bits - 1)) - (negative ? 0 : 1);
    if (magnitude > limit)
        return false;
    if (base == 16 && bits == 32)
        magnitude = static_cast<uint64_t>(static_cast<int64_t>(static_cast<int32_t>(static_cast<uint32_t>(magnitude))));
    out = static_cast<int64_t>(negative ? uint64_t(0) - magnitude : magnitude);
    return true;
}

bool ReadFloat(const std::string& text, double& out) {
    std::string t = TrimText(text);
    const char* first = t.data();
    const char* last = t.data() + t.size();
    if (first != last && *first == '+' && last - first > 1 && first[1] != '-') ++first;
    auto [end, ec] = std::from_chars(first, last, out, std::chars_format::general);
    return ec == std::errc() && end == last && first != last && std::isfinite(out);
}

}  // namespace

std::string TrimText(const std::string& text) {
    size_t b = 0, e = text.size();
    while (b < e && IsBlank(text[b])) ++b;
    while (e > b && IsBlank(text[e - 1])) --e;
    return text.substr(b, e - b);
}

int ParseInt(const std::string& text) {
    int64_t v = 0;
    if (!ReadInteger(text, 32, v)) NotInteger(text);
    return static_cast<int>(v);
}

int64_t ParseInt64(const std::string& text) {
    int64_t v = 0;
    if (!ReadInteger(text, 64, v)) NotInteger(text);
    return v;
}

double ParseFloat(const std::string& text) {
    double v = 0;
    if (!ReadFloat(text, v))
        throw FFMpegException("'" + text + "' is not a valid floating point value");
    return v;
}

int ParseIntOr(const std::string& text, int fallback) {
    int64_t v = 0;
    return ReadInteger(text, 32, v) ? static_cast<int>(v) : fallback;
}

double ParseFloatOr(const std::string& text, double fallback) {
    double v = 0;
    return ReadFloat(text, v) ? v : fallback;
}

int CStrToInt(const std::string& text, size_t& pos) {
    if (pos >= text.size()) return 0;
    const char* start = text.c_str() + pos;
    char* end = nullptr;
    long long v = std::strtoll(start, &end, 0);
    pos += static_cast<size_t>(end - start);
    if (v > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
    if (v < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
    return static_cast<int>(v);
}

double CStrToDouble(const std::string& text, size_t& pos) {
    size_t i = pos;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    const char* first = text.data() + i;
    const char* last = text.data() + text.size();
    if (first != last && *first == '+') ++first;
    double v = 0;
    auto [end, ec] = std::from_chars(first, last, v, std::chars_format::general);
    if (ec != std::errc() && ec != std::errc::result_out_of_range) return 0;
    pos = static_cast<size_t>(end - text.data());
    return v;
}

std::vector<std::pair<std::string, std::string>> SplitOptionLines(const std::string& text) {
    std::string t = TrimText(text);
    std::vector<std::pair<std::string, std::string>> lines;
    if (t.empty()) return lines;
    for (size_t start = 0;;) {
        const size_t end = t.find_first_of("\r\n", start);
        std::string line = t.substr(start, end == std::string::npos ? std::string::npos : end - start);
        const size_t eq = line.find('=');
        if (eq == std::string::npos)
            lines.emplace_back(line, "");
        else
            lines.emplace_back(line.substr(0, eq), line.substr(eq + 1));
        if (end == std::string::npos) break;
        start = end + ((t[end] == '\r' && t[end + 1] == '\n') ? 2 : 1);
    }
    return lines;
}

// Fixed-point BT.601 with 10 fractional bits; arithmetic shifts on negative sums floor.
std::array<int, 3> ColorToYuv(uint32_t bgr) {
    const int r = bgr & 0xFF, g = (bgr >> 8) & 0xFF, b = (bgr >> 16) & 0xFF;
    const int y = (307 * r + 602 * g + 117 * b + 512) >> 10;
    const int u = (((-173 * r - 340 * g + 512 * b + 511) >> 10) + 128) & 0xFF;
    const int v = (((512 * r - 429 * g - 84 * b + 511) >> 10) + 128) & 0xFF;
    return {y, u, v};
}

uint32_t ResolveColor(uint32_t color) {
    if (!(color & 0x80000000u))
        return color & 0x00FFFFFFu;
    // Desktop defaults of the common system colours (0x00BBGGRR), by index.
    struct Entry { uint32_t index, bgr; };
    static constexpr Entry kSystem[] = {
        {1, 0x00000000}, {4, 0x00F0F0F0}, {5, 0x00FFFFFF}, {7, 0x00000000},
        {8, 0x00000000}, {12, 0x00ABABAB}, {13, 0x00FF9933}, {14, 0x00FFFFFF},
        {15, 0x00F0F0F0}, {16, 0x00A0A0A0}, {17, 0x006D6D6D}, {18, 0x00000000},
        {20, 0x00FFFFFF}, {21, 0x00696969}, {22, 0x00E3E3E3}, {23, 0x00000000},
        {24, 0x00E1FFFF},
    };
    for (const Entry& e : kSystem)
        if (e.index == (color & 0xFF)) return e.bgr;
    return 0;
}

std::array<uint16_t, 64> ParseMatrix(const std::string& text) {
    std::array<uint16_t, 64> m{};
    const char* p = text.c_str();
    for (int i = 0; i < 64; ++i) {
        const long v = std::strtol(p, nullptr, 10);
        // A zero coefficient divides by zero in the encoder; matrices are 8-bit.
        if (v < 1 || v > 255)
            throw FFMpegException("Matrix coefficient " + std::to_string(i) + " must be between 1 and 255 in \"" + text + "\"");
        m[i] = static_cast<uint16_t>(v);
        p = std::strchr(p, ',');
        if (!p && i < 63)
            throw FFMpegException("Syntax error in matrix \"" + text + "\" at coeff " + std::to_string(i));
        if (p) ++p;
    }
    return m;
}

double ParseAspect(const std::string& text) {
    const size_t colon = text.find(':');
    if (colon == std::string::npos)
        return ParseFloatOr(text, 0);
    const int num = ParseIntOr(text.substr(0, colon), 0);
    const int den = ParseIntOr(text.substr(colon + 1), 0);
    return den <= 0 ? 0 : static_cast<double>(num) / den;
}

// Daylight saving only ever adds to the offset, in either hemisphere, so the smaller of
// the January and July offsets is standard time.
long StandardZoneOffset() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    long offset = std::numeric_limits<long>::max();
    for (int month : {0, 6}) {
        std::tm probe{};
        probe.tm_year = local.tm_year;
        probe.tm_mon = month;
        probe.tm_mday = 1;
        probe.tm_hour = 12;
        std::time_t t = timegm(&probe);
        std::tm lt{};
        localtime_r(&t, &lt);
        offset = std::min(offset, static_cast<long>(lt.tm_gmtoff));
    }
    return offset;
}

int64_t DateTimeToUnix(double days, long zoneOffsetSeconds) {
    constexpr double kUnixEpochDays = 25569.0;  // 1 Jan 1970 in days since 30 Dec 1899
    return std::llround((days - kUnixEpochDays) * 86400.0 - static_cast<double>(zoneOffsetSeconds));
}

}  // namespace tavrin
