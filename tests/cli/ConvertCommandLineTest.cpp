// tavrin-convert's words: parsing, profile names and setting values checked against what the
// chosen profile offers.
#include "CommandLine.h"
#include "ConvertCommandLine.h"
#include "ConvertSettings.h"
#include "MemoryCombo.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace tavrin::cli {
namespace {

TEST(ConvertCommandLine, ReadsEveryOptionAndTheFiles)
{
    const TConvertCommandLine line = ParseConvertCommandLine(
        {"-p", "appletv", "-o", "OUT", "--video-quality", "Highest", "--audio-quality=Low",
         "--size", "320 x 240", "--rate", "25", "--channels", "Mono", "--volume", "120",
         "--aspect", "16:9", "--overwrite", "--letterbox", "a.avi", "b.mkv", "--", "-c.mov"});
    EXPECT_EQ(line.Profile, "appletv");
    EXPECT_EQ(line.OutputFolder, "OUT");
    EXPECT_EQ(line.VideoQuality, "Highest");
    EXPECT_EQ(line.AudioQuality, "Low");
    EXPECT_EQ(line.Size, "320 x 240");
    EXPECT_EQ(line.Rate, "25");
    EXPECT_EQ(line.Channels, "Mono");
    EXPECT_EQ(line.Volume, "120");
    EXPECT_EQ(line.Aspect, "16:9");
    EXPECT_TRUE(line.Overwrite);
    EXPECT_TRUE(line.LetterBox);
    EXPECT_EQ(line.Files, (std::vector<std::string>{"a.avi", "b.mkv", "-c.mov"}));
}

TEST(ConvertCommandLine, DefaultsToTheFirstProfileAndTheCurrentFolder)
{
    const TConvertCommandLine line = ParseConvertCommandLine({"a.avi"});
    EXPECT_EQ(line.Profile, "");
    EXPECT_EQ(line.OutputFolder, ".");
    EXPECT_FALSE(line.Overwrite);
    EXPECT_FALSE(line.LetterBox);
    EXPECT_FALSE(line.Size);
}

TEST(ConvertCommandLine, ListingNeedsNoFiles)
{
    EXPECT_TRUE(ParseConvertCommandLine({"--list-profiles"}).ListProfiles);
    EXPECT_TRUE(ParseConvertCommandLine({"--help"}).Help);
}

TEST(ConvertCommandLine, RefusesWhatItCannotUse)
{
    const std::vector<std::vector<std::string>> bad{
        {},           {"-p", "ipod"},       {"a.avi", "-p"},          {"--size"},
        {"--bogus", "a.avi"}, {"--overwrite=yes", "a.avi"}, {"-x", "a.avi"},
        {"--letterbox=1", "a.avi"}};
    for (const auto& args : bad)
        EXPECT_THROW(ParseConvertCommandLine(args), TUsageError) << ::testing::PrintToString(args);
}

TEST(ConvertCommandLine, ADashedWordThatNamesNoOptionIsAFileLastOrAfterTheFirstFile)
{
    const TConvertCommandLine line =
        ParseConvertCommandLine({"a.avi", "-dash.mp4", "-p", "mp3", "-j2.avi", "--x", "--", "-o"});
    EXPECT_EQ(line.Files, (std::vector<std::string>{"a.avi", "-dash.mp4", "-j2.avi", "--x", "-o"}));
    EXPECT_EQ(line.Profile, "mp3");
    EXPECT_EQ(line.OutputFolder, ".");
    EXPECT_EQ(ParseConvertCommandLine({"-p", "mp3", "-dash.mp4"}).Files, (std::vector<std::string>{"-dash.mp4"}));
    try {
        ParseConvertCommandLine({"-dash.mp4", "a.avi"});
        FAIL() << "-dash.mp4 comes before the files";
    } catch (const TUsageError& e) {
        EXPECT_EQ(std::string(e.what()), "unknown option -dash.mp4 (put -- before a file whose name begins with '-')");
    }
}

TEST(ConvertCommandLine, JobsInEverySpellingAndOnlyInRange)
{
    EXPECT_EQ(ParseConvertCommandLine({"a.avi"}).Jobs, 1);
    EXPECT_EQ(ParseConvertCommandLine({"-j", "2", "a.avi"}).Jobs, 2);
    EXPECT_EQ(ParseConvertCommandLine({"-j3", "a.avi"}).Jobs, 3);
    EXPECT_EQ(ParseConvertCommandLine({"--jobs=4", "a.avi"}).Jobs, 4);
    EXPECT_EQ(ParseConvertCommandLine({"a.avi", "--jobs", "64"}).Jobs, 64);
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"-j", "0", "a.avi"}, {"-j", "65", "a.avi"}, {"-j", "two", "a.avi"}, {"-j2x", "a.avi"},
             {"-j", "-1", "a.avi"}, {"a.avi", "-j"}})
        EXPECT_THROW(ParseConvertCommandLine(args), TUsageError) << ::testing::PrintToString(args);
}

