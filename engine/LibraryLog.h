// Process-wide delivery of the codec libraries' log output to every live engine component.
#pragma once

#include "LogList.h"

namespace tavrin {

class TCustomFFmpegEngine;

void RegisterComponent(TCustomFFmpegEngine* engine);
void UnregisterComponent(TCustomFFmpegEngine* engine);
TLogList& PendingLogLines();
void InstallLibraryLogCallback();

// The libraries' log callback: joins output per thread up to each line feed and hands
// every finished line to every component.
void LibraryLogCallback(int libraryLevel, const std::string& prefix, const std::string& text);

}  // namespace tavrin
