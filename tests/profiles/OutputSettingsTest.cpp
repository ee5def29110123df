// The chosen profile and combo texts become the engine's output options.
#include "OutputFormat.h"
#include "ProfileTestControls.h"
#include "SettingText.h"

#include <gtest/gtest.h>

namespace tavrin::test {
namespace {

TOutputOptions Apply(const TTestControls& c)
{
    TOutputOptions options;
    EXPECT_TRUE(ApplyProfileSettings(c.Controls, options));
    return options;
}

TEST(CommonMapping, DivXAviDefaults)
{
    TTestControls c;
    ASSERT_TRUE(c.Choose("AVI - DivX Video (*.avi)"));
    const TOutputOptions o = Apply(c);
    EXPECT_EQ(o.VideoCodec, "mpeg4");
    EXPECT_EQ(o.AudioCodec, "libmp3lame");
    EXPECT_EQ(o.VideoBitrate, 1200000);
    EXPECT_EQ(o.AudioBitrate, 128000);
    EXPECT_EQ(o.AudioSampleRate, 48000);
    EXPECT_EQ(o.FrameSize, "");
    EXPECT_EQ(o.AudioChannels, 2);
    EXPECT_EQ(o.AspectRatio, "");
    EXPECT_FALSE(o.DisableVideo);
}

TEST(CommonMapping, SizeMonoAndAspectChoices)
{
    TTestControls c;
    ASSERT_TRUE(c.Choose("MPEG-2 Movie (*.mpg)"));
    c.Channels.SetItemIndex(1);
    c.AspectRatio.SetItemIndex(2);
    c.AudioCodec.SetItemIndex(1);
    const TOutputOptions o = Apply(c);
    EXPECT_EQ(o.VideoCodec, "mpeg2video");
    EXPECT_EQ(o.AudioCodec, "ac3");
    EXPECT_EQ(o.FrameSize, "320x240");
    EXPECT_EQ(o.AudioChannels, 1);
    EXPECT_EQ(o.AspectRatio, "16:9 (Wide Screen)");
    EXPECT_EQ(o.VideoBitrate, 2000000);
}

TEST(CommonMapping, AudioOnlyProfilesSendNoVideo)
{
    const std::vector<std::pair<std::string, std::string>> cases{
        {"MP3 - Mpeg Layer3 Audio (*.mp3)", "libmp3lame"},
        {"WAV - Waveform Audio (*.wav)", "pcm_s16le"},
        {"M4A - Mpeg4 Audio File (*.m4a)", "libfaac"},
        {"AAC - Advance Audio Coding (*.aac)", "libfaac"},
        {"BlackBerry AMR Audio (*.amr)", "libamr_nb"},
    };
    for (const auto& [caption, codec] : cases) {
        TTestControls c;
        ASSERT_TRUE(c.Choose("MP4 - MPEG4 Video (*.mp4)"));
        ASSERT_TRUE(c.Choose(caption));
        const TOutputOptions o = Apply(c);
        EXPECT_EQ(o.AudioCodec, codec) << caption;
        EXPECT_TRUE(o.DisableVideo) << caption;
        EXPECT_EQ(o.VideoCodec, "") << caption;
        EXPECT_EQ(o.FrameSize, "") << caption;
        EXPECT_EQ(o.VideoBitrate, 0) << caption;
    }
}

TEST(CommonMapping, AutoSizeKeepsTheSourceSize)
{
    TTestControls c;
    ASSERT_TRUE(c.Choose("Archos AV500/GMini402 (*.avi)"));
    c.VideoSize.SetItemIndex(0);
    ASSERT_EQ(c.VideoSize.Text(), "Auto");
    EXPECT_EQ(Apply(c).FrameSize, "");
}

TEST(CommonMapping, ThreeGPKeyForcesMonoAndBpsStaysUnscaled)
{
    TTestControls c;
    ASSERT_TRUE(c.Choose("BlackBerry 3GP Video (*.3gp)"));
    const TOutputOptions o = Apply(c);
    EXPECT_EQ(o.AudioChannels, 1);
    EXPECT_EQ(o.AudioBitrate, 4750);
    EXPECT_EQ(o.AudioSampleRate, 8000);
    EXPECT_EQ(o.AudioCodec, "libamr_nb");
    EXPECT_EQ(o.FrameSize, "176x144");
}

TEST(MobileMapping, H263WithAmrInBitsPerSecond)
{
    TTestControls c;
    ASSERT_TRUE(c.Choose("3GP - Mobile Video Format (*.3gp)"));
    c.VideoCodec.SetItemIndex(1);
    c.AudioCodec.SetItemIndex(1);
    const TOutputOptions o = Apply(c);
    EXPECT_EQ(o.VideoCodec, "h263");
    EXPECT_EQ(o.AudioCodec, "libamr_nb");
    EXPECT_EQ(o.AudioBitrate, 7400);
    EXPECT_EQ(o.AudioSampleRate, 8000);
    EXPECT_EQ(o.VideoBitrate, 128000);
    EXPECT_EQ(o.FrameSize, "176x144");
    EXPECT_EQ(o.AudioChannels, 1);
    EXPECT_FALSE(o.DisableVideo);
}

TEST(AppleMapping, IPodTouchCarriesTheComboChoices)
{
    TTestControls c;
    ASSERT_TRUE(c.Choose("iPod Touch (*.mp4)"));
    c.VideoBitrate.SetItemIndex(4);
    c.AudioBitrate.SetItemIndex(7);
    c.AspectRatio.SetItemIndex(1);
    const TOutputOptions o = Apply(c);
    EXPECT_EQ(o.VideoCodec, "mpeg4");
    EXPECT_EQ(o.AudioCodec, "libfaac");
    EXPECT_EQ(o.VideoBitrate, 2500000);
    EXPECT_EQ(o.AudioBitrate, 128000);
    EXPECT_EQ(o.AudioSampleRate, 44100);
    EXPECT_EQ(o.FrameSize, "480x320");
    // Stereo at most, so that a 5.1 source does not give six channels; the aspect is left
    // to the job builder.
    EXPECT_EQ(o.AudioChannels, 2);
    EXPECT_EQ(o.AspectRatio, "");
    c.Channels.SetItemIndex(1);
    EXPECT_EQ(Apply(c).AudioChannels, 1);
}

TEST(AppleMapping, H264AndAnyAudioLabelBecomeX264AndAac)
{
    TTestControls c;
    ASSERT_TRUE(c.Choose("Apple TV H264 (1280 x 720) (*.mp4)"));
    SetItems(c.AudioCodec, {"mp3"}, "mp3");
    const TOutputOptions o = Apply(c);
    EXPECT_EQ(o.VideoCodec, "libx264");
    EXPECT_EQ(o.AudioCodec, "libfaac");
    EXPECT_EQ(o.FrameSize, "1280x720");
    EXPECT_EQ(o.VideoBitrate, 2500000);
}

TEST(ProfileSettings, TextsThatAreNotNumbersRaise)
{
    TTestControls c;
    ASSERT_TRUE(c.Choose("MOV - QuickTime Video (*.mov)"));
    SetItems(c.SampleRate, {"fast Hz"}, "fast Hz");
    TOutputOptions o;
    EXPECT_THROW(ApplyProfileSettings(c.Controls, o), ESettingTextError);

    ASSERT_TRUE(c.Choose("iPod (*.mp4)"));
    SetItems(c.AudioBitrate, {"64Kbps"}, "64Kbps");
    EXPECT_EQ(Apply(c).AudioBitrate, 0);  // no blank: an empty number followed by "000"
    SetItems(c.VideoBitrate, {"99999999 Kbps"}, "99999999 Kbps");
    EXPECT_THROW(ApplyProfileSettings(c.Controls, o), ESettingTextError);
}

TEST(ProfileSettings, SeparatorLeavesTheRecordAsItWas)
{
    TTestControls c;
    c.OutputFormat.SetItemIndex(1);
    TOutputOptions o;
    o.AudioCodec = "kept";
    EXPECT_FALSE(ApplyProfileSettings(c.Controls, o));
    EXPECT_EQ(o.AudioCodec, "kept");
    EXPECT_EQ(o.VideoBitrate, -1);
}

}  // namespace
}  // namespace tavrin::test
