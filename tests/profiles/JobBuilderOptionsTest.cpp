// The output record the job builder hands to the engine: frame rate, volume, aspect and the
// time limit, under any locale.
#include "JobBuilderTestSupport.h"

#include "CommaLocale.h"
#include "MediaInfo.h"

namespace tavrin::test {
namespace {

class JobOptionsTest : public JobBuilderTest {
protected:
    // One row with the given cells; the source is a real clip so the task can be made.
    void AddRow(const std::string& size, const std::string& duration)
    {
        const int row = Window.AddRow(Fixture("short.avi"));
        Window.SetRowCell(row, rcVideoSize, size);
        Window.SetRowCell(row, rcDuration, duration);
    }
    const TOutputOptions& Options() const { return Builder.OutputOptions(); }
};

TEST_F(JobOptionsTest, AspectFollowsTheComboAndTheSourceSize)
{
    const std::vector<std::tuple<int, std::string, std::string>> cases{
        {0, "720x480", "1.5"}, {0, "1280x720", "1.7778"}, {0, "Unknown", "1.3333"},
        {0, " ", "1.3333"},    {1, "1280x720", "4:3"},    {2, "720x480", "16:9"}};
    for (const auto& [index, size, aspect] : cases) {
        Window.Settings.AspectRatio.SetItemIndex(index);
        AddRow(size, "00:00:01");
        Build();
        EXPECT_EQ(Options().AspectRatio, aspect) << size;
        EXPECT_TRUE(Builder.LastJob().Started) << Builder.LastJob().FailText;
    }
}

TEST_F(JobOptionsTest, UnknownDurationLimitsTheOutputToTenHours)
{
    for (const auto& [duration, limit] : std::vector<std::pair<std::string, int>>{
             {"Unknown", 36000000}, {"00:00:00", 36000000}, {"00:03:12", -1}}) {
        AddRow("320x240", duration);
        Build();
        EXPECT_EQ(Options().TimeLimit, limit) << duration;
    }
}

TEST_F(JobOptionsTest, FrameRateVolumeAndProfileSettingsReachTheRecord)
{
    Choose("WMV - Windows Media Video (*.wmv)");
    ASSERT_EQ(Window.Settings.FrameRate.Text(), "Auto");
    Window.Volume = 600;
    AddRow("320x240", "00:00:01");
    Build();
    EXPECT_EQ(Options().FrameRate, "25");
    EXPECT_EQ(Options().AudioVolume, 600);
    EXPECT_EQ(Options().VideoCodec, "wmv2");
    EXPECT_EQ(Options().FrameSize, "320x240");
    EXPECT_EQ(Builder.LastJob().OutputPath, (Out / "short.wmv").string());

    Window.Settings.FrameRate.SetItemIndex(5);
    ASSERT_EQ(Window.Settings.FrameRate.Text(), "29.97 fps");
    AddRow("320x240", "00:00:01");
    Build();
    EXPECT_EQ(Options().FrameRate, "29.97");
}

// Under a locale whose decimal separator is a comma the wide source still reaches the
// engine as 1.7778, and the output shows a 16:9 picture.
TEST_F(JobOptionsTest, WideSourceKeepsItsAspectUnderACommaLocale)
{
    TCommaLocale locale;
    if (!locale.Active())
        GTEST_SKIP() << locale.Reason();
    Window.Settings.VideoSize.Clear();
    Window.Settings.VideoSize.Add("320 x 240");
    Window.Settings.VideoSize.SetItemIndex(0);
    const int row = AddFile(Fixture("wide.mp4"));
    ASSERT_EQ(Window.RowCell(row, rcVideoSize), "1280x720");
    Build();
    EXPECT_EQ(Options().AspectRatio, "1.7778");
    ASSERT_TRUE(Builder.LastJob().Started) << Builder.LastJob().FailText;
    ASSERT_TRUE(WaitUntilIdle());
    EXPECT_EQ(Progress(row), "Done");
    const MediaInfo info = ProbeMedia((Out / "wide.mp4").string());
    const Fields* video = info.First("video");
    ASSERT_NE(video, nullptr);
    EXPECT_EQ(video->at("width"), "320");
    EXPECT_EQ(video->at("display_aspect_ratio"), "16:9");
}

}  // namespace
}  // namespace tavrin::test
