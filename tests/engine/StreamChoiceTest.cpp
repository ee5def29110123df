// The default stream choice takes the streams a person means: not a video stream without
// pictures, not cover art or attachments, not audio no decoder can describe; explicit maps
// stay as given. The probe's row facts follow the same choice.
#include "HostileMedia.h"
#include "TranscodeTestSupport.h"
#include "probe/AVProbe.h"

namespace tavrin::test {
namespace {

constexpr const char* kMp4Lines = "vcodec=mpeg4\nacodec=aac";
constexpr const char* kAviLines = "vcodec=mpeg4\nacodec=libmp3lame";

// A WMV whose first video stream (160x120) holds no packets; the second is 320x240.
std::string MakeWmvWithEmptyFirstVideo(const std::filesystem::path& dir) {
    return MakeClip(dir, "three.wmv",
                    "-f lavfi -i testsrc2=size=160x120:rate=25:d=2,trim=end_frame=0 "
                    "-f lavfi -i testsrc2=size=320x240:rate=25:duration=2 -f lavfi -i sine=duration=2 "
                    "-map 0:v -map 1:v -map 2:a -c:v wmv2 -c:a wmav2");
}

std::string MakeCoverPicture(const std::filesystem::path& dir) {
    return MakeClip(dir, "cover.png", "-f lavfi -i testsrc2=size=296x104 -frames:v 1");
}

// A 320x240 MPEG-2 video (PID 0x100) with MP2 audio (PID 0x101).
std::string MakeTransportStream(const std::filesystem::path& dir) {
    return MakeClip(dir, "clean.ts",
                    "-f lavfi -i testsrc2=size=320x240:rate=25:duration=2 -f lavfi -i sine=duration=2 "
                    "-c:v mpeg2video -c:a mp2");
}

// Every MPEG audio frame header of the audio PID broken: its packets arrive, but no
// decoder can say how many channels they carry.
std::string MakeTsWithoutAudioChannels(const std::filesystem::path& dir) {
    const std::string clean = MakeTransportStream(dir), damaged = (dir / "nochannels.ts").string();
    ReplaceInTsStream(clean, damaged, 0x101, "\xff\xfd", std::string("\x00\xfd", 2));
    return damaged;
}

// Every sequence header of the video PID broken: its packets arrive without a picture size.
std::string MakeTsWithoutPictureSize(const std::filesystem::path& dir) {
    const std::string clean = MakeTransportStream(dir), damaged = (dir / "nosize.ts").string();
    ReplaceInTsStream(clean, damaged, 0x100, std::string("\x00\x00\x01\xb3", 4), std::string("\x00\x00\x01\xb2", 4));
    return damaged;
}

TEST(StreamChoice, AVideoStreamWithoutPacketsIsPassedOverForTheNextOne) {
    const auto dir = TempDir();
    const std::string in = MakeWmvWithEmptyFirstVideo(dir), out = (dir / "out.avi").string();
    Conversion c = Convert(Job(in, out, "", kAviLines));
    ASSERT_TRUE(c.finished) << c.message;
    EXPECT_TRUE(c.Logged("  Stream #0.1 -> #0.0"));
    EXPECT_TRUE(c.Logged("Input stream #0.0 holds no packets; it is not converted"));
    const MediaInfo info = ProbeMedia(out);
    const Fields* v = info.First("video");
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->at("width"), "320");  // the size of the stream converted, not of the empty one
    EXPECT_EQ(v->at("nb_read_packets"), "50");
    ASSERT_NE(info.First("audio"), nullptr);

