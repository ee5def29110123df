// Runs one conversion through the engine and turns its outcome into an exit status.
#pragma once

#include "CommandLine.h"
#include "Console.h"
#include "SignalWatch.h"

namespace tavrin::cli {

constexpr int kExitFinished = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

// 0 finished, 1 failed (the failure text is written), 128 + signal when stopped by one.
int Transcode(const TCommandLine& line, TConsole& console);

}  // namespace tavrin::cli
