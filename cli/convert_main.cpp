// tavrin-convert [-p PROFILE] [-o FOLDER] [settings] FILE...   |   tavrin-convert --list-profiles
#include <sys/ioctl.h>
#include <unistd.h>

#include <csignal>
#include <iostream>

#include "CommandLine.h"
#include "ConvertBatch.h"
#include "ConvertSettings.h"
#include "SignalWatch.h"

int main(int argc, char** argv) {
    using namespace tavrin::cli;
    BlockRunSignals();  // before the engine starts any thread
    // Beyond a file-size limit a write fails instead of killing the program, so the row ends
    // with a message and its part-written output is deleted.
    std::signal(SIGXFSZ, SIG_IGN);
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
        const bool terminal = isatty(STDOUT_FILENO) == 1;
        if (winsize size{}; terminal && ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) == 0)
            console.SetWidth(size.ws_col);
        return ConvertFiles(line, console, terminal);
    } catch (const TUsageError& e) {
        std::cerr << "tavrin-convert: " << e.what() << "\n" << ConvertUsageText();
        return kConvertBadCommandLine;
    }
}
