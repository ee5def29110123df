// tavrin-transcode [input options] -i INPUT [output options] OUTPUT
#include <csignal>
#include <iostream>

#include "CommandLine.h"
#include "Transcoder.h"

int main(int argc, char** argv) {
    using namespace tavrin::cli;
    BlockRunSignals();  // before the engine starts any thread
    // Past a file size limit a write fails and the engine says so, instead of the signal
    // ending the program with a half-written file.
    std::signal(SIGXFSZ, SIG_IGN);
    TConsole console(std::cerr);
    try {
        return Transcode(ParseCommandLine({argv + 1, argv + argc}), console);
    } catch (const TUsageError& e) {
        std::cerr << "tavrin-transcode: " << e.what() << "\n" << UsageText("tavrin-transcode");
        return kExitUsage;
    }
}
