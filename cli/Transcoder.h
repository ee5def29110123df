// Runs one conversion through the engine and turns its outcome into an exit status.
#pragma once

#include <csignal>

#include "CommandLine.h"
#include "Console.h"

namespace tavrin::cli {

constexpr int kExitFinished = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

// The signals the run handles itself: Ctrl+C, a polite kill, and the wake-up that ends its
// signal thread. Block them before any thread exists so that every engine and codec
// thread inherits the mask and only the run's signal thread receives them.
sigset_t RunSignals();
void BlockRunSignals();

// 0 finished, 1 failed (the failure text is written), 128 + signal when stopped by one.
int Transcode(const TCommandLine& line, TConsole& console);

}  // namespace tavrin::cli
