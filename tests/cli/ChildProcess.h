// Runs a program with its stdout and stderr in one pipe, for tests that drive the built
// command-line tools.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

namespace tavrin::test {

class ChildProcess {
public:
    explicit ChildProcess(const std::vector<std::string>& argv);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Reads until the output holds text; false on end of output or timeout.
    bool WaitForOutput(const std::string& text, std::chrono::milliseconds timeout);
    void Signal(int signal);
    // Reads the rest and waits. The exit status, or 128 + signal when killed by one.
    int Wait();
    const std::string& Output() const { return output_; }

private:
    bool ReadSome(int timeoutMs);

    pid_t pid_ = -1;
    int fd_ = -1;
    std::string output_;
};

struct RunResult {
    int status;
    std::string output;
};
RunResult RunProgram(const std::vector<std::string>& argv);

}  // namespace tavrin::test