TEST(ConvertProfiles, MatchCaptionNameOrUniqueKeyInAnyCase)
{
    EXPECT_EQ(FindOfferedProfile("appletv").Caption, "Apple TV (*.mp4)");
    EXPECT_EQ(FindOfferedProfile("AppleTV").Caption, "Apple TV (*.mp4)");
    EXPECT_EQ(FindOfferedProfile("iPod (*.mp4)").Caption, "iPod (*.mp4)");
    EXPECT_EQ(FindOfferedProfile("ipod (*.MP4)").Caption, "iPod (*.mp4)");
    EXPECT_EQ(FindOfferedProfile("mp3").Caption, "MP3 - Mpeg Layer3 Audio (*.mp3)");
    EXPECT_EQ(FindOfferedProfile("WMV").Caption, "WMV - Windows Media Video (*.wmv)");
    EXPECT_EQ(FindOfferedProfile("3gp").Caption, "3GP - Mobile Video Format (*.3gp)");
    EXPECT_EQ(FindOfferedProfile("appletvh264320x240").Caption, "Apple TV H264 (320 x 240) (*.mp4)");
}

TEST(ConvertProfiles, RefuseUnknownAmbiguousAndNotOfferedNames)
{
    try {
        FindOfferedProfile("avi");
        FAIL() << "avi names two profiles";
    } catch (const TUsageError& e) {
        EXPECT_NE(std::string(e.what()).find("avidivxvideo"), std::string::npos) << e.what();
    }
    EXPECT_THROW(FindOfferedProfile("mp4"), TUsageError);
    EXPECT_THROW(FindOfferedProfile("psp"), TUsageError);       // in the catalogue, not offered
    EXPECT_THROW(FindOfferedProfile("PSP Video (*.mp4)"), TUsageError);
    EXPECT_THROW(FindOfferedProfile(""), TUsageError);
    EXPECT_THROW(FindOfferedProfile("              ---"), TUsageError);
}

TEST(ConvertProfiles, ListShowsEveryOfferedProfileOnce)
{
    const std::string list = ProfileListText();
    EXPECT_EQ(std::count(list.begin(), list.end(), '\n'), 20);
    EXPECT_NE(list.find("appletv"), std::string::npos);
    EXPECT_NE(list.find("WAV - Waveform Audio (*.wav)"), std::string::npos);
    EXPECT_EQ(list.find("----"), std::string::npos);
}

TEST(ConvertSettings, ItemsMatchByTextNameOrNumber)
{
    TMemoryCombo combo;
    for (const char* item : {"Auto", "23.975 fps", "25.0 fps", "29.97 fps", "320 x 240 (VGA)"})
        combo.Add(item);
    EXPECT_EQ(MatchItem(combo, "auto"), 0);
    EXPECT_EQ(MatchItem(combo, "25"), 2);
    EXPECT_EQ(MatchItem(combo, "29.97 FPS"), 3);
    EXPECT_EQ(MatchItem(combo, "320x240"), 4);
    EXPECT_EQ(MatchItem(combo, "320 x 240 (vga)"), 4);
    EXPECT_EQ(MatchItem(combo, "24"), -1);
    EXPECT_EQ(MatchItem(combo, ""), -1);
}

