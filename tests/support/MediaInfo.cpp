#include "MediaInfo.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <sys/wait.h>

namespace tavrin::test {
namespace {

std::string Quote(const std::string& s) {
    std::string q = "'";
    for (char c : s)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

// "streams.stream.0.codec_name=\"mpeg4\"" -> stream 0, key codec_name, value mpeg4.
void ParseLine(const std::string& line, MediaInfo& info) {
    const auto eq = line.find('=');
    if (eq == std::string::npos)
        return;
    std::string key = line.substr(0, eq), value = line.substr(eq + 1);
    if (value.size() >= 2 && value.front() == '"')
        value = value.substr(1, value.size() - 2);
    if (key == "format.duration") {
        info.duration = value == "N/A" ? -1 : std::atof(value.c_str());
        return;
    }
    if (key.rfind("format.", 0) == 0) {
        info.format[key.substr(7)] = value;
        return;
    }
    const std::string prefix = "streams.stream.";
    if (key.rfind(prefix, 0) != 0)
        return;
    const auto dot = key.find('.', prefix.size());
    const size_t index = std::stoul(key.substr(prefix.size(), dot - prefix.size()));
    if (info.streams.size() <= index)
        info.streams.resize(index + 1);
    info.streams[index][key.substr(dot + 1)] = value;
}

}  // namespace

const Fields* MediaInfo::First(const std::string& type) const {
    for (const Fields& s : streams)
        if (auto it = s.find("codec_type"); it != s.end() && it->second == type)
            return &s;
    return nullptr;
}

int MediaInfo::Count(const std::string& type) const {
    int n = 0;
    for (const Fields& s : streams)
        if (auto it = s.find("codec_type"); it != s.end() && it->second == type)
            ++n;
    return n;
}

MediaInfo ProbeMedia(const std::string& path) {
    const std::string cmd =
        "ffprobe -v error -count_packets -show_entries "
        "stream=codec_type,codec_name,width,height,r_frame_rate,sample_rate,channels,nb_read_packets,bit_rate,"
        "sample_aspect_ratio,display_aspect_ratio"
        ":stream_tags=language:format=duration,start_time:format_tags=creation_time -of flat " + Quote(path) +
        " 2>/dev/null";
    MediaInfo info;
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(cmd.c_str(), "r"), pclose);
    if (!pipe)
        return info;
    std::string text;
    char buf[4096];
    while (size_t n = std::fread(buf, 1, sizeof buf, pipe.get()))
        text.append(buf, n);
    info.ok = pclose(pipe.release()) == 0;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);)
        ParseLine(line, info);
    return info;
}

int Shell(const std::string& command) {
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace tavrin::test
