#include "ConvertCommandLine.h"

#include "CommandLine.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace tavrin::cli {
namespace {

using TField = std::optional<std::string> TConvertCommandLine::*;

struct TValueOption {
    std::string_view Name;
    TField Field;
};

constexpr std::array<TValueOption, 7> kValueOptions{{
    {"--video-quality", &TConvertCommandLine::VideoQuality},
    {"--audio-quality", &TConvertCommandLine::AudioQuality},
    {"--size", &TConvertCommandLine::Size},
    {"--rate", &TConvertCommandLine::Rate},
    {"--channels", &TConvertCommandLine::Channels},
    {"--volume", &TConvertCommandLine::Volume},
    {"--aspect", &TConvertCommandLine::Aspect},
}};

class TConvertParser {
public:
    explicit TConvertParser(const std::vector<std::string>& args) : FArgs(args) {}

    TConvertCommandLine Run()
    {
        bool filesOnly = false;
        while (FPos < FArgs.size()) {
            const std::string& word = FArgs[FPos++];
            if (filesOnly || word.size() < 2 || word[0] != '-')
                FLine.Files.push_back(word);
            else if (word == "--")
                filesOnly = true;
            else if (!IsOption(word))
                Unknown(word);
            else
                Option(word);
        }
        if (FLine.Help || FLine.ListProfiles)
            return FLine;
        if (FLine.Files.empty())
            throw TUsageError("no file to convert");
        return FLine;
    }

private:
    // A word with a dash that names no option is a file once the files have begun, and as
    // the last word: "-dash.mp4" there is not an option waiting for its value.
    void Unknown(const std::string& word)
    {
        if (FLine.Files.empty() && FPos < FArgs.size())
            throw TUsageError("unknown option " + word.substr(0, word.find('=')) +
                              " (put -- before a file whose name begins with '-')");
        FLine.Files.push_back(word);
    }

    static bool IsOption(const std::string& word)
    {
        const std::string name = word.substr(0, word.find('='));
        static constexpr std::array<std::string_view, 11> kNames{
            "--overwrite", "--letterbox", "--list-profiles", "-h", "--help", "-j",
            "--jobs",      "-p",          "--profile",       "-o", "--output"};
        if (std::find(kNames.begin(), kNames.end(), name) != kNames.end())
            return true;
        if (name == word && name.starts_with("-j") && name.size() > 2)  // "-j2"
            return std::all_of(name.begin() + 2, name.end(), [](char c) { return c >= '0' && c <= '9'; });
        return std::any_of(kValueOptions.begin(), kValueOptions.end(),
                           [&](const TValueOption& option) { return option.Name == name; });
    }

    void Option(const std::string& word)
    {
        // "--size=320x240" is the same as "--size 320x240".
        const size_t equals = word.find('=');
        const std::string name = word.substr(0, equals);
        std::optional<std::string> inlineValue;
        if (equals != std::string::npos)
            inlineValue = word.substr(equals + 1);

        if (name == "--overwrite" || name == "--letterbox" || name == "--list-profiles" ||
            name == "-h" || name == "--help") {
            if (inlineValue)
                throw TUsageError(name + " takes no value");
            Flag(name);
            return;
        }
        // "-j2" is the same as "-j 2".
        if (name.starts_with("-j") && name.size() > 2 && !inlineValue) {
            FLine.Jobs = JobCount(name.substr(2));
            return;
        }
        const std::string value = inlineValue ? *inlineValue : Value(name);
        if (name == "-j" || name == "--jobs")
            FLine.Jobs = JobCount(value);
        else if (name == "-p" || name == "--profile")
            FLine.Profile = value;
        else if (name == "-o" || name == "--output")
            FLine.OutputFolder = value;
        else
            Setting(name, value);
    }

    void Flag(const std::string& name)
    {
        if (name == "--overwrite")
            FLine.Overwrite = true;
        else if (name == "--letterbox")
            FLine.LetterBox = true;
        else if (name == "--list-profiles")
            FLine.ListProfiles = true;
        else
            FLine.Help = true;
    }

    void Setting(const std::string& name, const std::string& value)
    {
        for (const TValueOption& option : kValueOptions)
            if (option.Name == name)
                FLine.*option.Field = value;
    }

    static int JobCount(const std::string& text)
    {
        int count = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), count);
        if (error != std::errc() || end != text.data() + text.size() || count < 1 || count > kMaxJobs)
            throw TUsageError("-j needs a number of files from 1 to " + std::to_string(kMaxJobs) +
                              ", got \"" + text + "\"");
        return count;
    }

    std::string Value(const std::string& name)
    {
        if (FPos >= FArgs.size())
            throw TUsageError("option " + name + " needs a value");
        return FArgs[FPos++];
    }

    const std::vector<std::string>& FArgs;
    size_t FPos = 0;
    TConvertCommandLine FLine;
};

}  // namespace

TConvertCommandLine ParseConvertCommandLine(const std::vector<std::string>& args)
{
    return TConvertParser(args).Run();
}

std::string ConvertUsageText()
{
    return "usage: tavrin-convert [-p PROFILE] [-o FOLDER] [--video-quality Q] [--audio-quality Q]\n"
           "                      [--size S] [--rate R] [--channels C] [--volume PERCENT]\n"
           "                      [--aspect original|4:3|16:9] [--letterbox] [--overwrite] [-j N] FILE...\n"
           "       tavrin-convert --list-profiles\n"
           "PROFILE is a name, caption or key from --list-profiles (default: the first).\n"
           "Q is Highest, Higher, Normal, Lower or Lowest; S, R and C are items the profile\n"
           "offers (\"320 x 240\", \"29.97\", \"Mono\"); PERCENT is 0, 20, ... 200.\n"
           "--letterbox keeps the picture's shape inside the frame with black bars.\n"
           "FOLDER defaults to the current folder; it is made when missing.\n"
           "A word that begins with '-' and names no option is a file when it comes last or\n"
           "after another FILE; after --, every word is a file.\n"
           "-j N converts N files at the same time (default 1), sharing the machine's cores\n"
           "between them.\n";
}

}  // namespace tavrin::cli
