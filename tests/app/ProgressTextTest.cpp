// The status texts of a running row: kilobytes with ties to even, the percentage without
// overflow or a lower cap, and the speed and time left.
#include "util/ProgressText.h"

#include <gtest/gtest.h>

namespace tavrin {
namespace {

TEST(ProgressText, KilobytesRoundToNearestWithTiesToEven)
{
    EXPECT_EQ(KiloBytesRoundedEven(12'345'678), 12346);
    EXPECT_EQ(KiloBytesRoundedEven(1'500), 2);
    EXPECT_EQ(KiloBytesRoundedEven(2'500), 2);
    EXPECT_EQ(KiloBytesRoundedEven(3'500), 4);
    EXPECT_EQ(KiloBytesRoundedEven(500), 0);
    EXPECT_EQ(KiloBytesRoundedEven(501), 1);
    EXPECT_EQ(KiloBytesRoundedEven(499), 0);
    EXPECT_EQ(KiloBytesRoundedEven(int64_t{5'000'000'000'500}), 5'000'000'000);
    EXPECT_EQ(FileSizeText(12'345'678), "File Size : 12346 KBytes");
}

TEST(ProgressText, PercentTruncatesHasNoLowerCapAndNeedsAPositiveTotal)
{
    EXPECT_EQ(ProgressPercent(999, 1000), 99);
    EXPECT_EQ(ProgressPercent(5000, 4000), 125);
    EXPECT_EQ(ProgressPercent(-50, 1000), -5);
    // Ten hours of output times 100 does not fit an int; the result must still be right.
    EXPECT_EQ(ProgressPercent(30'000'000, 40'000'000), 75);
    EXPECT_EQ(ProgressPercent(100, 0), std::nullopt);
    EXPECT_EQ(ProgressPercent(100, -1), std::nullopt);
}

TEST(ProgressText, PaceGivesSpeedAndTimeLeft)
{
    const auto pace = MeasurePace(10'000, 40'000, 5'000);
    ASSERT_TRUE(pace);
    EXPECT_DOUBLE_EQ(pace->Speed, 2.0);
    EXPECT_EQ(pace->SecondsLeft, 15);
    EXPECT_EQ(PaceText(*pace), "2.0x real time, 00:00:15 left");

    const auto unknownTotal = MeasurePace(10'000, 0, 4'000);
    ASSERT_TRUE(unknownTotal);
    EXPECT_FALSE(unknownTotal->SecondsLeft);
    EXPECT_EQ(PaceText(*unknownTotal), "2.5x real time");

    // Past the total there is nothing left, not a negative time.
    EXPECT_EQ(MeasurePace(50'000, 40'000, 10'000)->SecondsLeft, 0);
    // No speed yet: no time left either.
    EXPECT_FALSE(MeasurePace(0, 40'000, 1'000)->SecondsLeft);
    EXPECT_FALSE(MeasurePace(1'000, 40'000, 0));
}

}  // namespace
}  // namespace tavrin
