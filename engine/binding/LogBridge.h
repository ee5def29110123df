// Bridges the libraries' printf-style log callback to a plain C++ sink.
#pragma once

#include <string>

namespace tavrin {

// libraryLevel is the library's own level (AV_LOG_*); prefix is "[name @ ADDRESS]" when the
// message came with a context, else empty; text is the whole formatted message, never cut.
using LibraryLogSink = void (*)(int libraryLevel, const std::string& prefix, const std::string& text);

void InstallLibraryLogSink(LibraryLogSink sink);
void RemoveLibraryLogSink();

// Logs through the libraries' own log, as a library message without context.
void LibraryLog(int libraryLevel, const std::string& text);

}  // namespace tavrin
