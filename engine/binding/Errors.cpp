#include "binding/Errors.h"

#include "common/FFMpegException.h"
#include "binding/LibAV.h"

namespace tavrin {

std::string AvErrorText(int code) {
    char buf[AV_ERROR_MAX_STRING_SIZE] = {};
    if (av_strerror(code, buf, sizeof buf) < 0)
        return "Error number " + std::to_string(code);
    return buf;
}

int CheckAv(int code, const std::string& what) {
    if (code < 0)
        throw FFMpegException(what + ": " + AvErrorText(code));
    return code;
}

}  // namespace tavrin
