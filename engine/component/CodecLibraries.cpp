#include "component/CodecLibraries.h"

#include "binding/LibraryVersions.h"

namespace tavrin {

std::string VersionText(unsigned packed) {
    return std::to_string(packed >> 16) + "." + std::to_string((packed >> 8) & 0xFF) + "." +
           std::to_string(packed & 0xFF);
}

std::vector<TCodecLibraryInfo> CodecLibraryVersions() {
    std::vector<TCodecLibraryInfo> result;
    for (const TLibraryVersion& library : LinkedLibraryVersions())
        result.push_back({library.Name, VersionText(library.Runtime), VersionText(library.Built),
                          library.License});
    return result;
}

}  // namespace tavrin
