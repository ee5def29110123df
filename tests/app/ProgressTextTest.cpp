// The status texts of a running batch: kilobytes with ties to even, the percentage without
// overflow or a lower cap, the batch's progress by its rows' lengths, its speed and time
// left, and the words for how it ended.
#include "util/BatchProgress.h"
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

TEST(BatchProgress, RowsWeighByTheirLengthAndUnknownOnesByTheMean)
{
    const std::optional<int64_t> unknown;
    struct TCase {
        const char* Name;
        std::vector<TRowShare> Rows;
        int Percent;
    };
    const TCase cases[] = {
        {"nothing done", {{60'000}, {60'000}}, 0},
        {"one of two ended", {{60'000, 60'000, true}, {60'000}}, 50},
        {"a failed row counts whole", {{30'000, 1'000, true}, {90'000}}, 25},
        {"by length, not by row", {{30'000, 30'000, true}, {90'000, 45'000}}, 62},
        {"past its length a row is whole", {{10'000, 15'000}, {10'000}}, 50},
        {"unknown weighs the mean", {{20'000, 20'000, true}, {unknown}, {40'000}}, 22},
        {"unknown counts once ended", {{unknown, 5'000, true}, {unknown}}, 50},
        {"no rows", {}, 0},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(BatchPercent(c.Rows), c.Percent) << c.Name;
}

TEST(BatchProgress, OneSpeedAndTimeLeftForTheWholeBatch)
{
    // 40 s converted in 20 s: 2x; 60 s and 30 s still to do make 45 s left.
    const std::vector<TRowShare> rows = {{30'000, 30'000, true}, {70'000, 10'000}, {30'000}};
    const auto pace = BatchPace(rows, 20'000);
    ASSERT_TRUE(pace);
    EXPECT_DOUBLE_EQ(pace->Speed, 2.0);
    EXPECT_EQ(pace->SecondsLeft, 45);
    EXPECT_EQ(PaceText(*pace), "2.0x real time, 00:00:45 left");

    // A row of unknown length still to do: the speed, but no time left.
    const std::vector<TRowShare> unknownLeft = {{std::nullopt, 10'000}};
    ASSERT_TRUE(BatchPace(unknownLeft, 4'000));
    EXPECT_EQ(PaceText(*BatchPace(unknownLeft, 4'000)), "2.5x real time");
    // Once it has ended it no longer hides the time left of the others.
    const std::vector<TRowShare> unknownDone = {{std::nullopt, 10'000, true}, {10'000}};
    EXPECT_EQ(BatchPace(unknownDone, 5'000)->SecondsLeft, 5);
    // No speed yet, or no time passed: no time left.
    EXPECT_FALSE(BatchPace({{40'000}}, 1'000)->SecondsLeft);
    EXPECT_FALSE(BatchPace({{40'000, 1'000}}, 0));
}

TEST(BatchProgress, DurationCellsAndOutcomes)
{
    EXPECT_EQ(DurationCellMs("01:02:05"), 3'725'000);
    EXPECT_EQ(DurationCellMs("100:00:00"), 360'000'000);
    for (const char* none : {"Unknown", "", " ", "00:00", "1:2:3x"})
        EXPECT_FALSE(DurationCellMs(none)) << none;

    EXPECT_EQ(BatchOutcomeText({3, 0, 0}), "All Conversions Completed");
    EXPECT_EQ(BatchOutcomeText({3, 2, 0}), "3 files converted, 2 failed");
    EXPECT_EQ(BatchOutcomeText({1, 0, 1}), "1 file converted, 1 stopped");
    EXPECT_EQ(BatchOutcomeText({0, 1, 2}), "0 files converted, 1 failed, 2 stopped");
}

}  // namespace
}  // namespace tavrin
