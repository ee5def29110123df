// The texts of a source list row: names, durations, rates, progress and the probe's cells.
#include "CommaLocale.h"
#include "JobValues.h"
#include "RowText.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <utility>
#include <vector>

namespace tavrin {
namespace {

namespace fs = std::filesystem;

class UniqueFileNameTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char folder[] = "/tmp/tavrin-unique-XXXXXX";
        ASSERT_NE(mkdtemp(folder), nullptr);
        Folder = folder;
    }
    void TearDown() override { fs::remove_all(Folder); }
    void Touch(const std::string& name) { std::ofstream(Folder / name) << "x"; }
    std::string Base() const { return (Folder / "clip").string(); }

    fs::path Folder;
};

TEST_F(UniqueFileNameTest, KeepsTheNameWhenItIsFree)
{
    EXPECT_EQ(UniqueFileName(Base(), ".mp4"), Base() + ".mp4");
}

TEST_F(UniqueFileNameTest, TakesTheSmallestFreeNumber)
{
    Touch("clip.mp4");
    EXPECT_EQ(UniqueFileName(Base(), ".mp4"), Base() + "-1.mp4");
    Touch("clip-1.mp4");
    EXPECT_EQ(UniqueFileName(Base(), ".mp4"), Base() + "-2.mp4");
    Touch("clip-3.mp4");
    EXPECT_EQ(UniqueFileName(Base(), ".mp4"), Base() + "-2.mp4");
    // Another extension is another name.
    EXPECT_EQ(UniqueFileName(Base(), ".avi"), Base() + ".avi");
}

TEST(FormatDuration, WritesHoursMinutesAndSecondsWithTwoDigits)
{
    const std::vector<std::pair<double, std::string>> cases{
        {3725, "01:02:05"}, {0, "00:00:00"}, {360000, "100:00:00"}, {5400, "01:30:00"},
        {59, "00:00:59"},   {2.5, "00:00:02"}, {3.5, "00:00:04"}};
    for (const auto& [seconds, text] : cases)
        EXPECT_EQ(FormatDuration(":", seconds), text) << seconds;
    EXPECT_EQ(FormatDuration(".", 3725), "01.02.05");
    EXPECT_NE(FormatDuration(":", -1).find('-'), std::string::npos);
}

TEST(DurationCell, TruncatesToWholeSecondsAndHidesNegativeTimes)
{
    EXPECT_EQ(DurationCellText(5400000000), "01:30:00");
    EXPECT_EQ(DurationCellText(59999000), "00:00:59");
    EXPECT_EQ(DurationCellText(-999999), "00:00:00");
    EXPECT_EQ(DurationCellText(-1000000), "Unknown");
    EXPECT_EQ(DurationCellText(INT64_MIN), "Unknown");
}

TEST(FrameRateCell, RoundsToTwoDecimals)
{
    EXPECT_EQ(FrameRateCellText(30000, 1001), "29.97");
    EXPECT_EQ(FrameRateCellText(24000, 1001), "23.98");
    EXPECT_EQ(FrameRateCellText(25, 1), "25");
    EXPECT_EQ(FrameRateCellText(25, 2), "12.5");
    EXPECT_EQ(FrameRateCellText(60000, 1001), "59.94");
    EXPECT_EQ(FrameRateCellText(25, 0), "Unknown");
    EXPECT_EQ(FrameRateCellText(0, 0), "Unknown");
    EXPECT_EQ(FrameRateCellText(-1, -1), "Unknown");
}

TEST(ProgressCells, FollowTheRunningTask)
{
    EXPECT_EQ(ProgressCellText(5000, 10000), "50%");
    EXPECT_EQ(ProgressCellText(9999, 10000), "99%");
    EXPECT_EQ(ProgressCellText(15000, 10000), "100%");
    EXPECT_EQ(ProgressCellText(-1000, 10000), "-10%");
    EXPECT_EQ(ProgressCellText(5000, 0), "");
    EXPECT_EQ(ProgressCellText(INT_MAX, 1000), "100%");
    EXPECT_EQ(FramesCellText(-1), " ");
    EXPECT_EQ(FramesCellText(0), "0");
    EXPECT_EQ(FramesCellText(250), "250");
}

TEST(EndStatus, FailWinsOverAbort)
{
    EXPECT_EQ(EndStatusText(true, true), "Fail");
    EXPECT_EQ(EndStatusText(true, false), "Fail");
    EXPECT_EQ(EndStatusText(false, true), "Abort");
    EXPECT_EQ(EndStatusText(false, false), "Done");
}

TEST(RowCells, VideoFileShowsSizeRateDurationAndKey)
{
    const TRowCells cells = RowCellsOf({true, 1, 720, 576, 25, 1, 3725000000, ""}, "MP4");
    EXPECT_EQ(cells.VideoSize, "720x576");
    EXPECT_EQ(cells.FrameRate, "25");
    EXPECT_EQ(cells.Duration, "01:02:05");
    EXPECT_EQ(cells.Output, "MP4");
    EXPECT_EQ(cells.Progress, "");
    EXPECT_EQ(cells.Frames, "");
}

TEST(RowCells, AudioFileShowsBlanksForThePicture)
{
    const TRowCells cells = RowCellsOf({true, 0, 0, 0, 0, 0, 90000000, ""}, "MP3");
    EXPECT_EQ(cells.VideoSize, " ");
    EXPECT_EQ(cells.FrameRate, " ");
    EXPECT_EQ(cells.Duration, "00:01:30");
    EXPECT_EQ(cells.Output, "MP3");
}

TEST(RowCells, FileThatDidNotOpenShowsOnlyError)
{
    TProbeFacts facts;
    facts.Width = 320;  // ignored without a successful open
    const TRowCells cells = RowCellsOf(facts, "MP4");
    EXPECT_EQ(cells.Progress, "Error");
    for (const std::string* cell : {&cells.VideoSize, &cells.FrameRate, &cells.Duration,
                                    &cells.Output, &cells.Frames})
        EXPECT_EQ(*cell, "");
}

// The engine reads numbers with a period; a comma locale must not change what is written.
TEST(RowTextUnderCommaLocale, NumbersKeepThePeriod)
{
    test::TCommaLocale locale;
    if (!locale.Active())
        GTEST_SKIP() << locale.Reason();
    char formatted[16];
    std::snprintf(formatted, sizeof formatted, "%.1f", 1.5);
    ASSERT_STREQ(formatted, "1,5") << "the comma locale is not in effect";

    EXPECT_EQ(FrameRateCellText(30000, 1001), "29.97");
    EXPECT_EQ(SourceAspectText("1280x720"), "1.7778");
    EXPECT_EQ(SourceAspectText("720x480"), "1.5");
    EXPECT_EQ(DecimalText(0.25), "0.25");
}

}  // namespace
}  // namespace tavrin
