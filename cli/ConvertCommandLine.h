// The command line of tavrin-convert:
//   tavrin-convert [-p PROFILE] [-o FOLDER] [--video-quality Q] [--audio-quality Q]
//                  [--size S] [--rate R] [--channels C] [--volume PERCENT]
//                  [--aspect original|4:3|16:9] [--letterbox] [--overwrite] [-j N] FILE...
//   tavrin-convert --list-profiles
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavrin::cli {

// The most files -j runs at once.
inline constexpr int kMaxJobs = 64;

struct TConvertCommandLine {
    bool ListProfiles = false;
    bool Help = false;
    std::string Profile;          // "" for the first profile of the list
    std::string OutputFolder = ".";
    std::optional<std::string> VideoQuality;
    std::optional<std::string> AudioQuality;
    std::optional<std::string> Size;
    std::optional<std::string> Rate;
    std::optional<std::string> Channels;
    std::optional<std::string> Volume;
    std::optional<std::string> Aspect;
    bool Overwrite = false;
    int Jobs = 1;                 // files converted at the same time (-j N)
    bool LetterBox = false;       // Video Zoom "LetterBox" instead of "None"
    std::vector<std::string> Files;
};

// args are the words after the program name. Throws TUsageError.
TConvertCommandLine ParseConvertCommandLine(const std::vector<std::string>& args);

std::string ConvertUsageText();

}  // namespace tavrin::cli
