// Choosing each offered profile fills the setting combos with its lists and defaults.
#include "ExpectedLists.h"
#include "ProfileTestControls.h"

#include <gtest/gtest.h>

namespace tavrin::test {
namespace {

struct TExpectedCombo {
    TItems Items;
    std::string Selected;  // "" for an empty combo
};

const TExpectedCombo kNone{{}, ""};

struct TExpectedFill {
    std::string Caption;
    TExpectedCombo VideoCodec, AudioCodec, Size, VideoBitrate, FrameRate, AudioBitrate,
        SampleRate;
    bool SetsStereoOriginal;  // else channels and aspect stay as the user left them
};

void PrintTo(const TExpectedFill& fill, std::ostream* out)
{
    *out << fill.Caption;
}

const TItems k3GPSizes{"128 x 96 (SQCIF)", "160 x 120 (QVGA)", "176 x 144 (QCIF)", "208 x 176",
                       "220 x 176",        "320 x 240 (VGA)",  "352 x 288 (CIF)"};
const TItems k3GPRates{"48 Kbps", "64 Kbps", "96 Kbps", "128 Kbps", "256 Kbps", "512 Kbps"};
const TItems k3GPFrames{"Auto", "11 fps", "14.985 fps", "15 fps"};
const TItems k3GPSampleRates{"8000  bps", "16000 bps"};

TExpectedFill Mobile(const std::string& caption)
{
    return {caption,
            {{"MPEG4", "H263", "H264"}, "MPEG4"},
            {{"amr_nb", "mpeg4aac"}, "amr_nb"},
            {k3GPSizes, "176 x 144 (QCIF)"},
            {k3GPRates, "128 Kbps"},
            {k3GPFrames, "Auto"},
            {kB, "7400 bps"},
            {k3GPSampleRates, "8000  bps"},
            false};
}

TExpectedFill AudioOnly(const std::string& caption, const std::string& codec,
                        const std::string& bitrate, const TItems& rates,
                        const std::string& rate)
{
    return {caption, kNone, {{codec}, codec}, kNone, kNone, kNone, {kA, bitrate}, {rates, rate},
            true};
}

const std::vector<TExpectedFill> kOfferedFills{
    {"Apple TV (*.mp4)", {{"MPEG4"}, "MPEG4"}, {{"mpeg4aac"}, "mpeg4aac"},
     {{"640 x 480"}, "640 x 480"}, {kVA, "1500 Kbps"}, {kF, "Auto"}, {kA, "128 Kbps"},
     {kR, "44100 Hz"}, true},
    {"Apple TV H264 (1280 x 720) (*.mp4)", {{"H264"}, "H264"}, {{"mpeg4aac"}, "mpeg4aac"},
     {{"1280 x 720"}, "1280 x 720"}, {kH264Rates, "2500 Kbps"}, {kF, "23.975 fps"},
     {kA, "64 Kbps"}, {kR, "48000 Hz"}, true},
    {"Apple TV H264 (640 x 480) (*.mp4)", {{"H264"}, "H264"}, {{"mpeg4aac"}, "mpeg4aac"},
     {{"640 x 480"}, "640 x 480"}, {kH264Rates, "2000 Kbps"}, {kF, "29.97 fps"},
     {kA, "64 Kbps"}, {kR, "48000 Hz"}, true},
    {"Apple TV H264 (320 x 240) (*.mp4)", {{"H264"}, "H264"}, {{"mpeg4aac"}, "mpeg4aac"},
     {{"320 x 240"}, "320 x 240"}, {kH264Rates, "1200 Kbps"}, {kF, "29.97 fps"},
     {kA, "64 Kbps"}, {kR, "48000 Hz"}, true},
    {"iPhone (*.mp4)", {{"MPEG4"}, "MPEG4"}, {{"mpeg4aac"}, "mpeg4aac"},
     {{"480 x 320"}, "480 x 320"}, {kVA, "1200 Kbps"}, {kF, "Auto"}, {kA, "80 Kbps"},
     {kR, "44100 Hz"}, true},
    {"iPod (*.mp4)", {{"MPEG4", "H264"}, "MPEG4"}, {{"mpeg4aac"}, "mpeg4aac"},
     {{"320 x 240"}, "320 x 240"}, {kVA, "512 Kbps"}, {kF, "Auto"}, {kA, "64 Kbps"},
     {kR, "44100 Hz"}, false},
    {"iPod Touch (*.mp4)", {{"MPEG4"}, "MPEG4"}, {{"mpeg4aac"}, "mpeg4aac"},
     {{"480 x 320"}, "480 x 320"}, {kVA, "1200 Kbps"}, {kF, "Auto"}, {kA, "80 Kbps"},
     {kR, "44100 Hz"}, false},
    Mobile("3GP - Mobile Video Format (*.3gp)"),
    Mobile("3G2 - Mobile Video Format (*.3g2)"),
    {"AVI - Audio Video Interleave (*.avi)", {{"MPEG4", "H264"}, "MPEG4"},
     {{"pcm_s16le", "mp3", "mp2", "ac3"}, "pcm_s16le"}, {kS, "Original Video Size"},
     {kV2, "1200 Kbps"}, {kF, "Auto"}, {kA, "128 Kbps"}, {kR, "48000 Hz"}, true},
    {"AVI - DivX Video (*.avi)", {{"MPEG4"}, "MPEG4"}, {{"mp3"}, "mp3"},
     {kS, "Original Video Size"}, {kV2, "1200 Kbps"}, {kF, "Auto"}, {kA, "128 Kbps"},
     {kR, "48000 Hz"}, true},
    {"MPEG-1 Movie (*.mpg)", {{"MPEG1VIDEO"}, "MPEG1VIDEO"}, {{"mp2"}, "mp2"},
     {kS, "320 x 240 (VGA)"}, {kV, "1600 Kbps"}, {kF, "25.0 fps"}, {kA, "192 Kbps"},
     {kR, "44100 Hz"}, true},
    {"MPEG-2 Movie (*.mpg)", {{"MPEG2VIDEO"}, "MPEG2VIDEO"}, {{"mp2", "ac3"}, "mp2"},
     {kS, "320 x 240 (VGA)"}, {kV, "2000 Kbps"}, {kF, "25.0 fps"}, {kA, "192 Kbps"},
     {kR, "44100 Hz"}, true},
    {"MOV - QuickTime Video (*.mov)", {{"MPEG4"}, "MPEG4"}, {{"mpeg4aac"}, "mpeg4aac"},
     {kS, "Original Video Size"}, {kV, "1200 Kbps"}, {kF, "Auto"}, {kA, "128 Kbps"},
     {kR, "44100 Hz"}, true},
    {"MP4 - MPEG4 Video (*.mp4)", {{"MPEG4", "H264", "XVid"}, "MPEG4"},
     {{"mpeg4aac"}, "mpeg4aac"}, {kS, "Original Video Size"}, {kV, "1200 Kbps"},
     {kF, "Auto"}, {kA, "128 Kbps"}, {kR, "44100 Hz"}, true},
    {"WMV - Windows Media Video (*.wmv)", {{"WMV2"}, "WMV2"}, {{"wmav2"}, "wmav2"},
     {kS, "320 x 240 (VGA)"}, {kV, "1200 Kbps"}, {kF, "Auto"}, {kA, "128 Kbps"},
     {kR, "48000 Hz"}, true},
    AudioOnly("AAC - Advance Audio Coding (*.aac)", "aac", "128 Kbps", kR, "48000 Hz"),
    AudioOnly("M4A - Mpeg4 Audio File (*.m4a)", "mpeg4aac", "128 Kbps", kR, "48000 Hz"),
    AudioOnly("MP3 - Mpeg Layer3 Audio (*.mp3)", "mp3", "192 Kbps", kR, "48000 Hz"),
    AudioOnly("WAV - Waveform Audio (*.wav)", "pcm_s16le", "128 Kbps", kR2, "44100 Hz"),
};

void ExpectCombo(const TMemoryCombo& combo, const TExpectedCombo& expected, const char* name)
{
    EXPECT_EQ(combo.Items(), expected.Items) << name;
    EXPECT_EQ(combo.Text(), expected.Selected) << name;
    EXPECT_EQ(combo.ItemIndex() >= 0, !expected.Items.empty()) << name;
}

class OfferedProfileFill : public ::testing::TestWithParam<TExpectedFill> {};

TEST_P(OfferedProfileFill, FillsListsAndDefaults)
{
    const TExpectedFill& expected = GetParam();
    TTestControls c;
    // Every list starts filled, so a combo the profile should clear shows up.
    ASSERT_TRUE(c.Choose("AVI - Audio Video Interleave (*.avi)"));
    // A previous choice the profile may or may not override.
    c.Channels.SetItemIndex(1);
    c.AspectRatio.SetItemIndex(2);

    ASSERT_TRUE(c.Choose(expected.Caption));
    ExpectCombo(c.VideoCodec, expected.VideoCodec, "video codec");
    ExpectCombo(c.AudioCodec, expected.AudioCodec, "audio codec");
    ExpectCombo(c.VideoSize, expected.Size, "size");
    ExpectCombo(c.VideoBitrate, expected.VideoBitrate, "video bit rate");
    ExpectCombo(c.FrameRate, expected.FrameRate, "frame rate");
    ExpectCombo(c.AudioBitrate, expected.AudioBitrate, "audio bit rate");
    ExpectCombo(c.SampleRate, expected.SampleRate, "sample rate");

    EXPECT_EQ(c.Channels.Text(), expected.SetsStereoOriginal ? "Stereo" : "Mono");
    EXPECT_EQ(c.AspectRatio.Text(), expected.SetsStereoOriginal ? "Original" : "16:9 (Wide Screen)");
    EXPECT_EQ(c.Channels.Items(), (TItems{"Stereo", "Mono"}));
}

INSTANTIATE_TEST_SUITE_P(All, OfferedProfileFill, ::testing::ValuesIn(kOfferedFills));

TEST(ProfileFill, IPodAfterAMonoProfileKeepsMono)
{
    TTestControls c;
    ASSERT_TRUE(c.Choose("3GP - Mobile Video Format (*.3gp)"));
    ASSERT_EQ(c.Channels.Text(), "Mono");
    ASSERT_TRUE(c.Choose("iPod (*.mp4)"));
    EXPECT_EQ(c.Channels.Text(), "Mono");
    ASSERT_TRUE(c.Choose("Apple TV (*.mp4)"));
    EXPECT_EQ(c.Channels.Text(), "Stereo");
}

TEST(ProfileFill, AudioProfileAfter3GPUsesItsOwnLists)
{
    TTestControls c;
    ASSERT_TRUE(c.Choose("3GP - Mobile Video Format (*.3gp)"));
    ASSERT_TRUE(c.Choose("AAC - Advance Audio Coding (*.aac)"));
    EXPECT_EQ(c.AudioBitrate.Items(), kA);
    EXPECT_EQ(c.AudioBitrate.Text(), "128 Kbps");
    EXPECT_EQ(c.SampleRate.Items(), kR);
    EXPECT_EQ(c.SampleRate.Text(), "48000 Hz");
    EXPECT_EQ(c.CurrentKey, "AAC");
}

}  // namespace
}  // namespace tavrin::test
