#include "CommandLine.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace tavrin::cli {
namespace {

// The engine's switches and value-less notices: a following word is never their value.
constexpr std::array<std::string_view, 25> kFlagOptions = {
    "dump",  "hex",   "re",     "loop_input", "copyts",  "shortest", "intra",     "vn",
    "sameq", "deinterlace", "psnr", "qphist", "an",      "sn",       "isync",     "L",
    "h",     "version", "formats", "y",       "benchmark", "newvideo", "newaudio", "newsubtitle",
    "vstats",  // names its statistics file itself
};

// "-" alone names standard input/output, so it is a file name, not an option.
bool IsOptionWord(const std::string& word) { return word.size() > 1 && word[0] == '-'; }

// A line break would split one option into two lines of the option text.
void CheckOneLine(const std::string& text, const std::string& what) {
    if (text.find_first_of("\r\n") != std::string::npos)
        throw TUsageError(what + " must not contain a line break");
}

std::optional<int> WholeNumber(const std::string& text) {
    int value = 0;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end || text.empty())
        return std::nullopt;
    return value;
}

class Parser {
public:
    explicit Parser(const std::vector<std::string>& args) : args_(args) {}

    TCommandLine Run() {
        bool namesOnly = false;
        while (pos_ < args_.size()) {
            const std::string& word = args_[pos_++];
            if (!namesOnly && word == "--")
                namesOnly = true;
            else if (!namesOnly && IsOptionWord(word))
                Option(word.substr(1));
            else
                FileName(word);
        }
        if (!seenInput_)
            throw TUsageError("no input file: give one with -i INPUT");
        if (line_.Output.empty())
            throw TUsageError("no output file given after the input");
        return line_;
    }

private:
    void Option(const std::string& name) {
        if (!line_.Output.empty())
            throw TUsageError("option -" + name + " comes after the output file name");
        if (name == "i") {
            Input();
            return;
        }
        if (name == "-codec-threads") {
            CodecThreads();
            return;
        }
        CheckOneLine(name, "an option name");
        if (name.find('=') != std::string::npos)
            throw TUsageError("option -" + name + ": a name cannot contain '='");
        if (IsFlagOption(name)) {
            Append(name);
            return;
        }
        if (pos_ >= args_.size())
            throw TUsageError("option -" + name + " needs a value" +
                              (name.find_first_of("./") != std::string::npos
                                   ? " (put -- before an output name that begins with '-')"
                                   : ""));
        const std::string& value = args_[pos_++];
        CheckOneLine(value, "the value of -" + name);
        if (name == "v")
            if (auto level = WholeNumber(value))
                line_.Verbosity = level;
        Append(name + "=" + value);
    }

    void Input() {
        if (seenInput_)
            throw TUsageError("only one input file is supported");
        if (pos_ >= args_.size() || args_[pos_].empty())
            throw TUsageError("option -i needs a file name");
        line_.Input = args_[pos_++];
        seenInput_ = true;
    }

    void CodecThreads() {
        const std::optional<int> count = pos_ < args_.size() ? WholeNumber(args_[pos_]) : std::nullopt;
        if (!count || *count < 0)
            throw TUsageError("option --codec-threads needs a whole number of 0 or more");
        line_.CodecThreads = count;
        ++pos_;
    }

    void FileName(const std::string& word) {
        if (!seenInput_)
            throw TUsageError("unexpected '" + word + "' before -i INPUT");
        if (!line_.Output.empty())
            throw TUsageError("only one output file is supported, got '" + word + "' too");
        if (word.empty())
            throw TUsageError("the output file name is empty");
        line_.Output = word;
    }

    void Append(const std::string& text) {
        std::string& block = seenInput_ ? line_.OutputOptions : line_.InputOptions;
        block += text;
        block += '\n';
    }

    const std::vector<std::string>& args_;
    size_t pos_ = 0;
    bool seenInput_ = false;
    TCommandLine line_;
};

}  // namespace

bool IsFlagOption(std::string_view name) {
    return std::find(kFlagOptions.begin(), kFlagOptions.end(), name) != kFlagOptions.end();
}

TCommandLine ParseCommandLine(const std::vector<std::string>& args) { return Parser(args).Run(); }

std::string UsageText(std::string_view program) {
    std::string p(program);
    return "usage: " + p + " [input options] -i INPUT [output options] OUTPUT\n"
           "Each -name value becomes the option line name=value of the input or the output;\n"
           "switches such as -an, -vn or -shortest take no value.\n"
           "  -v N   log level: -1 nothing but the failure and no progress line, 0 errors,\n"
           "         1 information (the default), 2 and 3 debugging\n"
           "  --codec-threads N   threads per decoder and encoder; 0 (the default) uses\n"
           "         every core\n"
           "  --     ends the options: the next word is the output, even if it begins with '-'\n"
           "Example: " + p + " -i in.avi -vcodec mpeg4 -b 1500000 -s 640x480 -r 25 \\\n"
           "           -acodec aac -ab 128000 -ar 44100 -ac 2 out.mp4\n"
           "Exit status: 0 finished, 1 failed, 2 bad command line, 130 stopped by Ctrl+C.\n";
}

}  // namespace tavrin::cli
