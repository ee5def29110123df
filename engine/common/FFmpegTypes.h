// Enumerations and event signatures shared by the engine component and its tasks.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace tavrin {

class TBitmap;

enum TLogLevel { llQuiet, llError, llInfo, llDebug, llAll };
enum TConvertPriority { tpIdle, tpLowest, tpLower, tpNormal };
enum THookAction { haContinue, haIgnore, haStop };

using TBeforeHookEvent = std::function<void(int AIndex, int64_t APTS, THookAction& AHookAction)>;
using TCustomHookEvent = std::function<void(int AIndex, TBitmap& ABitmap, int AFrameNumber,
                                            int64_t APTS, bool& AUpdate, bool& AStopHook)>;
using TLogEvent = std::function<void(int AIndex, TLogLevel ALogLevel, const std::string& AMsg)>;
using TProgressEvent = std::function<void(int AIndex, int AFrameNumber, int AFPS, int ACurrentDuration,
                                          float AQuality, float ABitRate, int64_t ACurrentSize,
                                          int ATotalOutputDuration)>;
using TTerminateEvent = std::function<void(int AIndex, bool AFinished, bool AException,
                                           const std::string& AMessage)>;

// Engine log levels run from -1 (always delivered) to 3.
TLogLevel EngineLevelToLogLevel(int level);

}  // namespace tavrin
