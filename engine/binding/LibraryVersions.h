// The versions and licences of the codec libraries as they report themselves at run time,
// next to the versions the program was built against.
#pragma once

#include <string>
#include <vector>

namespace tavrin {

struct TLibraryVersion {
    std::string Name;      // "libavcodec"
    unsigned Runtime = 0;  // major << 16 | minor << 8 | micro, from the loaded library
    unsigned Built = 0;    // the same from the headers the program was compiled with
    std::string License;   // the library's own licence text, e.g. "GPL version 2 or later"
};

// libavcodec, libavformat, libavutil, libswscale and libswresample, in that order.
std::vector<TLibraryVersion> LinkedLibraryVersions();

}  // namespace tavrin
