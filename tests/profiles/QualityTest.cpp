// Quality presets move the bit-rate selections; audio-only profiles switch video controls off.
#include "Catalogue.h"
#include "ProfileTestControls.h"
#include "Quality.h"

#include <gtest/gtest.h>

#include <array>

namespace tavrin::test {
namespace {

struct TExpectedPreset {
    std::string Caption;
    std::array<int, 5> Video;  // Highest ... Lowest
    std::array<int, 5> Audio;
};

const std::vector<TExpectedPreset> kOfferedPresets{
    {"Apple TV (*.mp4)", {2500, 1500, 1200, 800, 512}, {256, 128, 64, 48, 32}},
    {"Apple TV H264 (1280 x 720) (*.mp4)", {2500, 2000, 1500, 1200, 800}, {256, 128, 64, 48, 32}},
    {"Apple TV H264 (640 x 480) (*.mp4)", {2500, 2000, 1500, 1200, 800}, {256, 128, 64, 48, 32}},
    {"Apple TV H264 (320 x 240) (*.mp4)", {1500, 1200, 800, 512, 256}, {256, 128, 64, 48, 32}},
    {"iPhone (*.mp4)", {2500, 1500, 1200, 800, 512}, {256, 192, 128, 80, 64}},
    {"iPod (*.mp4)", {1200, 800, 512, 256, 128}, {320, 192, 128, 96, 64}},
    {"iPod Touch (*.mp4)", {2500, 1500, 1200, 800, 512}, {256, 192, 128, 80, 64}},
    {"3GP - Mobile Video Format (*.3gp)", {512, 256, 128, 96, 64}, {12200, 7950, 7400, 6700, 4750}},
    {"3G2 - Mobile Video Format (*.3g2)", {512, 256, 128, 96, 64}, {12200, 7950, 7400, 6700, 4750}},
    {"AVI - Audio Video Interleave (*.avi)", {2500, 1500, 1200, 512, 256}, {320, 192, 128, 64, 48}},
    {"AVI - DivX Video (*.avi)", {2500, 1500, 1200, 512, 256}, {320, 192, 128, 64, 48}},
    {"MPEG-1 Movie (*.mpg)", {2000, 1600, 1200, 1000, 768}, {224, 192, 128, 80, 64}},
    {"MPEG-2 Movie (*.mpg)", {2000, 1600, 1200, 1000, 768}, {224, 192, 128, 80, 64}},
    {"MOV - QuickTime Video (*.mov)", {2500, 2000, 1200, 768, 512}, {256, 192, 128, 80, 64}},
    {"MP4 - MPEG4 Video (*.mp4)", {2500, 1500, 1200, 768, 512}, {256, 192, 128, 80, 64}},
    {"WMV - Windows Media Video (*.wmv)", {2500, 2000, 1500, 1200, 768}, {256, 192, 128, 80, 48}},
    {"AAC - Advance Audio Coding (*.aac)", {0, 0, 0, 0, 0}, {256, 192, 128, 96, 48}},
    {"M4A - Mpeg4 Audio File (*.m4a)", {0, 0, 0, 0, 0}, {256, 192, 128, 80, 64}},
    {"MP3 - Mpeg Layer3 Audio (*.mp3)", {0, 0, 0, 0, 0}, {256, 192, 128, 80, 64}},
    {"WAV - Waveform Audio (*.wav)", {0, 0, 0, 0, 0}, {256, 192, 128, 80, 64}},
};

bool Holds(const TMemoryCombo& combo, const std::string& text)
{
    const auto& items = combo.Items();
    return std::find(items.begin(), items.end(), text) != items.end();
}

// The preset text is selected when the list holds it; otherwise the selection stays.
void ExpectPresetSelection(const TMemoryCombo& combo, const std::string& before,
                           const std::string& preset, const std::string& context)
{
    EXPECT_EQ(combo.Text(), Holds(combo, preset) ? preset : before) << context;
}

TEST(QualityPreset, OfferedProfilesFollowTheQualityTable)
{
    for (const TExpectedPreset& expected : kOfferedPresets) {
        for (int quality = 0; quality < 5; ++quality) {
            TTestControls c;
            ASSERT_TRUE(c.Choose(expected.Caption));
            EXPECT_EQ(QualityRow(FindProfile(expected.Caption)->Kind).Video, expected.Video);
            const std::string videoBefore = c.VideoBitrate.Text();
            const std::string audioBefore = c.AudioBitrate.Text();
            const char* unit = expected.Caption.starts_with("3G") ? " bps" : " Kbps";
            c.VideoQuality.SetItemIndex(quality);
            c.AudioQuality.SetItemIndex(quality);
            ApplyQualityPreset(c.Controls);

            const std::string context = expected.Caption + " quality " + std::to_string(quality);
            const size_t q = static_cast<size_t>(quality);
            ExpectPresetSelection(c.VideoBitrate, videoBefore,
                                  std::to_string(expected.Video[q]) + " Kbps", context);
            ExpectPresetSelection(c.AudioBitrate, audioBefore,
                                  std::to_string(expected.Audio[q]) + unit, context);
        }
    }
}

TEST(QualityPreset, HighestOnMp4)
{
    TTestControls c;
    ASSERT_TRUE(c.Choose("MP4 - MPEG4 Video (*.mp4)"));
    c.VideoQuality.SetItemIndex(0);
    c.AudioQuality.SetItemIndex(0);
    ApplyQualityPreset(c.Controls);
    EXPECT_EQ(c.VideoBitrate.Text(), "2500 Kbps");
    EXPECT_EQ(c.AudioBitrate.Text(), "256 Kbps");
}

TEST(QualityPreset, IPodListLacks256SoLowerKeepsTheSelection)
{
    TTestControls c;
    ASSERT_TRUE(c.Choose("iPod (*.mp4)"));
    c.VideoBitrate.SetItemIndex(2);
    c.VideoQuality.SetItemIndex(3);
    ApplyQualityPreset(c.Controls);
    EXPECT_EQ(c.VideoBitrate.Text(), "1200 Kbps");
    c.VideoQuality.SetItemIndex(1);
    ApplyQualityPreset(c.Controls);
    EXPECT_EQ(c.VideoBitrate.Text(), "800 Kbps");
}

TEST(QualityPreset, AmrRatesMoveInBitsPerSecond)
{
    TTestControls c;
    ASSERT_TRUE(c.Choose("3GP - Mobile Video Format (*.3gp)"));
    c.AudioQuality.SetItemIndex(0);
    ApplyQualityPreset(c.Controls);
    EXPECT_EQ(c.AudioBitrate.Text(), "12200 bps");
}

TEST(QualityPreset, TheLastEqualItemEndsSelected)
{
    TTestControls c;
    ASSERT_TRUE(c.Choose("MP4 - MPEG4 Video (*.mp4)"));
    SetItems(c.VideoBitrate, {"2500 Kbps", "512 Kbps", "2500 Kbps", "64 Kbps"}, "64 Kbps");
    c.VideoQuality.SetItemIndex(0);
    ApplyQualityPreset(c.Controls);
    EXPECT_EQ(c.VideoBitrate.ItemIndex(), 2);
}

TEST(QualityPreset, NoProfileOrNoQualityChangesNothing)
{
    TTestControls c;
    ASSERT_TRUE(c.Choose("MP4 - MPEG4 Video (*.mp4)"));
    c.VideoQuality.SetItemIndex(-1);
    c.AudioQuality.SetItemIndex(0);
    ApplyQualityPreset(c.Controls);
    EXPECT_EQ(c.VideoBitrate.Text(), "1200 Kbps");
    EXPECT_EQ(c.AudioBitrate.Text(), "256 Kbps");

    c.AudioQuality.SetItemIndex(4);
    c.OutputFormat.SetItemIndex(1);
    ApplyQualityPreset(c.Controls);
    EXPECT_EQ(c.AudioBitrate.Text(), "256 Kbps");
}

TEST(QualityPreset, EveryValueOfProfilesNotOfferedIsInTheirLists)
{
    for (const TProfileRecord& record : ProfileCatalogue()) {
        if (record.Reserved() || record.Offered)
            continue;
        const TQualityRow& row = QualityRow(record.Kind);
        for (int quality = 0; quality < 5; ++quality) {
            TTestControls c;
            ASSERT_TRUE(c.Choose(record.Caption));
            const std::string unit = c.AudioBitrate.Text().find("Kbps") != std::string::npos
                                         ? " Kbps" : " bps";
            const size_t q = static_cast<size_t>(quality);
            if (c.VideoBitrate.Count() > 0) {
                EXPECT_TRUE(Holds(c.VideoBitrate, std::to_string(row.Video[q]) + " Kbps"))
                    << record.Caption << " video " << quality;
            }
            EXPECT_TRUE(Holds(c.AudioBitrate, std::to_string(row.Audio[q]) + unit))
                << record.Caption << " audio " << quality;
        }
    }
}

TEST(QualityControls, AudioOnlyProfilesDisableTheVideoControls)
{
    const std::vector<std::pair<std::string, bool>> cases{
        {"AU - SUN Audio (*.au)", false},          {"M4A - Mpeg4 Audio File (*.m4a)", false},
        {"OGG - Ogg Vorbis Audio (*.ogg)", false}, {"RA - Real Audio (*.ra)", false},
        {"WAV - Waveform Audio (*.wav)", false},   {"WMA - Windows Media Audio (*.wma)", false},
        {"MP2 - Mpeg Layer2 Audio (*.mp2)", false}, {"AAC - Advance Audio Coding (*.aac)", false},
        {"MP3 - Mpeg Layer3 Audio (*.mp3)", false}, {"BlackBerry AMR Audio (*.amr)", false},
        {"iPod (*.mp4)", true},                    {"3GP - Mobile Video Format (*.3gp)", true},
        {"DVD - VOB (*.vob)", true},               {std::string(kSeparatorText), true},
    };
    for (const auto& [caption, enabled] : cases) {
        TTestControls c;
        c.Choose(caption);
        c.VideoQuality.SetEnabled(!enabled);
        c.VideoSize.SetEnabled(!enabled);
        c.FrameRate.SetEnabled(!enabled);
        c.VideoBitrate.SetEnabled(false);
        UpdateQualityControls(c.Controls);
        EXPECT_EQ(c.VideoQuality.Enabled(), enabled) << caption;
        EXPECT_EQ(c.VideoSize.Enabled(), enabled) << caption;
        EXPECT_EQ(c.FrameRate.Enabled(), enabled) << caption;
        EXPECT_FALSE(c.VideoBitrate.Enabled()) << caption;
        EXPECT_TRUE(c.AudioQuality.Enabled()) << caption;
    }
}

}  // namespace
}  // namespace tavrin::test
