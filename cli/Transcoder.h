// Runs one conversion through the engine and turns its outcome into an exit status.
#pragma once

#include <csignal>

#include "CommandLine.h"
#include "Console.h"

namespace tavrin::cli {

constexpr int kExitFinished = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

// The signals the run waits for itself: Ctrl+C, a polite kill, and the wake-up sent when
// the engine reports its end. Block them before any thread exists so that every engine
// and codec thread inherits the mask and only the waiting thread receives them.
sigset_t RunSignals();
void BlockRunSignals();

// 0 finished, 1 failed (the failure text is written), 128 + signal when stopped by one.
int Transcode(const TCommandLine& line, TConsole& console);

}  // namespace tavrin::cli
