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

// While it lives, keeps the first error the libraries log on the calling thread: a failed
// call's error code often says less than the line it logged ("Picture size 0x0 is
// invalid"). Only sees messages while a sink is installed.
class TLibraryErrorCapture {
public:
    TLibraryErrorCapture();
    ~TLibraryErrorCapture();
    TLibraryErrorCapture(const TLibraryErrorCapture&) = delete;
    TLibraryErrorCapture& operator=(const TLibraryErrorCapture&) = delete;

    const std::string& FirstError() const { return first_; }
    void Note(const std::string& text);

private:
    TLibraryErrorCapture* outer_;
    std::string first_;
};

}  // namespace tavrin
