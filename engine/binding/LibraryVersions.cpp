#include "binding/LibraryVersions.h"

#include "binding/LibAV.h"

namespace tavrin {

std::vector<TLibraryVersion> LinkedLibraryVersions() {
    return {
        {"libavcodec", avcodec_version(), LIBAVCODEC_VERSION_INT, avcodec_license()},
        {"libavformat", avformat_version(), LIBAVFORMAT_VERSION_INT, avformat_license()},
        {"libavutil", avutil_version(), LIBAVUTIL_VERSION_INT, avutil_license()},
        {"libswscale", swscale_version(), LIBSWSCALE_VERSION_INT, swscale_license()},
        {"libswresample", swresample_version(), LIBSWRESAMPLE_VERSION_INT, swresample_license()},
    };
}

}  // namespace tavrin
