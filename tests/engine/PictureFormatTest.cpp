// The encoder's picture: a format the encoder lists and its profile allows, nearest the
// source's; full-range sources brought to studio range; the source's colour matrix carried;
// interlaced sources deinterlaced unless the output is coded interlaced.
#include "TranscodeTestSupport.h"

#include <fstream>
#include <iterator>

namespace tavrin::test {
namespace {

struct FormatCase {
    const char* Name;
    const char* Source;       // fixture made by the fixture step
    const char* OutputLines;  // engine options of the output
    const char* PixelFormat;  // what ffprobe reads back
    const char* Range;        // ffprobe's color_range
    const char* Matrix;       // ffprobe's color_space; "" when not checked
    const char* Profile;      // ffprobe's profile; "" when not checked
    bool Deinterlaced;
};

constexpr FormatCase kCases[] = {
    {"Main444", "kind-h264-444.mp4", "vcodec=libx264\nvprofile=main", "yuv420p", "tv", "", "Main", false},
    {"Baseline10bit", "kind-h264-10bit.mp4", "vcodec=libx264\nvprofile=baseline", "yuv420p", "tv", "", "Constrained Baseline", false},
    {"High422Keeps422", "kind-h264-422.mp4", "vcodec=libx264\nvprofile=high422", "yuv422p", "tv", "", "High 4:2:2", false},
    {"NoProfileKeeps10bit", "kind-hevc-10bit.mov", "vcodec=libx264", "yuv420p10le", "tv", "", "High 10", false},
    {"FullRangeToMPEG4", "kind-mjpeg-422.mov", "vcodec=mpeg4", "yuv420p", "tv", "bt470bg", "", false},
    {"RgbGetsAMatrix", "kind-rgb.mov", "vcodec=libx264\nvprofile=main\ns=1280x720", "yuv420p", "tv", "bt709", "Main", false},
    {"InterlacedMadeProgressive", "kind-mpeg2-interlaced.ts", "vcodec=mpeg4", "yuv420p", "tv", "", "", true},
    {"InterlacedOutputKeepsFields", "kind-mpeg2-interlaced.ts", "vcodec=mpeg2video\nflags=+ildct", "yuv420p", "tv", "", "", false},
};

void PrintTo(const FormatCase& c, std::ostream* os) { *os << c.Name; }

std::string Probe(const std::string& path, const std::string& entry) {
    const std::string out = path + ".probe";
    Shell("ffprobe -v error -select_streams v:0 -show_entries stream=" + entry + " -of csv=p=0 '" + path + "' > '" + out + "'");
    std::ifstream f(out);
    std::string text{std::istreambuf_iterator<char>(f), {}};
    while (!text.empty() && (text.back() == '\n' || text.back() == ','))
        text.pop_back();
    return text;
}

// Mean luma of the source pattern's white square in the first picture, at studio levels
// when the range was converted.
int WhiteLevel(const std::string& path) {
    const std::string raw = path + ".y";
    Shell("ffmpeg -v error -nostdin -y -i '" + path + "' -frames:v 1 -vf scale=160:120 -f rawvideo -pix_fmt yuv420p '" + raw + "'");
    std::ifstream f(raw, std::ios::binary);
    const std::vector<uint8_t> y{std::istreambuf_iterator<char>(f), {}};
    if (y.size() != 160u * 120u * 3 / 2)
        return -1;
    long sum = 0;
    for (int row = 16; row < 40; ++row)
        for (int x = 16; x < 40; ++x)
            sum += y[static_cast<size_t>(row) * 160 + x];
    return static_cast<int>(sum / (24 * 24));
}

class PictureFormat : public ::testing::TestWithParam<FormatCase> {};

TEST_P(PictureFormat, EncoderGetsAFormatItsProfileAllowsWithConvertedRangeAndFields) {
    const FormatCase& c = GetParam();
    const std::string out = (TempDir() / (std::string(c.Name) + ".mkv")).string();
    const Conversion conversion = Convert(Job(Fixture(c.Source), out, "", std::string(c.OutputLines) + "\nan=1"));
    ASSERT_TRUE(conversion.finished) << conversion.message;
    EXPECT_EQ(Probe(out, "pix_fmt"), c.PixelFormat);
    EXPECT_EQ(Probe(out, "color_range"), c.Range);
    if (*c.Matrix) {
        EXPECT_EQ(Probe(out, "color_space"), c.Matrix);
    }
    if (*c.Profile) {
        EXPECT_EQ(Probe(out, "profile"), c.Profile);
    }
    EXPECT_EQ(conversion.Logged("is interlaced (top field first): its pictures are deinterlaced"), c.Deinterlaced);
    if (std::string(c.Source) != "kind-mpeg2-interlaced.ts") {
        EXPECT_NEAR(WhiteLevel(out), 235, 6) << "white stays studio white";
    }
}

INSTANTIATE_TEST_SUITE_P(Sources, PictureFormat, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
}  // namespace tavrin::test
