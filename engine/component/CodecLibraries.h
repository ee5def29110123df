// What the program tells its users about the codec libraries it runs on: each library's
// name, the version found at run time, the version it was built against and its licence.
#pragma once

#include <string>
#include <vector>

namespace tavrin {

struct TCodecLibraryInfo {
    std::string Name;          // "libavcodec"
    std::string Version;       // "59.37.100", as loaded
    std::string BuiltVersion;  // as compiled against
    std::string License;       // as the library reports it
};

// One entry per codec library, libavcodec first.
std::vector<TCodecLibraryInfo> CodecLibraryVersions();

// "59.37.100" from a library's packed version number.
std::string VersionText(unsigned packed);

}  // namespace tavrin
