// Output names, overwriting, and the wrapper script of RealMedia sources.
#include "JobBuilderTestSupport.h"

#include "MediaInfo.h"

#include <fstream>
#include <sstream>

namespace tavrin::test {
namespace {

namespace fs = std::filesystem;

void Touch(const fs::path& path, const std::string& text = "old")
{
    std::ofstream(path) << text;
}

std::string Read(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST_F(JobBuilderTest, OverwriteOffTakesTheNextFreeNumber)
{
    Touch(Out / "clip.mp4");
    Touch(Out / "clip-1.mp4");
    AddFile(CopyFixture("short.avi", "src/clip.avi"));
    Build();
    EXPECT_EQ(Builder.LastJob().OutputPath, (Out / "clip-2.mp4").string());
    ASSERT_TRUE(WaitUntilIdle());
    EXPECT_EQ(Read(Out / "clip.mp4"), "old");
    EXPECT_TRUE(ProbeMedia((Out / "clip-2.mp4").string()).ok);
}

TEST_F(JobBuilderTest, OverwriteOnReplacesAnExistingOutput)
{
    Window.Overwrite = true;
    Touch(Out / "clip.mp4");
    AddFile(CopyFixture("short.avi", "src/clip.avi"));
    Build();
    EXPECT_EQ(Builder.LastJob().OutputPath, (Out / "clip.mp4").string());
    ASSERT_TRUE(WaitUntilIdle());
    EXPECT_EQ(Progress(0), "Done");
    EXPECT_TRUE(ProbeMedia((Out / "clip.mp4").string()).ok);
    EXPECT_FALSE(fs::exists(Out / "clip-1.mp4"));
}

// An .mp4 converted to MP4 in its own folder would overwrite the file being read.
TEST_F(JobBuilderTest, OverwriteOnNeverReplacesTheSource)
{
    Window.Overwrite = true;
    const std::string source = CopyFixture("short.mov", "out/clip.mp4");
    const auto size = fs::file_size(source);
    Touch(Out / "clip-1.mp4");
    AddFile(source);
    Build();
    EXPECT_EQ(Builder.LastJob().OutputPath, (Out / "clip-2.mp4").string());
    ASSERT_TRUE(WaitUntilIdle());
    EXPECT_EQ(Progress(0), "Done");
    EXPECT_EQ(fs::file_size(source), size);
    EXPECT_TRUE(ProbeMedia(source).ok);
    EXPECT_TRUE(ProbeMedia((Out / "clip-2.mp4").string()).ok);
}

TEST_F(JobBuilderTest, OutputFolderAndCaptionAreTakenAsTheyStand)
{
    const std::string source = CopyFixture("short.avi", "src/clip.x.avi");
    const int row = Window.AddRow("  " + source + "  ");
    Window.SetRowCell(row, rcVideoSize, "320x240");
    Window.SetRowCell(row, rcDuration, "00:00:01");
    Build();
    EXPECT_EQ(Builder.LastJob().SourcePath, source);
    EXPECT_EQ(Builder.LastJob().OutputPath, (Out / "clip.x.mp4").string());
    EXPECT_TRUE(Builder.LastJob().Started);
}

TEST_F(JobBuilderTest, RealMediaGoesThroughAScriptAndKeepsItsName)
{
    fs::create_directories(Scripts);
    Touch(Scripts / "old.avs");
    Touch(Scripts / "keep.txt");
    const std::string source = CopyFixture("short.rmvb", "src/movie.RMVB");
    AddFile(source);
    Build();
    const TJobRecord& job = Builder.LastJob();
    EXPECT_EQ(job.ScriptPath, (Scripts / "r.avs").string());
    EXPECT_EQ(Read(Scripts / "r.avs"),
              "LoadPlugin(\"/opt/tavrin/DirectShowSource.dll\")\r\n"
              "DirectShowSource(\"" + source + "\", fps=25, convertfps=true)\r\n");
    EXPECT_FALSE(fs::exists(Scripts / "old.avs"));
    EXPECT_TRUE(fs::exists(Scripts / "keep.txt"));
    EXPECT_EQ(job.OutputPath, (Out / "movie.mp4").string());
    EXPECT_EQ(Progress(0), "Loading");
    // These libraries read RealMedia themselves and have no AviSynth reader.
    EXPECT_EQ(job.InputPath, source);
    ASSERT_TRUE(WaitUntilIdle());
    EXPECT_EQ(Progress(0), "Done");
    const MediaInfo info = ProbeMedia((Out / "movie.mp4").string());
    ASSERT_TRUE(info.ok);
    EXPECT_EQ(info.Count("video"), 1);
}

TEST_F(JobBuilderTest, ScriptInputHandsTheScriptToTheEngine)
{
    Builder.SetScriptInput(true);
    const std::string source = CopyFixture("short.rmvb", "src/movie.rmvb");
    AddFile(source);
    AddFile(source);
    Build();
    EXPECT_EQ(Builder.LastJob().InputPath, (Scripts / "r.avs").string());
    // The script of the previous row is gone before the next one is written.
    Build();
    EXPECT_EQ(Builder.LastJob().InputPath, (Scripts / "r.avs").string());
    EXPECT_EQ(Builder.LastJob().OutputPath, (Out / "movie.mp4").string());
}

TEST(JobScript, RealMediaIsRecognisedInAnyCase)
{
    EXPECT_TRUE(IsRealMediaVbr("/a/movie.RMVB"));
    EXPECT_TRUE(IsRealMediaVbr("/a/movie.rmvb"));
    EXPECT_FALSE(IsRealMediaVbr("/a/movie.rm"));
    EXPECT_FALSE(IsRealMediaVbr("/a/rmvb"));
    EXPECT_EQ(DefaultScriptFolder(), fs::temp_directory_path() / "$$7777a");
}

}  // namespace
}  // namespace tavrin::test