class ConvertSettingsTest : public ::testing::Test {
protected:
    std::unique_ptr<TMemoryJobWindow> Apply(std::vector<std::string> args)
    {
        args.push_back("a.avi");
        auto window = std::make_unique<TMemoryJobWindow>();
        ApplyConvertSettings(ParseConvertCommandLine(args), *window);
        return window;
    }
    // The refusal text, or "" when the settings were taken.
    std::string Refusal(std::vector<std::string> args)
    {
        try {
            Apply(std::move(args));
        } catch (const TUsageError& e) {
            return e.what();
        }
        return "";
    }
};

TEST_F(ConvertSettingsTest, ChosenValuesReachTheCombos)
{
    const auto applied = Apply({"-p", "wmv", "--size", "640x480", "--rate", "29.97", "--channels",
                                "mono", "--aspect", "4:3", "--volume", "200", "-o", "OUT",
                                "--overwrite"});
    const TMemoryJobWindow& window = *applied;
    const TMemoryProfileControls& s = window.Settings;
    EXPECT_EQ(s.OutputFormat.Text(), "WMV - Windows Media Video (*.wmv)");
    EXPECT_EQ(window.Extension, "WMV");
    EXPECT_EQ(s.VideoSize.Text(), "640 x 480");
    EXPECT_EQ(s.FrameRate.Text(), "29.97 fps");
    EXPECT_EQ(s.Channels.Text(), "Mono");
    EXPECT_EQ(s.AspectRatio.ItemIndex(), 1);
    EXPECT_EQ(window.Volume, 600);
    EXPECT_EQ(window.OutputFolder, "OUT");
    EXPECT_TRUE(window.Overwrite);
}

TEST_F(ConvertSettingsTest, DefaultsAreTheWindowsStartUpChoices)
{
    const auto applied = Apply({});
    const TMemoryJobWindow& window = *applied;
    const TMemoryProfileControls& s = window.Settings;
    EXPECT_EQ(s.OutputFormat.Text(), "Apple TV (*.mp4)");
    EXPECT_EQ(s.VideoQuality.Text(), "Normal");
    EXPECT_EQ(s.AspectRatio.ItemIndex(), 0);
    EXPECT_EQ(window.Volume, 255);
    EXPECT_FALSE(window.Overwrite);
}

TEST_F(ConvertSettingsTest, QualityMovesTheBitRates)
{
    const std::string normal = Apply({"-p", "wmv"})->Settings.VideoBitrate.Text();
    const std::string highest =
        Apply({"-p", "wmv", "--video-quality", "highest"})->Settings.VideoBitrate.Text();
    EXPECT_NE(normal, highest);
    EXPECT_EQ(Apply({"-p", "wmv", "--audio-quality", "Lowest"})->Settings.AudioQuality.Text(), "Lowest");
}

TEST_F(ConvertSettingsTest, ValueNotOfferedIsRefusedWithWhatIsOffered)
{
    const std::string size = Refusal({"-p", "ipod", "--size", "640x480"});
    EXPECT_NE(size.find("\"640x480\" is not offered by \"iPod (*.mp4)\""), std::string::npos) << size;
    EXPECT_NE(size.find("\"320 x 240\""), std::string::npos) << size;

    const std::string rate = Refusal({"-p", "wmv", "--rate", "24"});
    EXPECT_NE(rate.find("\"29.97 fps\""), std::string::npos) << rate;

    EXPECT_NE(Refusal({"-p", "mp3", "--size", "320x240"}), "");
    EXPECT_NE(Refusal({"-p", "mp3", "--video-quality", "Normal"}), "");
    EXPECT_NE(Refusal({"--video-quality", "best"}).find("\"Highest\""), std::string::npos);
    EXPECT_NE(Refusal({"--channels", "5.1"}).find("\"Stereo\", \"Mono\""), std::string::npos);
    EXPECT_NE(Refusal({"--aspect", "21:9"}).find("original, 4:3, 16:9"), std::string::npos);
    EXPECT_NE(Refusal({"--volume", "50"}).find("0, 20, 40"), std::string::npos);
    EXPECT_EQ(Refusal({"--volume", "80%"}), "");
}

}  // namespace
}  // namespace tavrin::cli
