// The command line of tavrin-transcode: options before -i belong to the input, options
// after it to the output; each becomes one line of the engine's option text.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tavrin::cli {

struct TCommandLine {
    std::string Input;
    std::string Output;
    std::string InputOptions;   // name=value lines, in the order given
    std::string OutputOptions;  // name=value lines, in the order given
    // The last -v value when it is a whole number; the run's log level follows it.
    std::optional<int> Verbosity;
    // --codec-threads N: the engine's threads per codec (0 automatic); not an engine option.
    std::optional<int> CodecThreads;
};

// A command line that cannot be turned into a task; what() says why.
class TUsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// True for the options the engine reads without a value.
bool IsFlagOption(std::string_view name);

// args are the words after the program name. Throws TUsageError.
TCommandLine ParseCommandLine(const std::vector<std::string>& args);

std::string UsageText(std::string_view program);

}  // namespace tavrin::cli
