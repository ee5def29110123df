// Catalogue profiles this product does not offer: still complete, with a selection in every
// list they fill.
#include "Catalogue.h"
#include "OutputSettings.h"
#include "ProfileTestControls.h"

#include <gtest/gtest.h>

namespace tavrin::test {
namespace {

using TComboMember = TMemoryCombo TTestControls::*;

const std::vector<std::pair<const char*, TComboMember>> kPerProfileCombos{
    {"video codec", &TTestControls::VideoCodec},   {"audio codec", &TTestControls::AudioCodec},
    {"size", &TTestControls::VideoSize},           {"video bit rate", &TTestControls::VideoBitrate},
    {"frame rate", &TTestControls::FrameRate},     {"audio bit rate", &TTestControls::AudioBitrate},
    {"sample rate", &TTestControls::SampleRate},
};

TEST(EveryProfileFill, SelectsAnItemInEveryListItFills)
{
    for (const TProfileRecord& record : ProfileCatalogue()) {
        if (record.Reserved())
            continue;
        TTestControls c;
        ASSERT_TRUE(c.Choose("AVI - Audio Video Interleave (*.avi)"));
        ASSERT_TRUE(c.Choose(record.Caption)) << record.Caption;
        for (const auto& [name, member] : kPerProfileCombos) {
            const TMemoryCombo& combo = c.*member;
            if (combo.Count() > 0) {
                EXPECT_GE(combo.ItemIndex(), 0) << record.Caption << ": " << name;
            }
        }
        const bool audioOnly = IsAudioOnlyKey(record.Key);
        EXPECT_EQ(c.VideoCodec.Count() == 0, audioOnly) << record.Caption;
        EXPECT_EQ(c.VideoBitrate.Count() == 0, audioOnly) << record.Caption;
        EXPECT_GT(c.AudioCodec.Count(), 0) << record.Caption;
    }
}

struct TSpotCheck {
    const char* Caption;
    TComboMember Combo;
    const char* Selected;
};

TEST(NotOfferedProfileFill, SelectsTheseDefaults)
{
    using T = TTestControls;
    const std::vector<TSpotCheck> checks{
        // Defaults that would otherwise point past the end of a shorter list.
        {"DVD - VOB (*.vob)", &T::VideoSize, "704 x 576 (4CIF)"},
        {"ASF - Advance Streaming Format (*.asf)", &T::VideoBitrate, "1200 Kbps"},
        {"Zune Mpeg4 Video (*.mp4)", &T::FrameRate, "29.97 fps"},
        {"Zune Mpeg4 AVC Video (*.mp4)", &T::FrameRate, "29.97 fps"},
        // Parameterised family members.
        {"iPod Wide Screen (*.mp4)", &T::VideoSize, "720 x 406"},
        {"iPod Wide Screen (*.mp4)", &T::AudioBitrate, "128 Kbps"},
        {"iPod Video For TV (*.mp4)", &T::VideoBitrate, "1500 Kbps"},
        {"iPod Video For TV (*.mp4)", &T::AudioBitrate, "64 Kbps"},
        {"iPod Touch Extra (640 x 480) (*.mp4)", &T::AudioBitrate, "80 Kbps"},
        {"Apple TV (Normal Quality) (*.mp4)", &T::VideoBitrate, "1200 Kbps"},
        {"Apple TV (Normal Quality) (*.mp4)", &T::AudioBitrate, "96 Kbps"},
        {"iPhone Wide Screen (*.mp4)", &T::VideoSize, "720 x 480"},
        {"AVI - XviD Video (*.avi)", &T::VideoCodec, "XVID"},
        {"AVI - Uncompress (*.avi)", &T::VideoCodec, "RAWVIDEO"},
        {"PSP Video - Small File Size (*.mp4)", &T::VideoSize, "160 x 112"},
        {"PSP Video - Normal Quality (*.mp4)", &T::VideoBitrate, "384 Kbps"},
        {"PS3 Video(1080P) (*.mp4)", &T::VideoSize, "1920 x 1072"},
        {"Archos AV700 (*.avi)", &T::VideoBitrate, "2000 Kbps"},
        {"iRiver PMP100 (*.avi)", &T::VideoSize, "640 x 480"},
        // Texts whose blanks matter to the value rules.
        {"RM - Real Video (*.rm)", &T::VideoBitrate, "384  Kbps"},
        {"Zune WMV Windows Media Video (*.wmv)", &T::VideoSize, "320 x 240 "},
        {"BlackBerry AMR Audio (*.amr)", &T::AudioBitrate, "5900 bps"},
        {"BlackBerry AMR Audio (*.amr)", &T::SampleRate, "8000  Hz"},
        {"Video CD (*.mpg)", &T::FrameRate, "29.97 fps [NTSC]"},
    };
    for (const TSpotCheck& check : checks) {
        TTestControls c;
        ASSERT_TRUE(c.Choose(check.Caption)) << check.Caption;
        EXPECT_EQ((c.*check.Combo).Text(), check.Selected) << check.Caption;
    }
}

TEST(NotOfferedProfileFill, WideScreenMembersSetStereoAndOriginalOthersKeepThem)
{
    TTestControls c;
    c.Channels.SetItemIndex(1);
    c.AspectRatio.SetItemIndex(1);
    ASSERT_TRUE(c.Choose("iPod Touch Extra (640 x 480) (*.mp4)"));
    EXPECT_EQ(c.Channels.Text(), "Mono");
    EXPECT_EQ(c.AspectRatio.Text(), "4:3 (Standard");
    ASSERT_TRUE(c.Choose("iPod Touch Wide Screen (*.mp4)"));
    EXPECT_EQ(c.Channels.Text(), "Stereo");
    EXPECT_EQ(c.AspectRatio.Text(), "Original");
}

}  // namespace
}  // namespace tavrin::test
