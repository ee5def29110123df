// The aspect ratio and time limit the job builder derives from a row.
#include "JobValues.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace tavrin {
namespace {

TEST(SourceAspect, DividesWidthByHeightToFourDecimals)
{
    const std::vector<std::pair<std::string, std::string>> cases{
        {"720x480", "1.5"},     {"1280x720", "1.7778"}, {"640x480", "1.3333"},
        {" 320x240 ", "1.3333"}, {"720x576", "1.25"},   {"1920x1080", "1.7778"},
        {"100x300", "0.3333"},  {"7.5x2.5", "3"}};
    for (const auto& [size, aspect] : cases)
        EXPECT_EQ(SourceAspectText(size), aspect) << size;
}

TEST(SourceAspect, BlankCellCountsAsStandardPicture)
{
    EXPECT_EQ(SourceAspectText(""), "1.3333");
    EXPECT_EQ(SourceAspectText(" "), "1.3333");
}

TEST(SourceAspect, UnreadableSizeGivesStandardRatio)
{
    for (const char* size : {"Unknown", "Error", "720", "720x", "x480", "720x0", "0x480",
                             "-720x480", "720x480x2", "abcxdef", "1,5x1"})
        EXPECT_EQ(SourceAspectText(size), "1.3333") << size;
}

TEST(AspectRatioFor, FollowsTheComboPosition)
{
    EXPECT_EQ(AspectRatioFor(0, "1280x720"), "1.7778");
    EXPECT_EQ(AspectRatioFor(1, "1280x720"), "4:3");
    EXPECT_EQ(AspectRatioFor(2, "720x480"), "16:9");
    EXPECT_EQ(AspectRatioFor(-1, "720x480"), std::nullopt);
    EXPECT_EQ(AspectRatioFor(3, "720x480"), std::nullopt);
}

TEST(TimeLimitFor, OnlyAnUnknownDurationIsLimited)
{
    EXPECT_EQ(TimeLimitFor("Unknown"), 36000000);
    EXPECT_EQ(TimeLimitFor("00:00:00"), 36000000);
    EXPECT_EQ(TimeLimitFor("00:03:12"), -1);
    EXPECT_EQ(TimeLimitFor("00:00:01"), -1);
    EXPECT_EQ(TimeLimitFor(""), -1);
}

}  // namespace
}  // namespace tavrin
