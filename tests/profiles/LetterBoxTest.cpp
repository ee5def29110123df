// "LetterBox" keeps the picture's shape inside the profile's frame with black bars and a
// square-pixel aspect; "None" stretches it to the frame and flags the aspect instead. An
// Apple profile gives stereo from a 5.1 source.
#include "DeviceTestSupport.h"

namespace tavrin::test {
namespace {

constexpr uint8_t kBarMax = 24;  // video black is 16

class LetterBoxTest : public DeviceJobTest {
protected:
    std::string Convert(const std::string& caption, const std::string& clip, const char* zoom)
    {
        Choose(caption);
        Window.Settings.LetterBox.SetItemIndex(std::string(zoom) == "LetterBox" ? 1 : 0);
        EXPECT_EQ(ConvertClip(clip), "Done") << Builder.LastJob().FailText;
        return OutputPath();
    }
};

// Lines (or columns) from the edge whose every pixel is black.
int BarSize(const std::vector<uint8_t>& luma, int width, int height, bool rows, bool fromEnd)
{
    const int count = rows ? height : width, length = rows ? width : height;
    int bar = 0;
    for (int i = 0; i < count; ++i) {
        const int line = fromEnd ? count - 1 - i : i;
        uint8_t brightest = 0;
        for (int j = 0; j < length; ++j)
            brightest = std::max(brightest, luma[static_cast<size_t>(rows ? line * width + j : j * width + line)]);
        if (brightest > kBarMax)
            break;
        ++bar;
    }
    return bar;
}

int Brightest(const std::vector<uint8_t>& luma, int width, int firstRow, int lastRow)
{
    uint8_t brightest = 0;
    for (int y = firstRow; y <= lastRow; ++y)
        for (int x = 0; x < width; ++x)
            brightest = std::max(brightest, luma[static_cast<size_t>(y * width + x)]);
    return brightest;
}

TEST_F(LetterBoxTest, WideSourceGetsBlackBarsAboveAndBelow)
{
    const std::string path = Convert("Apple TV H264 (640 x 480) (*.mp4)", "device720.avi", "LetterBox");
    const Fields video = ProbeStream(path, "v");
    EXPECT_EQ(video.at("width"), "640");
    EXPECT_EQ(video.at("height"), "480");
    EXPECT_EQ(video.at("sample_aspect_ratio"), "1:1");
    EXPECT_EQ(video.at("display_aspect_ratio"), "4:3");
    const std::vector<uint8_t> luma = LumaPicture(path, 10, 640, 480);
    ASSERT_FALSE(luma.empty());
    EXPECT_NEAR(BarSize(luma, 640, 480, true, false), 60, 2);
    EXPECT_NEAR(BarSize(luma, 640, 480, true, true), 60, 2);
    EXPECT_EQ(BarSize(luma, 640, 480, false, false), 0);
    // The picture is in the middle band and reaches its edges.
    EXPECT_GT(Brightest(luma, 640, 62, 70), 100);
    EXPECT_GT(Brightest(luma, 640, 410, 417), 100);
    EXPECT_GT(Brightest(luma, 640, 200, 280), 100);
}

TEST_F(LetterBoxTest, StandardSourceGetsBarsAtTheSidesOfAWideFrame)
{
    const std::string path = Convert("Apple TV H264 (1280 x 720) (*.mp4)", "device480.avi", "LetterBox");
    const Fields video = ProbeStream(path, "v");
    EXPECT_EQ(video.at("width"), "1280");
    EXPECT_EQ(video.at("height"), "720");
    EXPECT_EQ(video.at("sample_aspect_ratio"), "1:1");
    const std::vector<uint8_t> luma = LumaPicture(path, 10, 1280, 720);
    ASSERT_FALSE(luma.empty());
    EXPECT_NEAR(BarSize(luma, 1280, 720, false, false), 160, 2);
    EXPECT_NEAR(BarSize(luma, 1280, 720, false, true), 160, 2);
    EXPECT_EQ(BarSize(luma, 1280, 720, true, false), 0);
}

TEST_F(LetterBoxTest, NoneStretchesThePictureAndFlagsItsShape)
{
    const std::string path = Convert("Apple TV H264 (640 x 480) (*.mp4)", "device720.avi", "None");
    const Fields video = ProbeStream(path, "v");
    EXPECT_EQ(video.at("width"), "640");
    EXPECT_EQ(video.at("height"), "480");
    EXPECT_EQ(video.at("display_aspect_ratio"), "16:9");
    const std::vector<uint8_t> luma = LumaPicture(path, 10, 640, 480);
    ASSERT_FALSE(luma.empty());
    EXPECT_EQ(BarSize(luma, 640, 480, true, false), 0);
}

TEST_F(LetterBoxTest, AppleProfilesGiveStereoFromASurroundSource)
{
    for (const char* caption : {"iPod (*.mp4)", "Apple TV H264 (320 x 240) (*.mp4)"}) {
        const std::string path = Convert(caption, "surround.mov", "None");
        const Fields audio = ProbeStream(path, "a");
        EXPECT_EQ(audio.at("channels"), "2") << caption;
        EXPECT_EQ(audio.at("codec_name"), "aac") << caption;
    }
}

}  // namespace
}  // namespace tavrin::test
