#include "common/FFmpegTypes.h"

namespace tavrin {

TLogLevel EngineLevelToLogLevel(int level) {
    if (level < 0) return llQuiet;
    if (level == 0) return llError;
    if (level == 1) return llInfo;
    if (level == 2) return llDebug;
    return llAll;
}

}  // namespace tavrin
