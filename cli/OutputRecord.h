// The output settings record of a command-line run.
#pragma once

#include "CommandLine.h"
#include "OptionRecords.h"

namespace tavrin::cli {

// The record for the line's output. The engine assigns some record fields whatever they
// hold (languages, sync methods, copied timestamps, pad colour), after the option lines;
// they are given the values the command line set for them, so that the options take effect
// as they do in option text.
TOutputOptions OutputRecordFor(const TCommandLine& line);

}  // namespace tavrin::cli
