// Process-wide delivery of the codec libraries' log output to every live engine component.
#pragma once

#include <string>
#include <thread>

#include "component/LogList.h"

namespace tavrin {

// Whoever wants the libraries' finished log lines: each engine component.
class TLibraryLogListener {
public:
    virtual void DeliverLibraryLine(std::thread::id thread, int level, const std::string& line) = 0;

protected:
    ~TLibraryLogListener() = default;
};

void RegisterComponent(TLibraryLogListener* listener);
void UnregisterComponent(TLibraryLogListener* listener);
TLogList& PendingLogLines();
void InstallLibraryLogCallback();

// The libraries' log callback: joins output per thread up to each line feed and hands
// every finished line to every component.
void LibraryLogCallback(int libraryLevel, const std::string& prefix, const std::string& text);

}  // namespace tavrin
