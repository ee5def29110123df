// tavrin-convert [-p PROFILE] [-o FOLDER] [settings] FILE...   |   tavrin-convert --list-profiles
#include <unistd.h>

#include <iostream>

#include "CommandLine.h"
#include "ConvertBatch.h"
#include "ConvertSettings.h"
#include "SignalWatch.h"

int main(int argc, char** argv) {
    using namespace tavrin::cli;
    BlockRunSignals();  // before the engine starts any thread
    try {
        const TConvertCommandLine line = ParseConvertCommandLine({argv + 1, argv + argc});
        if (line.Help) {
            std::cout << ConvertUsageText();
            return kConvertAllDone;
        }
        if (line.ListProfiles) {
            std::cout << ProfileListText();
            return kConvertAllDone;
        }
        TConsole console(std::cout);
        return ConvertFiles(line, console, isatty(STDOUT_FILENO) == 1);
    } catch (const TUsageError& e) {
        std::cerr << "tavrin-convert: " << e.what() << "\n" << ConvertUsageText();
        return kConvertBadCommandLine;
    }
}
