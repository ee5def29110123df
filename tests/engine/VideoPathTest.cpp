// The video path on awkward sources: crop alone, a pixel format only the decoder knows, size
// and format changes mid-stream, absurd frame durations, padding beyond any picture size,
// display rotations and "sameq". Damaged inputs are made here from clean ones.
#include <fstream>

#include "TranscodeTestSupport.h"
#include "AVProbe.h"

namespace tavrin::test {
namespace {

std::vector<char> ReadBytes(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::string& path, const std::vector<char>& bytes) {
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// What ffprobe says of the first video stream: one "key=value" text per line.
std::string ProbeVideo(const std::string& path, const std::string& entries) {
    const std::string out = path + ".probe";
    Shell("ffprobe -v error -select_streams v:0 -show_entries " + entries + " -of flat '" + path + "' > '" + out + "'");
    const std::vector<char> text = ReadBytes(out);
    return std::string(text.begin(), text.end());
}

bool SwapsQuarterTurn(const std::string& path) {
    const std::string side = ProbeVideo(path, "stream_side_data=rotation");
    return side.find("rotation=90") != std::string::npos || side.find("rotation=-90") != std::string::npos ||
           side.find("rotation=270") != std::string::npos || side.find("rotation=-270") != std::string::npos;
}

// One decoded picture of a file as 24-bit RGB, read back with the ffmpeg program (which shows
// a source with a display rotation turned, as players do).
struct Picture {
    int width = 0, height = 0;
    std::vector<uint8_t> rgb;
    int Luma(int x, int y) const {
        const uint8_t* p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
        return (p[0] * 2 + p[1] * 5 + p[2]) / 8;
    }
    // Mean luma of the quadrant (0 top-left, 1 top-right, 2 bottom-left, 3 bottom-right).
    int Quadrant(int q) const {
        const int x0 = q % 2 ? width / 2 : 0, y0 = q / 2 ? height / 2 : 0;
        long sum = 0, n = 0;
        for (int y = y0 + height / 8; y < y0 + height / 2 - height / 8; ++y)
            for (int x = x0 + width / 8; x < x0 + width / 2 - width / 8; ++x, ++n)
                sum += Luma(x, y);
        return n ? static_cast<int>(sum / n) : -1;
    }
};

Picture ReadPicture(const std::string& path, bool last) {
    Picture pic;
    const std::string raw = path + (last ? ".last.rgb" : ".first.rgb");
    const std::string seek = last ? "-sseof -0.3 " : "";
    EXPECT_EQ(Shell("ffmpeg -hide_banner -loglevel error -y " + seek + "-i '" + path +
                    "' -frames:v 1 -f rawvideo -pix_fmt rgb24 '" + raw + "'"), 0);
    EXPECT_EQ(Shell("ffprobe -v error -select_streams v:0 -show_entries frame=width,height -read_intervals %+#1 "
                    "-of csv=p=0 '" + path + "' > '" + raw + ".size'"), 0);
    std::ifstream size(raw + ".size");
    char comma;
    size >> pic.width >> comma >> pic.height;
    if (SwapsQuarterTurn(path))
        std::swap(pic.width, pic.height);
    std::ifstream f(raw, std::ios::binary);
    pic.rgb.assign(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
    EXPECT_EQ(pic.rgb.size(), static_cast<size_t>(pic.width) * pic.height * 3) << path;
    return pic;
}

int Packets(const std::string& path) {
    const MediaInfo info = ProbeMedia(path);  // First() points into it
    const Fields* v = info.First("video");
    return v ? std::stoi(v->at("nb_read_packets")) : -1;
}

// A black 320x240 clip whose top-left quarter is white: it shows every turn and flip.
std::string MarkedClip(const std::filesystem::path& dir, const std::string& name, const std::string& codec) {
    return MakeClip(dir, name,
                    "-f lavfi -i color=black:s=320x240:r=25:d=1,drawbox=x=0:y=0:w=160:h=120:color=white:t=fill "
                    "-pix_fmt yuv420p " + codec);
}

TEST(VideoPath, CropAloneGivesTheCroppedPicture) {
    const auto dir = TempDir();
    // A white band 40 rows high on top and 32 columns wide on the left.
    const std::string in = MakeClip(dir, "bands.avi",
        "-f lavfi -i color=black:s=320x240:r=25:d=1,drawbox=x=0:y=0:w=320:h=40:color=white:t=fill,"
        "drawbox=x=0:y=0:w=32:h=240:color=white:t=fill -c:v mpeg4 -q:v 2");
    const std::string top = (dir / "top.mp4").string();
    Conversion c = Convert(Job(in, top, "", "vcodec=mpeg4\nqscale=2\ncroptop=40"));
    ASSERT_TRUE(c.finished) << c.message;
    Picture p = ReadPicture(top, false);
    ASSERT_EQ(p.width, 320);
    ASSERT_EQ(p.height, 200);
    EXPECT_LT(p.Luma(160, 4), 60) << "the band on top is gone";
    EXPECT_GT(p.Luma(8, 100), 200) << "the band on the left stays";
    EXPECT_EQ(Packets(top), 25);

    const std::string left = (dir / "left.mp4").string();
    c = Convert(Job(in, left, "", "vcodec=mpeg4\nqscale=2\ncropleft=32"));
    ASSERT_TRUE(c.finished) << c.message;
    p = ReadPicture(left, false);
    ASSERT_EQ(p.width, 288);
    ASSERT_EQ(p.height, 240);
    EXPECT_LT(p.Luma(4, 120), 60);
    EXPECT_GT(p.Luma(150, 10), 200);
}

// The first frames' JPEG headers lose their start-of-frame marker, beyond what the probe reads
// ahead: the stream is opened with no pixel format and the later frames decode.
std::string DamagedMjpeg(const std::filesystem::path& dir) {
    const std::string clean = MakeClip(dir, "clean.mov", "-f lavfi -i testsrc2=s=320x240:r=10:d=10 -c:v mjpeg -q:v 5");
    std::vector<char> bytes = ReadBytes(clean);
    auto at = [&](size_t i, int a, int b) {
        return static_cast<uint8_t>(bytes[i]) == a && static_cast<uint8_t>(bytes[i + 1]) == b;
    };
    int frames = 0;
    for (size_t i = 0; i + 3 < bytes.size() && frames < 70; ++i) {
        if (!at(i, 0xFF, 0xD8))
            continue;
        for (size_t j = i + 2; j + 1 < bytes.size() && !at(j, 0xFF, 0xD9); ++j)
            if (at(j, 0xFF, 0xC0)) {
                bytes[j + 1] = 0;
                ++frames;
                break;
            }
    }
    EXPECT_EQ(frames, 70);
    const std::string damaged = (dir / "damaged.mov").string();
    WriteBytes(damaged, bytes);
    EXPECT_NE(ProbeVideo(damaged, "stream=pix_fmt").find("pix_fmt=\"unknown\""), std::string::npos);
    return damaged;
}

TEST(VideoPath, AStreamTheProbeCouldNotDecodeIsScaledFromWhatTheDecoderDelivers) {
    const auto dir = TempDir();
    const std::string out = (dir / "out.mp4").string();
    const std::string damaged = DamagedMjpeg(dir);
    Conversion c = Convert(Job(damaged, out, "", "vcodec=mpeg4\ns=160x120"));
    ASSERT_TRUE(c.finished) << c.message;
    const MediaInfo info = ProbeMedia(out);
    ASSERT_NE(info.First("video"), nullptr);
    EXPECT_EQ(info.First("video")->at("width"), "160");
    EXPECT_GE(std::stoi(info.First("video")->at("nb_read_packets")), 30);
    EXPECT_TRUE(c.Logged("Error while decoding stream #0.0"));

    // An encoder with no formats of its own gets a usual one rather than none.
    const std::string raw = (dir / "raw.avi").string();
    c = Convert(Job(damaged, raw, "", "vcodec=rawvideo"));
    ASSERT_TRUE(c.finished) << c.message;
    EXPECT_NE(ProbeVideo(raw, "stream=pix_fmt").find("pix_fmt=\"yuv420p\""), std::string::npos);
    EXPECT_EQ(ReadPicture(raw, true).width, 320);
}

// "vprofile" names the video encoder's own profile word; the audio one stays with audio.
TEST(VideoPath, APrefixedProfileReachesOnlyItsOwnKindsEncoder) {
    const auto dir = TempDir();
    const std::string in = MakeClip(dir, "in.mp4", "-f lavfi -i testsrc2=s=320x240:r=25:d=1 -c:v mpeg4");
    const std::string out = (dir / "out.mp4").string();
    Conversion c = Convert(Job(in, out, "", "vcodec=libx264\nvprofile=baseline\nacodec=aac\naprofile=aac_low"));
    ASSERT_TRUE(c.finished) << c.message;
    EXPECT_NE(ProbeVideo(out, "stream=profile").find("Baseline"), std::string::npos) << ProbeVideo(out, "stream=profile");
}

TEST(VideoPath, AStreamNoDecoderKnowsFailsWithTheDecoderText) {
    const auto dir = TempDir();
    // An MPEG-4 AVI whose codec tag (FMP4) is replaced by one no decoder claims.
    std::vector<char> bytes = ReadBytes(MakeClip(dir, "known.avi", "-f lavfi -i testsrc2=s=160x120:r=25:d=1 -c:v mpeg4"));
    const std::string tag = "FMP4";
    for (auto it = bytes.begin(); (it = std::search(it, bytes.end(), tag.begin(), tag.end())) != bytes.end();)
        it = std::fill_n(it, 4, 'Q');
    const std::string in = (dir / "unknown.avi").string();
    WriteBytes(in, bytes);
    for (const char* codec : {"vcodec=mpeg4", "vcodec=rawvideo"}) {
        Conversion c = Convert(Job(in, (dir / "out.avi").string(), "", codec));
        EXPECT_TRUE(c.exception) << codec;
        EXPECT_EQ(c.message, "Unsupported codec (id=0) for input stream #0.0") << codec;
    }
}

TEST(VideoPath, SizeAndFormatChangesMidStreamReachTheEncoderAtItsOwnSizeAndFormat) {
    const auto dir = TempDir();
    // 640x480 black, then 160x120 white, in one transport stream.
    const std::string big = MakeClip(dir, "big.ts", "-f lavfi -i color=black:s=640x480:r=25:d=1 -c:v mpeg2video");
    const std::string small = MakeClip(dir, "small.ts", "-f lavfi -i color=white:s=160x120:r=25:d=1 -c:v mpeg2video");
    const std::string sized = (dir / "sized.ts").string();
    ASSERT_EQ(Shell("cat '" + big + "' '" + small + "' > '" + sized + "'"), 0);
    const std::string out = (dir / "sized.mkv").string();
    Conversion c = Convert(Job(sized, out, "", "an\nvcodec=mpeg4\nqscale=3"));
    ASSERT_TRUE(c.finished) << c.message;
    Picture p = ReadPicture(out, true);
    ASSERT_EQ(p.width, 640);
    ASSERT_EQ(p.height, 480);
    for (int q = 0; q < 4; ++q)
        EXPECT_GT(p.Quadrant(q), 220) << "quadrant " << q << " of the last picture is not the white one";

    // Red in 4:4:4, then blue in 4:2:2.
    const std::string red = MakeClip(dir, "red.ts", "-f lavfi -i color=red:s=320x240:r=25:d=1 -c:v libx264 -pix_fmt yuv444p");
    const std::string blue = MakeClip(dir, "blue.ts", "-f lavfi -i color=blue:s=320x240:r=25:d=1 -c:v libx264 -pix_fmt yuv422p");
    const std::string mixed = (dir / "mixed.ts").string();
    ASSERT_EQ(Shell("cat '" + red + "' '" + blue + "' > '" + mixed + "'"), 0);
    const std::string out2 = (dir / "mixed.mkv").string();
    c = Convert(Job(mixed, out2, "", "an\nvcodec=mpeg4\nqscale=3"));
    ASSERT_TRUE(c.finished) << c.message;
    p = ReadPicture(out2, true);
    for (int y : {10, 120, 230})
        for (int x : {10, 160, 310}) {
            const uint8_t* px = &p.rgb[(static_cast<size_t>(y) * p.width + x) * 3];
            EXPECT_LT(px[0], 40) << x << "," << y;
            EXPECT_LT(px[1], 40) << x << "," << y;
            EXPECT_GT(px[2], 200) << x << "," << y;
        }
}

// Patches the frame rate of a YUV4MPEG header ("F25:1").
std::string WithY4mRate(const std::string& path, const std::string& rate) {
    std::vector<char> bytes = ReadBytes(path);
    const auto eol = std::find(bytes.begin(), bytes.end(), '\n');
    std::string header(bytes.begin(), eol);
    const size_t f = header.find(" F25:1");
    EXPECT_NE(f, std::string::npos);
    header.replace(f, 6, " F" + rate);
    std::vector<char> patched(header.begin(), header.end());
    patched.insert(patched.end(), eol, bytes.end());
    const std::string out = path + ".slow.y4m";
    WriteBytes(out, patched);
    return out;
}

// Sets the AVI video stream header's scale and rate so that every frame lasts ten hours.
std::string WithTenHourFrames(const std::string& path) {
    std::vector<char> bytes = ReadBytes(path);
    const std::string tag = "vids";  // the type that opens the video stream header, after "strh" and its size
    auto it = std::search(bytes.begin(), bytes.end(), tag.begin(), tag.end());
    EXPECT_NE(it, bytes.end());
    // After the type: handler, flags, priority, language, initial frames, then scale and rate.
    auto put = [&](size_t offset, uint32_t v) {
        for (int i = 0; i < 4; ++i)
            bytes[offset + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    const size_t strh = static_cast<size_t>(it - bytes.begin()) - 8;
    put(strh + 8 + 20, 36000);  // dwScale
    put(strh + 8 + 24, 1);      // dwRate
    const std::string out = path + ".slow.avi";
    WriteBytes(out, bytes);
    return out;
}

TEST(VideoPath, AbsurdlyLongFramesAreNotDuplicatedWithoutBound) {
    const auto dir = TempDir();
    const std::string y4m = WithY4mRate(
        MakeClip(dir, "clip.y4m", "-f lavfi -i testsrc2=s=160x120:r=25 -frames:v 4 -pix_fmt yuv420p"), "1:2147483647");
    const std::string avi = WithTenHourFrames(
        MakeClip(dir, "clip.avi", "-f lavfi -i testsrc2=s=160x120:r=25 -frames:v 4 -c:v mpeg4"));
    for (const std::string& in : {y4m, avi}) {
        const std::string out = in + ".mkv";
        // vframes only keeps a faulty run short; a sound one stops far below it.
        ConversionSetup s = Job(in, out, "", "an\nvcodec=mpeg4\nr=25\nvframes=500");
        s.level = llAll;
        Conversion c = Convert(s);
        ASSERT_TRUE(c.finished) << in << ": " << c.message;
        EXPECT_EQ(Packets(out), 4) << in;
        EXPECT_TRUE(c.Logged("frame duplication too large, skipping")) << in;
        EXPECT_LT(std::filesystem::file_size(out), 200000u);
    }
}

TEST(VideoPath, PaddingBeyondAnyPictureSizeIsRefused) {
    const auto dir = TempDir();
    for (const char* pad : {"padtop=2147483646", "padleft=2147483646\npadright=2147483646", "padbottom=1000000000"}) {
        Conversion c = Convert(Job(Fixture("clip.mp4"), (dir / "out.mp4").string(), pad, std::string("vcodec=mpeg4\n") + pad));
        EXPECT_TRUE(c.added) << pad;
        EXPECT_FALSE(c.created) << pad;
        EXPECT_EQ(c.message, "new_video_stream fail: Incorrect frame size") << pad;
        EXPECT_FALSE(std::filesystem::exists(dir / "out.mp4"));
    }
    // Padding that fits still pads.
    Conversion c = Convert(Job(Fixture("clip.mp4"), (dir / "padded.mp4").string(), "", "vcodec=mpeg4\npadtop=16\npadbottom=16"));
    ASSERT_TRUE(c.finished) << c.message;
    EXPECT_EQ(ProbeMedia((dir / "padded.mp4").string()).First("video")->at("height"), "272");
}

struct RotationCase {
    int degrees;
    int width, height;
};

class Rotated : public ::testing::TestWithParam<RotationCase> {};

TEST_P(Rotated, PhoneVideosComeOutUprightWithNoRotationLeft) {
    const RotationCase& r = GetParam();
    const auto dir = TempDir();
    const std::string plain = MarkedClip(dir, "plain.mp4", "-c:v mpeg4 -q:v 2");
    const std::string in = (dir / "rotated.mp4").string();
    ASSERT_EQ(Shell("ffmpeg -hide_banner -loglevel error -y -i '" + plain + "' -c copy -metadata:s:v:0 rotate=" +
                    std::to_string(r.degrees) + " '" + in + "'"), 0);
    ASSERT_NE(ProbeVideo(in, "stream_side_data=rotation").find("rotation"), std::string::npos);

    // The probe reports the size a person sees, which the list row shows as "Video Size".
    TAVProbe probe;
    ASSERT_TRUE(probe.Open(in, ""));
    TAVStreamInfo info;
    probe.GetVideoInfo(info);
    EXPECT_EQ(info.Width, r.width);
    EXPECT_EQ(info.Height, r.height);
    EXPECT_NEAR(info.DisplayAspect, static_cast<double>(r.width) / r.height, 0.01);

    const std::string out = (dir / "upright.mp4").string();
    Conversion c = Convert(Job(in, out, "", "vcodec=mpeg4\nqscale=2"));
    ASSERT_TRUE(c.finished) << c.message;
    EXPECT_EQ(ProbeVideo(out, "stream_side_data=rotation").find("rotation"), std::string::npos);
    EXPECT_NE(ProbeVideo(out, "stream=sample_aspect_ratio").find("\"1:1\""), std::string::npos);
    const Picture seen = ReadPicture(in, false), ours = ReadPicture(out, false);
    ASSERT_EQ(ours.width, r.width);
    ASSERT_EQ(ours.height, r.height);
    ASSERT_EQ(seen.width, r.width);
    for (int q = 0; q < 4; ++q)
        EXPECT_NEAR(ours.Quadrant(q), seen.Quadrant(q), 30) << "quadrant " << q;

    // Copied packets cannot be turned: they keep the rotation so players still show them upright.
    const std::string copied = (dir / "copied.mp4").string();
    c = Convert(Job(in, copied, "", "vcodec=copy"));
    ASSERT_TRUE(c.finished) << c.message;
    EXPECT_EQ(ProbeVideo(copied, "stream_side_data=rotation"), ProbeVideo(in, "stream_side_data=rotation"));
}

INSTANTIATE_TEST_SUITE_P(VideoPath, Rotated,
                         ::testing::Values(RotationCase{90, 240, 320}, RotationCase{180, 320, 240},
                                           RotationCase{270, 240, 320}),
                         [](const auto& info) { return "By" + std::to_string(info.param.degrees); });

TEST(VideoPath, SameQualityFollowsTheSourceQuantiserOrLeavesTheEncoderItsDefault) {
    const auto dir = TempDir();
    const std::string coarse = MakeClip(dir, "coarse.avi", "-f lavfi -i testsrc2=s=320x240:r=25:d=3 -c:v mpeg4 -q:v 12");
    const std::string same = (dir / "same.avi").string(), fixed = (dir / "fixed.avi").string();
    Conversion c = Convert(Job(coarse, same, "", "an\nvcodec=mpeg4\nsameq"));
    ASSERT_TRUE(c.finished) << c.message;
    EXPECT_TRUE(c.Logged("sameq: each picture is encoded with the quantiser of its source picture"));
    ASSERT_TRUE(Convert(Job(coarse, fixed, "", "an\nvcodec=mpeg4\nqscale=12")).finished);
    EXPECT_NEAR(static_cast<double>(std::filesystem::file_size(same)), static_cast<double>(std::filesystem::file_size(fixed)),
                std::filesystem::file_size(fixed) * 0.1)
        << "the pictures were not encoded at their source's quantiser 12";

    // MJPEG tells no quantiser: the result is what the encoder gives by default.
    const std::string jpeg = MakeClip(dir, "jpeg.avi", "-f lavfi -i testsrc2=s=320x240:r=25:d=3 -c:v mjpeg -q:v 12");
    const std::string sameJpeg = (dir / "same-jpeg.avi").string(), plain = (dir / "plain-jpeg.avi").string();
    c = Convert(Job(jpeg, sameJpeg, "", "an\nvcodec=mpeg4\nsameq"));
    ASSERT_TRUE(c.finished) << c.message;
    EXPECT_TRUE(c.Logged("sameq: the source does not tell its quantisers; the encoder's default quality is used"));
    ASSERT_TRUE(Convert(Job(jpeg, plain, "", "an\nvcodec=mpeg4")).finished);
    EXPECT_NEAR(static_cast<double>(std::filesystem::file_size(sameJpeg)), static_cast<double>(std::filesystem::file_size(plain)),
                std::filesystem::file_size(plain) * 0.05);
}

}  // namespace
}  // namespace tavrin::test
