// What ffprobe reads from a media file: the oracle for tests that write media.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace tavrin::test {

using Fields = std::map<std::string, std::string>;

struct MediaInfo {
    std::vector<Fields> streams;  // codec_type, codec_name, width, height, r_frame_rate, display_aspect_ratio, tags.language, ...
    Fields format;                // start_time, tags.creation_time, ...
    double duration = -1;         // of the container, seconds
    bool ok = false;              // ffprobe could read the file

    // The first stream of that type ("video", "audio"), or null.
    const Fields* First(const std::string& type) const;
    int Count(const std::string& type) const;
};

// Runs ffprobe on the file, counting packets per stream (nb_read_packets).
MediaInfo ProbeMedia(const std::string& path);

// Runs a shell command; its exit status.
int Shell(const std::string& command);

}  // namespace tavrin::test