    TAVProbe probe;
    ASSERT_TRUE(probe.Open(in, ""));
    EXPECT_EQ(probe.FirstVideoStream(), 1);
    TAVStreamInfo row;
    probe.GetVideoInfo(row);
    EXPECT_EQ(row.Width, 320);
}

TEST(StreamChoice, ExplicitMapsStayAsGivenEvenForAStreamWithoutPackets) {
    const auto dir = TempDir();
    const std::string in = MakeWmvWithEmptyFirstVideo(dir), out = (dir / "out.avi").string();
    Conversion c = Convert(Job(in, out, "", std::string(kAviLines) + "\nmap=0:0\nmap=0:2"));
    ASSERT_TRUE(c.finished) << c.message;
    EXPECT_TRUE(c.Logged("  Stream #0.0 -> #0.0"));
    EXPECT_TRUE(c.Logged("  Stream #0.2 -> #0.1"));
    EXPECT_FALSE(c.Logged("it is not converted"));
}

TEST(StreamChoice, AnMp3WithCoverArtConvertsToAudioOnlyOnVideoProfiles) {
    const auto dir = TempDir();
    const std::string song = MakeClip(dir, "song.mp3", "-f lavfi -i sine=duration=2 -c:a libmp3lame");
    const std::string cover = MakeCoverPicture(dir);
    const std::string in = MakeClip(dir, "cover.mp3",
                                    "-i '" + song + "' -i '" + cover +
                                        "' -map 0 -map 1 -c copy -disposition:v attached_pic -id3v2_version 3");
    for (const auto& [name, lines] : {std::pair{"out.mp4", kMp4Lines}, std::pair{"out.avi", kAviLines}}) {
        const std::string out = (dir / name).string();
        Conversion c = Convert(Job(in, out, "", lines));
        ASSERT_TRUE(c.finished) << name << ": " << c.message;
        EXPECT_TRUE(c.Logged("Input stream #0.1 is an attached picture; it is not converted"));
        const MediaInfo info = ProbeMedia(out);
        EXPECT_EQ(info.Count("video"), 0) << name;
        ASSERT_EQ(info.Count("audio"), 1) << name;
        EXPECT_NEAR(info.duration, 2.0, 0.1) << name;
    }

    TAVProbe probe;  // the row shows a blank size and rate, as for any audio file
    ASSERT_TRUE(probe.Open(in, ""));
    EXPECT_EQ(probe.VideoStreamCount(), 0);
    EXPECT_EQ(probe.FirstVideoStream(), -1);
}

TEST(StreamChoice, AMatroskaAttachmentNeitherFeedsNorSizesTheVideo) {
    const auto dir = TempDir();
    const std::string cover = MakeCoverPicture(dir);
    const std::string in = MakeClip(dir, "attach.mkv",
                                    "-f lavfi -i testsrc2=size=384x288:rate=25:duration=2 -f lavfi -i sine=duration=2 "
                                    "-c:v mpeg4 -c:a aac -attach '" + cover + "' -metadata:s:t mimetype=image/png");
    const std::string out = (dir / "out.mp4").string();
    Conversion c = Convert(Job(in, out, "", kMp4Lines));
    ASSERT_TRUE(c.finished) << c.message;
    const MediaInfo info = ProbeMedia(out);
    const Fields* v = info.First("video");
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->at("width"), "384");
    EXPECT_EQ(v->at("height"), "288");

    TAVProbe probe;
    ASSERT_TRUE(probe.Open(in, ""));
    EXPECT_EQ(probe.VideoStreamCount(), 1);
    EXPECT_EQ(probe.FirstVideoStream(), 0);
}

TEST(StreamChoice, AudioWithoutChannelsIsSkippedAndLeavesNoFileWhenNothingElseIsLeft) {
    const auto dir = TempDir();
    const std::string in = MakeTsWithoutAudioChannels(dir);
    const std::string video = (dir / "out.mp4").string();
    Conversion c = Convert(Job(in, video, "", kMp4Lines));
    ASSERT_TRUE(c.finished) << c.message;
    EXPECT_TRUE(c.Logged("Input stream #0.1 has no audio channels; it is not converted"));
    const MediaInfo info = ProbeMedia(video);
    EXPECT_EQ(info.Count("audio"), 0);
    ASSERT_NE(info.First("video"), nullptr);
    EXPECT_EQ(info.First("video")->at("width"), "320");

    const std::string audio = (dir / "out.mp3").string();
    Conversion a = Convert(Job(in, audio, "", "acodec=libmp3lame"));
    EXPECT_FALSE(a.created);
    EXPECT_EQ(a.message, "Nothing can be converted to '" + audio + "': input stream #0.1 has no audio channels");
    EXPECT_FALSE(std::filesystem::exists(audio));
}

TEST(StreamChoice, AVideoStreamWithoutAPictureSizeLeavesTheAudioToConvert) {
    const auto dir = TempDir();
    const std::string in = MakeTsWithoutPictureSize(dir);
    for (const char* inputLines : {"", "vn"}) {
        const std::string out = (dir / (std::string("out") + inputLines + ".mp4")).string();
        Conversion c = Convert(Job(in, out, inputLines, kMp4Lines));
        ASSERT_TRUE(c.finished) << "'" << inputLines << "': " << c.message;
        const MediaInfo info = ProbeMedia(out);
        EXPECT_EQ(info.Count("video"), 0);
        EXPECT_EQ(info.Count("audio"), 1);
    }
    Conversion c = Convert(Job(in, (dir / "logged.mp4").string(), "", kMp4Lines));
    EXPECT_TRUE(c.Logged("Input stream #0.0 has an invalid picture size (0x0); it is not converted"));
}

TEST(StreamChoice, AMappedStreamWithoutAPictureSizeIsCalledInvalid) {
    const auto dir = TempDir();
    const std::string in = MakeTsWithoutPictureSize(dir), out = (dir / "mapped.mp4").string();
    Conversion c = Convert(Job(in, out, "", std::string(kMp4Lines) + "\nmap=0:0\nmap=0:1"));
    ASSERT_TRUE(c.created) << c.message;
    EXPECT_TRUE(c.exception);
    EXPECT_EQ(c.message, "Output stream #0.0: picture size 0x0 is invalid");
    EXPECT_FALSE(std::filesystem::exists(out));
}

}  // namespace
}  // namespace tavrin::test
