// How the words of the command line become the input's and the output's option lines.
#include <gtest/gtest.h>

#include "CommandLine.h"

namespace tavrin::cli {
namespace {

using Args = std::vector<std::string>;

std::string UsageErrorOf(const Args& args) {
    try {
        ParseCommandLine(args);
    } catch (const TUsageError& e) {
        return e.what();
    }
    return "<accepted>";
}

TEST(CommandLine, OptionsBeforeTheInputGoToItAndOptionsAfterItToTheOutput) {
    const auto line = ParseCommandLine({"-ss", "2000", "-f", "avi", "-i", "in.avi", "-vcodec", "mpeg4",
                                        "-b", "1500000", "-s", "640x480", "out.mp4"});
    EXPECT_EQ(line.Input, "in.avi");
    EXPECT_EQ(line.Output, "out.mp4");
    EXPECT_EQ(line.InputOptions, "ss=2000\nf=avi\n");
    EXPECT_EQ(line.OutputOptions, "vcodec=mpeg4\nb=1500000\ns=640x480\n");
}

TEST(CommandLine, FlagsTakeNoValueSoTheNextWordStaysWhatItIs) {
    // -an before the output name must not swallow it; -re before -i must not swallow -i.
    const auto line = ParseCommandLine({"-re", "-i", "in.mp4", "-an", "-shortest", "-vcodec", "copy", "-vn", "out.mkv"});
    EXPECT_EQ(line.InputOptions, "re\n");
    EXPECT_EQ(line.OutputOptions, "an\nshortest\nvcodec=copy\nvn\n");
    EXPECT_EQ(line.Output, "out.mkv");
}

TEST(CommandLine, VstatsNamesItsOwnFileAndLeavesTheOutputNameAlone) {
    const auto line = ParseCommandLine({"-i", "in.mp4", "-vcodec", "mpeg4", "-vstats", "out.mkv"});
    EXPECT_EQ(line.OutputOptions, "vcodec=mpeg4\nvstats\n");
    EXPECT_EQ(line.Output, "out.mkv");
}

TEST(CommandLine, EveryFlagOfTheEngineIsRecognisedAndValuedOptionsAreNot) {
    for (const char* flag : {"dump", "hex", "re", "loop_input", "copyts", "shortest", "intra", "vn", "sameq",
                             "deinterlace", "psnr", "qphist", "an", "sn", "isync", "L", "h", "version",
                             "formats", "y", "benchmark", "newvideo", "newaudio", "newsubtitle", "vstats"})
        EXPECT_TRUE(IsFlagOption(flag)) << flag;
    for (const char* valued : {"b", "ab", "vcodec", "acodec", "s", "r", "ar", "ac", "v", "map", "threads", "i", ""})
        EXPECT_FALSE(IsFlagOption(valued)) << valued;
}

TEST(CommandLine, ValuesThatLookLikeOptionsAreStillValues) {
    const auto line = ParseCommandLine({"-itsoffset", "-2", "-i", "-", "-v", "-1", "-title", "-x-", "-"});
    EXPECT_EQ(line.Input, "-");
    EXPECT_EQ(line.Output, "-");
    EXPECT_EQ(line.InputOptions, "itsoffset=-2\n");
    EXPECT_EQ(line.OutputOptions, "v=-1\ntitle=-x-\n");
    EXPECT_EQ(line.Verbosity, -1);
}

TEST(CommandLine, VerbosityIsTheLastWholeNumberGivenToV) {
    EXPECT_EQ(ParseCommandLine({"-v", "2", "-i", "a", "-v", "0", "b"}).Verbosity, 0);
    EXPECT_FALSE(ParseCommandLine({"-i", "a", "b"}).Verbosity.has_value());
    // Not a number: the engine reports it; the level is left alone.
    const auto line = ParseCommandLine({"-i", "a", "-v", "loud", "b"});
    EXPECT_FALSE(line.Verbosity.has_value());
    EXPECT_EQ(line.OutputOptions, "v=loud\n");
}

TEST(CommandLine, MissingInputOrOutputIsAUsageError) {
    EXPECT_EQ(UsageErrorOf({}), "no input file: give one with -i INPUT");
    EXPECT_EQ(UsageErrorOf({"-vcodec", "mpeg4", "out.mp4"}), "unexpected 'out.mp4' before -i INPUT");
    EXPECT_EQ(UsageErrorOf({"-i", "in.mp4"}), "no output file given after the input");
    EXPECT_EQ(UsageErrorOf({"-i", "in.mp4", "-vcodec", "mpeg4"}), "no output file given after the input");
    EXPECT_EQ(UsageErrorOf({"-i"}), "option -i needs a file name");
    EXPECT_EQ(UsageErrorOf({"-i", "", "out.mp4"}), "option -i needs a file name");
}

TEST(CommandLine, AValuedOptionAtTheEndIsAnErrorButAFlagThereIsNot) {
    EXPECT_EQ(UsageErrorOf({"-i", "in.mp4", "out.mp4", "-b"}), "option -b comes after the output file name");
    EXPECT_EQ(UsageErrorOf({"-i", "in.mp4", "-b"}), "option -b needs a value");
    EXPECT_EQ(UsageErrorOf({"-y"}), "no input file: give one with -i INPUT");
    EXPECT_EQ(UsageErrorOf({"-i", "in.mp4", "-an"}), "no output file given after the input");
}

TEST(CommandLine, AfterTwoDashesTheOutputNameMayBeginWithADash) {
    const auto line = ParseCommandLine({"-i", "-in.mp4", "-an", "--", "-out.mp4"});
    EXPECT_EQ(line.Input, "-in.mp4");
    EXPECT_EQ(line.OutputOptions, "an\n");
    EXPECT_EQ(line.Output, "-out.mp4");
    EXPECT_EQ(UsageErrorOf({"-i", "in.mp4", "-out.mp4"}),
              "option -out.mp4 needs a value (put -- before an output name that begins with '-')");
    EXPECT_EQ(UsageErrorOf({"-i", "in.mp4", "--", "-b", "c"}), "only one output file is supported, got 'c' too");
}

TEST(CommandLine, OnlyOneInputAndOneOutput) {
    EXPECT_EQ(UsageErrorOf({"-i", "a", "-i", "b", "c"}), "only one input file is supported");
    EXPECT_EQ(UsageErrorOf({"-i", "a", "b", "c"}), "only one output file is supported, got 'c' too");
}

TEST(CommandLine, TextThatWouldForgeAnotherOptionLineIsRefused) {
    EXPECT_EQ(UsageErrorOf({"-i", "a", "-title", "x\nvcodec=copy", "b"}),
              "the value of -title must not contain a line break");
    EXPECT_EQ(UsageErrorOf({"-i", "a", "-title", "x\r", "b"}), "the value of -title must not contain a line break");
    EXPECT_EQ(UsageErrorOf({"-b=1", "5", "-i", "a", "b"}), "option -b=1: a name cannot contain '='");
    EXPECT_EQ(UsageErrorOf({"-a\nb", "5", "-i", "a", "b"}), "an option name must not contain a line break");
}

TEST(CommandLine, ValuesKeepTheirEqualSignsAndBlanks) {
    const auto line = ParseCommandLine({"-i", "my clip.avi", "-comment", "a=b c", "out file.mp4"});
    EXPECT_EQ(line.Input, "my clip.avi");
    EXPECT_EQ(line.Output, "out file.mp4");
    EXPECT_EQ(line.OutputOptions, "comment=a=b c\n");
}

// The codec threads are the engine's property, not an option line of the task.
TEST(CommandLine, CodecThreadsGoToTheEngineNotToTheOptions) {
    const auto line = ParseCommandLine({"--codec-threads", "3", "-i", "a", "-vcodec", "mpeg4", "b"});
    EXPECT_EQ(line.CodecThreads, 3);
    EXPECT_EQ(line.InputOptions, "");
    EXPECT_EQ(line.OutputOptions, "vcodec=mpeg4\n");
    EXPECT_EQ(ParseCommandLine({"-i", "a", "--codec-threads", "0", "b"}).CodecThreads, 0);
    EXPECT_FALSE(ParseCommandLine({"-i", "a", "b"}).CodecThreads.has_value());
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"--codec-threads", "-1", "-i", "a", "b"}, {"--codec-threads", "many", "-i", "a", "b"},
             {"-i", "a", "b", "--codec-threads", "2"}, {"-i", "a", "--codec-threads"}})
        EXPECT_THROW(ParseCommandLine(args), TUsageError) << ::testing::PrintToString(args);
}

}  // namespace
}  // namespace tavrin::cli
