// The output record of a command-line run repeats what the options set in the fields the
// engine assigns whatever they hold.
#include <gtest/gtest.h>

#include "OutputRecord.h"

namespace tavrin::cli {
namespace {

TEST(OutputRecord, WithoutTheOptionsTheFieldsKeepWhatTheOptionTextWouldLeave) {
    const TOutputOptions out = OutputRecordFor(ParseCommandLine({"-i", "in.mkv", "-vcodec", "mpeg4", "out.mkv"}));
    EXPECT_EQ(out.FileName, "out.mkv");
    EXPECT_EQ(out.ExtraOptions, "vcodec=mpeg4\n");
    EXPECT_EQ(out.AudioSyncMethod, 0);
    EXPECT_EQ(out.VideoSyncMethod, -1);
    EXPECT_FALSE(out.CopyTimestamps);
    EXPECT_EQ(out.AudioLanguage, "");
    EXPECT_EQ(out.SubtitleLanguage, "");
    EXPECT_EQ(out.PadColor, 0x101010u);  // Y 16, U 128, V 128
}

TEST(OutputRecord, TheLastValueGivenAnywhereOnTheLineIsTaken) {
    const TOutputOptions out = OutputRecordFor(ParseCommandLine(
        {"-copyts", "-async", "1", "-alang", "fre", "-i", "in.mkv", "-alang", "eng", "-vsync", "0", "-slang", "ger",
         "-padcolor", "$80FF00FF", "out.mkv"}));
    EXPECT_TRUE(out.CopyTimestamps);
    EXPECT_EQ(out.AudioSyncMethod, 1);
    EXPECT_EQ(out.VideoSyncMethod, 0);
    EXPECT_EQ(out.AudioLanguage, "eng");
    EXPECT_EQ(out.SubtitleLanguage, "ger");
    EXPECT_EQ(out.PadColor, 0xFF00FFu) << "only red, green and blue, as the option reads them";
}

TEST(OutputRecord, AValueTheEngineCannotReadLeavesTheFieldForTheEngineToRefuse) {
    const TOutputOptions out =
        OutputRecordFor(ParseCommandLine({"-async", "2", "-i", "in.mkv", "-async", "two", "-vsync", "0x2", "out.mkv"}));
    EXPECT_EQ(out.AudioSyncMethod, 2);
    EXPECT_EQ(out.VideoSyncMethod, 2);
    EXPECT_EQ(out.ExtraOptions, "async=two\nvsync=0x2\n");
}

}  // namespace
}  // namespace tavrin::cli
