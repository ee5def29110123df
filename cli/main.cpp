// tavrin-transcode [input options] -i INPUT [output options] OUTPUT
#include <iostream>

#include "CommandLine.h"
#include "Transcoder.h"

int main(int argc, char** argv) {
    using namespace tavrin::cli;
    BlockRunSignals();  // before the engine starts any thread
    TConsole console(std::cerr);
    try {
        return Transcode(ParseCommandLine({argv + 1, argv + argc}), console);
    } catch (const TUsageError& e) {
        std::cerr << "tavrin-transcode: " << e.what() << "\n" << UsageText("tavrin-transcode");
        return kExitUsage;
    }
}
