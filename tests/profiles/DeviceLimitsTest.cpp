// The device limits as options, the nearest values the encoders take, the letterbox
// geometry and the level tables, checked on the job's output record without converting.
#include "CodecLevels.h"
#include "DeviceLimits.h"
#include "EncoderValues.h"
#include "LetterBox.h"
#include "OutputFit.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tavrin {
namespace {

constexpr int kIPod = 3, kAppleTV720 = 9, kAppleTV = 10, kIPhoneWide = 20, k3GP = 0, kMP4 = 27;

TOutputOptions Record(const std::string& video, int videoKbps, const std::string& size,
                      const std::string& rate, const std::string& audio = "libfaac",
                      int sampleRate = 48000, int audioKbps = 64)
{
    TOutputOptions o;
    o.VideoCodec = video;
    o.VideoBitrate = videoKbps * 1000;
    o.FrameSize = size;
    o.FrameRate = rate;
    o.AudioCodec = audio;
    o.AudioSampleRate = sampleRate;
    o.AudioBitrate = audio == "libamr_nb" ? audioKbps : audioKbps * 1000;
    return o;
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = std::min(text.find('\n', start), text.size());
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

bool HasLine(const TOutputOptions& o, const std::string& line)
{
    const std::vector<std::string> lines = Lines(o.ExtraOptions);
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

std::vector<std::string> Fit(int kind, TOutputOptions& o, const std::string& sourceSize = "1280x720")
{
    TFitRequest request;
    request.Kind = kind;
    request.VideoSizeCell = sourceSize;
    return FitOutputOptions(request, o);
}

TEST(CodecLevels, SmallestLevelHoldsSizeRateAndBitRate)
{
    EXPECT_STREQ(SmallestLevel(H264Levels(), 1280, 720, 23.976, 5000)->Name, "3.1");
    EXPECT_STREQ(SmallestLevel(H264Levels(), 640, 480, 29.97, 5000)->Name, "3");
    EXPECT_STREQ(SmallestLevel(H264Levels(), 320, 240, 29.97, 768)->Name, "1.3");
    EXPECT_STREQ(SmallestLevel(H264Levels(), 320, 240, 29.97, 769)->Name, "2");
    EXPECT_FALSE(SmallestLevel(H264Levels(), 4096, 2304, 60, 1000));
    EXPECT_STREQ(SmallestLevel(MPEG4SimpleLevels(), 176, 144, 15, 64)->Name, "1");
    EXPECT_STREQ(SmallestLevel(MPEG4SimpleLevels(), 176, 144, 25, 128)->Name, "2");
    EXPECT_STREQ(SmallestLevel(MPEG4SimpleLevels(), 352, 288, 25, 384)->Name, "3");
    EXPECT_STREQ(SmallestLevel(MPEG4SimpleLevels(), 640, 480, 29.97, 2500)->Name, "4a");
    EXPECT_STREQ(SmallestLevel(MPEG4SimpleLevels(), 720, 576, 25, 2500)->Name, "5");
    EXPECT_EQ(MacroblockCount(720, 406), 45 * 26);
}

TEST(EncoderValues, SettingsTheEncoderCannotTakeMoveToTheNearestItCan)
{
    EXPECT_EQ(NearestSampleRate("libamr_nb", 16000), 8000);
    EXPECT_EQ(NearestSampleRate("libmp3lame", 54000), 48000);
    EXPECT_EQ(NearestSampleRate("libmp3lame", 96000), 48000);
    EXPECT_EQ(NearestSampleRate("libfaac", 54000), 48000);
    EXPECT_EQ(NearestSampleRate("mp2", 8000), 16000);
    EXPECT_EQ(NearestSampleRate("ac3", 22050), 32000);
    EXPECT_EQ(NearestSampleRate("wmav2", 96000), 48000);
    EXPECT_FALSE(NearestSampleRate("libfaac", 96000));
    EXPECT_FALSE(NearestSampleRate("libmp3lame", 44100));
    EXPECT_FALSE(NearestSampleRate("pcm_s16le", 54000));

    EXPECT_EQ(NearestAudioBitrate("mp2", 44100, 40000), 32000);  // a tie takes the lower
    EXPECT_EQ(NearestAudioBitrate("mp2", 16000, 192000), 160000);
    EXPECT_FALSE(NearestAudioBitrate("mp2", 16000, 40000));
    EXPECT_EQ(NearestAudioBitrate("libamr_nb", 8000, 13000), 12200);
    EXPECT_FALSE(NearestAudioBitrate("libmp3lame", 8000, 320000));

    const auto size = [](int w, int h) { return NearestFrameSize("h263", {w, h}); };
    EXPECT_EQ(size(320, 240)->Width, 352);
    EXPECT_EQ(size(160, 120)->Width, 176);
    EXPECT_EQ(size(220, 176)->Width, 176);
    EXPECT_EQ(size(640, 480)->Width, 704);
    EXPECT_FALSE(size(176, 144));
    EXPECT_FALSE(NearestFrameSize("mpeg4", {220, 176}));

    const std::optional<TFrameRate> rate = NearestFrameRate("mpeg1video", 14.985);
    ASSERT_TRUE(rate);
    EXPECT_EQ(FrameRateOptionText(*rate), "24000/1001");
    EXPECT_FALSE(NearestFrameRate("mpeg1video", 29.97));
    EXPECT_FALSE(NearestFrameRate("mpeg1video", 23.975));
    EXPECT_FALSE(NearestFrameRate("mpeg2video", 14.985));
}

TEST(LetterBox, WidePictureInAStandardFrameGetsEvenBarsAboveAndBelow)
{
    const TLetterBox box = FitLetterBox({640, 480}, 16.0 / 9.0);
    EXPECT_EQ(box.Picture.Width, 640);
    EXPECT_EQ(box.Picture.Height, 360);
    EXPECT_EQ(box.Top, 60);
    EXPECT_EQ(box.Bottom, 60);
    EXPECT_EQ(box.Left + box.Right, 0);

    const TLetterBox side = FitLetterBox({1280, 720}, 4.0 / 3.0);
    EXPECT_EQ(side.Picture.Width, 960);
    EXPECT_EQ(side.Left, 160);
    EXPECT_EQ(side.Right, 160);

    // 2.35:1 in 720x408: 102 lines of bars split into 50 and 52, both even.
    const TLetterBox odd = FitLetterBox({720, 408}, 2.35);
    EXPECT_EQ(odd.Picture.Height, 306);
    EXPECT_EQ(odd.Top, 50);
    EXPECT_EQ(odd.Bottom, 52);

    EXPECT_FALSE(FitLetterBox({640, 480}, 4.0 / 3.0).HasBars());
    EXPECT_FALSE(FitLetterBox({720, 480}, 1.5).HasBars());
    EXPECT_FALSE(FitLetterBox({640, 480}, 1.34).HasBars());  // under four lines of bars
}

TEST(OutputFit, LetterBoxPadsWithVideoBlackAndSquarePixels)
{
    TOutputOptions o = Record("mpeg4", 1200, "640x480", "25", "libfaac", 44100, 128);
    TFitRequest request;
    request.Kind = kMP4;
    request.LetterBox = true;
    request.VideoSizeCell = "1280x720";
    EXPECT_TRUE(FitOutputOptions(request, o).empty());
    EXPECT_EQ(o.FrameSize, "640x360");
    EXPECT_EQ(o.PadTop, 60);
    EXPECT_EQ(o.PadBottom, 60);
    EXPECT_EQ(o.PadLeft, 0);
    EXPECT_EQ(o.AspectRatio, "640:480");
    EXPECT_EQ(o.PadColor, kLetterBoxColor);

    // The aspect choice is the picture's shape; "Original Video Size" keeps the source's frame.
    TOutputOptions keep = Record("mpeg4", 1200, "", "25");
    request.AspectIndex = 1;
    FitOutputOptions(request, keep);
    EXPECT_EQ(keep.FrameSize, "960x720");
    EXPECT_EQ(keep.PadLeft, 160);
    EXPECT_EQ(keep.AspectRatio, "1280:720");
}

TEST(OutputFit, AppleTVH264GetsMainProfileWithoutCabacPyramidOrWeightedPrediction)
{
    TOutputOptions o = Record("libx264", 2500, "1280x720", "23.975");
    EXPECT_TRUE(Fit(kAppleTV720, o).empty());
    for (const char* line : {"profile=main", "vlevel=31", "coder=cavlc", "refs=3", "b-pyramid=none",
                             "weightp=none", "weightb=0", "maxrate=5000000", "bufsize=5000000",
                             "aprofile=1"})
        EXPECT_TRUE(HasLine(o, line)) << line << " in\n" << o.ExtraOptions;
    EXPECT_EQ(o.AudioChannels, 2);
}

TEST(OutputFit, ChoicesBeyondTheDeviceStayWithOneLogLineEach)
{
    TOutputOptions o = Record("libx264", 7000, "1280x720", "29.97", "libfaac", 96000, 256);
    const std::vector<std::string> notes = Fit(kAppleTV720, o);
    ASSERT_EQ(notes.size(), 4u);
    EXPECT_EQ(notes[0], "Frame rate 29.97 fps is above the 24 fps the Apple TV plays at 1280x720; kept as chosen.");
    EXPECT_EQ(notes[1], "Video bit rate 7000 Kbps is above the 5000 Kbps the Apple TV plays; kept as chosen.");
    EXPECT_EQ(notes[2], "Audio bit rate 256 Kbps is above the 160 Kbps the Apple TV plays; kept as chosen.");
    EXPECT_EQ(notes[3], "Sample rate 96000 Hz is above the 48000 Hz the Apple TV plays; kept as chosen.");
    EXPECT_EQ(o.VideoBitrate, 7000000);
    EXPECT_EQ(o.FrameRate, "29.97");
    EXPECT_EQ(o.AudioBitrate, 256000);
    EXPECT_EQ(o.AudioSampleRate, 96000);
    // The peak follows the user's rate, or the encoder would bring the average down to 5000.
    EXPECT_TRUE(HasLine(o, "maxrate=7000000")) << o.ExtraOptions;

    TOutputOptions wide = Record("mpeg4", 1500, "720x480", "25", "libfaac", 44100, 128);
    const std::vector<std::string> wideNotes = Fit(kIPhoneWide, wide);
    ASSERT_EQ(wideNotes.size(), 1u);
    EXPECT_EQ(wideNotes[0], "Frame size 720x480 is above the 640x480 the iPhone plays; kept as chosen.");
}

TEST(OutputFit, IPodH264IsBaselineAtTheLevelOfItsSize)
{
    TOutputOptions small = Record("libx264", 512, "320x240", "25", "libfaac", 44100, 64);
    EXPECT_TRUE(Fit(kIPod, small).empty());
    for (const char* line : {"profile=baseline", "vlevel=13", "coder=cavlc", "bf=0", "maxrate=768000"})
        EXPECT_TRUE(HasLine(small, line)) << line << " in\n" << small.ExtraOptions;

    TOutputOptions large = Record("libx264", 1500, "640x480", "25", "libfaac", 44100, 64);
    EXPECT_TRUE(Fit(kIPod, large).empty());
    for (const char* line : {"profile=baseline", "vlevel=30", "maxrate=2500000", "bufsize=2500000"})
        EXPECT_TRUE(HasLine(large, line)) << line << " in\n" << large.ExtraOptions;
}

TEST(OutputFit, MPEG4SignalsSimpleProfileAtTheLevelThatFits)
{
    TOutputOptions appleTV = Record("mpeg4", 1500, "640x480", "25", "libfaac", 44100, 128);
    Fit(kAppleTV, appleTV);
    for (const char* line : {"vprofile=0", "vlevel=4", "bf=0", "maxrate=3000000", "bufsize=1310000", "bt=1500000"})
        EXPECT_TRUE(HasLine(appleTV, line)) << line << " in\n" << appleTV.ExtraOptions;

    // At the level's very peak the rate is aimed a little below it, and the log says so.
    TOutputOptions phone = Record("mpeg4", 128, "176x144", "25", "libamr_nb", 8000, 7400);
    const std::vector<std::string> notes = Fit(k3GP, phone);
    for (const char* line : {"vprofile=0", "vlevel=2", "maxrate=128000", "bt=121600"})
        EXPECT_TRUE(HasLine(phone, line)) << line << " in\n" << phone.ExtraOptions;
    EXPECT_EQ(phone.VideoBitrate, 121600);
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0], "Video bit rate aimed at 121 Kbps, below the 128 Kbps peak the stream must keep to.");
    EXPECT_FALSE(HasLine(phone, "aprofile=1"));

    // Below the aim, or beyond the device by choice, the rate stays as chosen.
    for (const auto& [kbps, kept] : {std::pair{120, 120000}, std::pair{200, 200000}}) {
        TOutputOptions other = Record("mpeg4", kbps, "176x144", "25", "libamr_nb", 8000, 7400);
        Fit(k3GP, other);
        EXPECT_EQ(other.VideoBitrate, kept) << kbps;
    }
}

TEST(OutputFit, EncoderFixesAreLoggedOnceAndGeneralProfilesGetNoDeviceOptions)
{
    TOutputOptions amr = Record("h263", 128, "320x240", "25", "libamr_nb", 16000, 7400);
    const std::vector<std::string> notes = Fit(k3GP, amr);
    ASSERT_EQ(notes.size(), 2u);
    EXPECT_EQ(notes[0], "Sample rate 16000 Hz is not possible with AMR-NB; converting at 8000 Hz.");
    EXPECT_EQ(notes[1], "Frame size 320x240 is not possible with H.263; converting at 352x288.");
    EXPECT_EQ(amr.AudioSampleRate, 8000);
    EXPECT_EQ(amr.FrameSize, "352x288");
    // H.263 has no level to signal here: only the picture format every player decodes.
    EXPECT_EQ(amr.ExtraOptions, "pix_fmt=yuv420p");

    TOutputOptions mpeg1 = Record("mpeg1video", 1600, "320x240", "14.985", "mp2", 44100, 192);
    ASSERT_EQ(Fit(28, mpeg1).size(), 1u);
    EXPECT_EQ(mpeg1.FrameRate, "24000/1001");

    TOutputOptions mp4 = Record("libx264", 1200, "", "25", "libfaac", 44100, 320);
    EXPECT_TRUE(Fit(kMP4, mp4).empty());
    EXPECT_EQ(mp4.ExtraOptions, "pix_fmt=yuv420p");

    TOutputOptions audioOnly = Record("", 0, "", "25", "libmp3lame", 44100, 128);
    Fit(41, audioOnly);
    EXPECT_TRUE(audioOnly.ExtraOptions.empty());
    EXPECT_EQ(mp4.AudioChannels, -1);
}

TEST(DeviceLimits, EveryDeviceKindHasAudioLimitsAndRowsForBothVideoFamilies)
{
    for (int kind : {0, 1, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 18, 19, 20}) {
        const TDevice device = DeviceOfKind(kind);
        ASSERT_NE(device, TDevice::None) << kind;
        EXPECT_NE(AudioLimitsOf(device), nullptr) << kind;
        for (TVideoFamily family : {TVideoFamily::H264, TVideoFamily::MPEG4}) {
            const std::span<const TVideoLimits> rows = VideoLimitsOf(device, family);
            ASSERT_FALSE(rows.empty()) << kind;
            for (size_t i = 1; i < rows.size(); ++i)
                EXPECT_LT(rows[i - 1].MaxMacroblocks, rows[i].MaxMacroblocks) << kind;
        }
    }
    EXPECT_EQ(DeviceOfKind(kMP4), TDevice::None);
    EXPECT_EQ(VideoLimitsFor(TDevice::IPod, TVideoFamily::H264, 300)->MaxLevel, 13);
    EXPECT_EQ(VideoLimitsFor(TDevice::IPod, TVideoFamily::H264, 1200)->MaxLevel, 30);
    EXPECT_EQ(VideoLimitsFor(TDevice::AppleTV, TVideoFamily::H264, 3600)->MaxFps, 24);
    EXPECT_EQ(VideoLimitsFor(TDevice::AppleTV, TVideoFamily::H264, 99999)->MaxFps, 24);
}

}  // namespace
}  // namespace tavrin
