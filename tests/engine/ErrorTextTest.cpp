// Failures name their cause: the library's own words where no fixed text fits, and the
// reason an output could not be opened.
#include <unistd.h>

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

}  // namespace
}  // namespace tavrin::test
