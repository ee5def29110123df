// Probing a source file into a list row's cells, the same way for the window and the
// command line.
#pragma once

#include "jobs/RowText.h"

#include <string>
#include <string_view>

namespace tavrin {

class TAVProbe;

// Opens the file with the probe and reads the facts a row shows; Opened is false when the
// file cannot be read as media. The codec libraries must be loaded.
TProbeFacts ProbeFacts(TAVProbe& probe, const std::string& path);

TRowCells ProbeRowCells(TAVProbe& probe, const std::string& path,
                        std::string_view outputExtension);

}  // namespace tavrin
