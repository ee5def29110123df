#include "ChildProcess.h"

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>

namespace tavrin::test {

ChildProcess::ChildProcess(const std::vector<std::string>& argv) {
    int fds[2];
    if (pipe(fds) != 0)
        throw std::runtime_error("pipe failed");
    std::vector<char*> args;
    for (const auto& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    pid_ = fork();
    if (pid_ == 0) {
        // The child gets the default signal mask and actions, whatever the test runner set.
        sigset_t none;
        sigemptyset(&none);
        sigprocmask(SIG_SETMASK, &none, nullptr);
        signal(SIGINT, SIG_DFL);
        dup2(fds[1], 1);
        dup2(fds[1], 2);
        close(fds[0]);
        close(fds[1]);
        execvp(args[0], args.data());
        _exit(127);
    }
    close(fds[1]);
    fd_ = fds[0];
    if (pid_ < 0)
        throw std::runtime_error("fork failed");
}

ChildProcess::~ChildProcess() {
    if (pid_ > 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    if (fd_ >= 0)
        close(fd_);
}

bool ChildProcess::ReadSome(int timeoutMs) {
    pollfd p{fd_, POLLIN, 0};
    if (poll(&p, 1, timeoutMs) <= 0)
        return false;
    char buffer[4096];
    const ssize_t n = read(fd_, buffer, sizeof buffer);
    if (n <= 0)
        return false;
    output_.append(buffer, static_cast<size_t>(n));
    return true;
}

bool ChildProcess::WaitForOutput(const std::string& text, std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (output_.find(text) == std::string::npos) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
        if (left.count() <= 0 || !ReadSome(static_cast<int>(left.count())))
            return false;
    }
    return true;
}

void ChildProcess::Signal(int signal) { kill(pid_, signal); }

int ChildProcess::Wait() {
    while (ReadSome(-1)) {
    }
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
    return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : WEXITSTATUS(status);
}

RunResult RunProgram(const std::vector<std::string>& argv) {
    ChildProcess child(argv);
    const int status = child.Wait();
    return {status, child.Output()};
}

}  // namespace tavrin::test
