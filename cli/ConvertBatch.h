// tavrin-convert's batch: the files become rows probed like the window's, and the rows run
// through the job builder and the driver steps one after another, as in the window.
#pragma once

#include "Console.h"
#include "ConvertCommandLine.h"

namespace tavrin::cli {

// Exit statuses: every file ended "Done"; some file failed; 128 + signal after a stop.
constexpr int kConvertAllDone = 0;
constexpr int kConvertSomeFailed = 1;
constexpr int kConvertBadCommandLine = 2;

// Runs the batch with the settings already checked; results and progress go to console.
// showProgress draws the live progress line.
int ConvertFiles(const TConvertCommandLine& line, TConsole& console, bool showProgress);

}  // namespace tavrin::cli
