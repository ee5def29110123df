// Failures name their cause: the library's own words where no fixed text fits, the reason
// an output could not be opened, and the file, not the disk, when an input is damaged.
#include <unistd.h>

#include "AVProbe.h"
#include "HostileMedia.h"
#include "TranscodeTestSupport.h"

namespace tavrin::test {
namespace {

std::string OutputError(const std::string& name) {
    TFFmpeg task;
    EXPECT_TRUE(task.OpenInput(Fixture("clip.mp4"))) << task.ErrorText;
    EXPECT_FALSE(task.CreateOutput(name));
    return task.ErrorText;
}

TEST(ErrorText, AnOutputThatCannotBeOpenedSaysWhy) {
    const auto dir = TempDir();
    const std::string missing = (dir / "no-such-folder" / "out.mp4").string();
    EXPECT_EQ(OutputError(missing), "Could not open '" + missing + "': No such file or directory");
    const std::string tooLong = (dir / (std::string(300, 'x') + ".mp4")).string();
    EXPECT_EQ(OutputError(tooLong), "Could not open '" + tooLong + "': File name too long");
    EXPECT_EQ(OutputError("colon:name.mp4"), "Could not open 'colon:name.mp4': Protocol not found");
    if (geteuid() != 0) {  // a superuser writes anywhere
        std::filesystem::permissions(dir, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
        const std::string locked = (dir / "out.mp4").string();
        EXPECT_EQ(OutputError(locked), "Could not open '" + locked + "': Permission denied");
        std::filesystem::permissions(dir, std::filesystem::perms::owner_all);
    }
}

TEST(ErrorText, AnInputThatCannotBeOpenedSaysWhy) {
    const auto dir = TempDir();
    TFFmpegEngine engine;
    EXPECT_LT(engine.AddInputTask(dir.string(), nullptr), 0);
    EXPECT_EQ(engine.LastErrorText(), dir.string() + ": Is a directory");
    EXPECT_LT(engine.AddInputTask("colon:name.mp4", nullptr), 0);
    EXPECT_EQ(engine.LastErrorText(), "colon:name.mp4: Protocol not found");
}

TEST(ErrorText, AMuxersTimestampRefusalIsNotCalledAHeaderError) {
    const std::string out = (TempDir() / "backwards.mkv").string();
    // Copied video whose timestamps run backwards, kept as they are.
    Conversion c = Convert(Job(Fixture("clip.mp4"), out, "itsscale=0:-1\ncopyts", "vcodec=copy\nan"));
    ASSERT_TRUE(c.created) << c.message;
    EXPECT_TRUE(c.exception);
    EXPECT_EQ(c.message, "av_interleaved_write_frame(): Invalid argument");
    EXPECT_FALSE(std::filesystem::exists(out));
}

constexpr const char* kCut = ": Error while parsing header (the file ends too early: it is cut short or damaged)";

// Each input fails to open with the text that names what is wrong with it, both when a
// task opens it and when the file list probes it.
TEST(ErrorText, ADamagedInputIsBlamedNotTheDisk) {
    const auto dir = TempDir();
    const auto path = [&dir](const std::string& name) { return (dir / name).string(); };
    const std::string mkv = MakeClip(dir, "whole.mkv", "-f lavfi -i testsrc2=s=160x120:r=25:d=1 -c:v mpeg4");
    const std::string ogg = MakeClip(dir, "whole.ogg", "-f lavfi -i sine=d=1 -c:a libvorbis");
    const std::string gp3 = MakeClip(dir, "whole.3gp", "-f lavfi -i testsrc2=s=176x144:r=25:d=2 -f lavfi -i sine=d=2 -c:v h263 "
                                                       "-c:a aac -ar 8000 -ac 1 -movflags +faststart");
    WriteInput(path("empty.mp3"), "");
    std::string text;
    for (int i = 0; i < 400; ++i)
        text += "not sound ";
    WriteInput(path("garbage.mp3"), text);
    WriteInput(path("zero.y4m"), Y4mWithSize("W0 H0"));
    WriteInput(path("huge.y4m"), Y4mWithSize("W65535 H65535"));
    CutCopy(mkv, path("cut.mkv"), 100);
    CutCopy(ogg, path("cut.ogg"), 1000);
    CutCopy(gp3, path("cut.3gp"), 1000);  // inside the index at the front
    const std::pair<const char*, std::string> cases[] = {
        {"empty.mp3", ": the file is empty"},
        {"garbage.mp3", ": Unknown format"},
        {"zero.y4m", ": Error while parsing header (Picture size 0x0 is invalid)"},
        {"huge.y4m", ": Error while parsing header (Picture size 65535x65535 is invalid)"},
        {"cut.mkv", kCut},
        {"cut.ogg", kCut},
        {"cut.3gp", kCut},
    };
    TFFmpegEngine engine;
    for (const auto& [name, why] : cases) {
        EXPECT_LT(engine.AddInputTask(path(name), nullptr), 0) << name;
        EXPECT_EQ(engine.LastErrorText(), path(name) + why);
        EXPECT_FALSE(engine.AVProbe().Open(path(name), "")) << name;
        EXPECT_EQ(engine.AVProbe().LastError(), path(name) + why);
    }
}

// A header size no decoder takes is named as the file gives it, not as the 0x0 left once
// the decoder refused it.
TEST(ErrorText, AnImpossiblePictureSizeIsNamedAsTheFileGivesIt) {
    const auto dir = TempDir();
    const std::string raw = MakeClip(dir, "raw.avi", "-f lavfi -i testsrc2=s=160x120:r=25:d=1 -c:v rawvideo -pix_fmt yuv420p");
    const std::string out = (dir / "out.mp4").string();
    const struct {
        int32_t width, height;
        const char* named;
    } cases[] = {{0, 0, "0x0"}, {65535, 65535, "65535x65535"}, {-160, -120, "-160x120"}};
    for (const auto& c : cases) {
        const std::string in = (dir / ("size" + std::string(c.named) + ".avi")).string();
        SetAviPictureSize(raw, in, c.width, c.height);
        TFFmpeg task;
        ASSERT_TRUE(task.OpenInput(in)) << task.ErrorText;
        EXPECT_FALSE(task.CreateOutput(out));
        EXPECT_EQ(task.ErrorText, "Nothing can be converted to '" + out + "': input stream #0.0 has an invalid picture size (" +
                                      c.named + ")");
    }
}

// An input with no stream of a kind the output takes is named, not the output.
TEST(ErrorText, AnInputWithNothingTheOutputTakesIsNamed) {
    const auto dir = TempDir();
    const std::string srt = (dir / "words.srt").string();
    WriteInput(srt, "1\n00:00:00,000 --> 00:00:01,000\nHello\n\n2\n00:00:01,500 --> 00:00:02,000\nBye\n");
    const std::pair<std::string, std::string> cases[] = {{"out.avi", "no video or audio stream"},
                                                         {"out.mp3", "no audio stream"}};
    for (const auto& [name, missing] : cases) {
        const std::string out = (dir / name).string();
        TFFmpeg task;
        ASSERT_TRUE(task.OpenInput(srt)) << task.ErrorText;
        EXPECT_FALSE(task.CreateOutput(out));
        EXPECT_EQ(task.ErrorText, "Nothing can be converted to '" + out + "': '" + srt + "' has " + missing);
        EXPECT_FALSE(std::filesystem::exists(out));
    }
}

}  // namespace
}  // namespace tavrin::test
