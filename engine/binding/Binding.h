// The codec-library binding: a run-time check that the libraries the program was linked
// against are present with the expected major versions, the process-wide library log level
// and CodecLock.
#pragma once

#include <mutex>
#include <string>

namespace tavrin {

enum class TLibraryUnit { AVCodec, AVFormat, AVUtil, SwScale, SwResample };

// Checks each library (in the order of TLibraryUnit, stopping at the first failure),
// resolves its entry points and registers once per process. With a Folder the files are
// taken from that folder, else from the system's library path. Versioned selects the
// soname ("libavcodec.so.59") over the plain development name ("libavcodec.so").
// On failure every library is released again and ErrorText holds
// "Load libraray %s error: %s" or "Load function %s@%s error: %s".
bool LoadLibraries(const std::string& Folder, bool Versioned, std::string& ErrorText);
void UnloadLibraries();
bool LibrariesLoaded();
bool LibraryResolved(TLibraryUnit unit);
std::string LibraryFileName(TLibraryUnit unit, bool Versioned);

// The libraries' log level as last set or read back (library scale, AV_LOG_*).
int LibraryLogLevel();
// Sets the libraries' log level from an engine verbosity and records the result.
void SetLibraryVerbosity(int verbosity);
// Engine verbosity (-1 quiet, 0 errors, 1 info, 2 debug, 3 all) <-> library levels.
int VerbosityToLibraryLevel(int verbosity);
int LibraryLevelToVerbosity(int libraryLevel);

// Serialises every codec open and close and every read of an input's stream information.
std::recursive_mutex& CodecLock();

}  // namespace tavrin
