// tavrin-convert never loses a file: two runs into one folder, a file-size limit, and
// sources that are not files.
#include <sys/stat.h>

#include <chrono>
#include <regex>

#include "ConvertProgram.h"

namespace tavrin::test {
namespace {

using namespace std::chrono_literals;

using ConvertSafety = ConvertProgram;

// The outputs a run reported as done.
std::vector<std::string> DoneOutputs(const std::string& output)
{
    static const std::regex done(R"(Done   .* -> (.*))");
    std::vector<std::string> files;
    for (std::sregex_iterator it(output.begin(), output.end(), done), end; it != end; ++it)
        files.push_back((*it)[1].str());
    return files;
}

// Two runs started together on files of the same name pick the same free name unless the
// name is reserved as it is chosen; then one conversion is lost, or one file holds the
// other's tail. Every round, with and without overwriting, what each reports must be whole.
TEST_F(ConvertSafety, TwoRunsIntoOneFolderNeverShareAnOutput)
{
    const std::string a = Source("audio.wav", "a/song.wav");
    const std::string b = Source("audio.wav", "b/song.wav");
    constexpr int kRounds = 8;
    for (int round = 0; round < kRounds; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        std::vector<std::string> args = {kProgram, "-p", "mp3mpeglayer3audio", "-o", Out.string()};
        if (round % 2)
            args.push_back("--overwrite");
        std::vector<std::string> first = args, second = args;
        first.push_back(a);
        second.push_back(b);
        ChildProcess one(first), two(second);
        const int oneStatus = one.Wait();
        const int twoStatus = two.Wait();
        ASSERT_EQ(oneStatus, 0) << one.Output();
        ASSERT_EQ(twoStatus, 0) << two.Output();
        const auto oneFiles = DoneOutputs(one.Output());
        const auto twoFiles = DoneOutputs(two.Output());
        ASSERT_EQ(oneFiles.size(), 1u) << one.Output();
        ASSERT_EQ(twoFiles.size(), 1u) << two.Output();
        // With overwriting a run that starts after the other ended may replace its output;
        // while both run, they never share one.
        if (round % 2 == 0) {
            EXPECT_NE(oneFiles[0], twoFiles[0]);
        }
        for (const std::string& file : {oneFiles[0], twoFiles[0]}) {
            const MediaInfo info = ProbeMedia(file);
            ASSERT_TRUE(info.ok) << file;
            EXPECT_NEAR(info.duration, 3.0, 0.15) << file;
        }
        if (round % 2 == 0)
            fs::remove_all(Out);  // overwrite rounds start from the last round's outputs
    }
}

// Past a file-size limit the write fails instead of the signal killing the program; the row
// says so and its part-written output is deleted.
TEST_F(ConvertSafety, AFileSizeLimitFailsTheRowAndLeavesNoPartFile)
{
    const std::string source = Source("short.avi", "clip.avi");
    const RunResult r = RunProgram({"prlimit", "--fsize=20000", kProgram, "-p", "mp4mpeg4video",
                                    "-o", Out.string(), source});
    EXPECT_EQ(r.status, 1) << r.output;
    EXPECT_NE(r.output.find("Fail   " + source + ": "), std::string::npos) << r.output;
    EXPECT_TRUE(fs::is_empty(Out)) << r.output;
}

// A named pipe nothing writes to would hold the probe for ever; it is refused at once.
TEST_F(ConvertSafety, APipeIsRefusedBeforeItIsRead)
{
    const fs::path fifo = Work / "pipe.mp4";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const std::string good = Source("short.avi", "clip.avi");
    ChildProcess run({kProgram, "-p", "mp4mpeg4video", "-o", Out.string(), fifo.string(), good});
    ASSERT_TRUE(run.WaitForOutput("files:", 60s)) << run.Output();
    EXPECT_EQ(run.Wait(), 1) << run.Output();
    EXPECT_NE(run.Output().find(fifo.string() + ": Error ('" + fifo.string() + "' is a named pipe"),
              std::string::npos)
        << run.Output();
    EXPECT_NE(run.Output().find("Fail   " + fifo.string() + ": '" + fifo.string() +
                                "' is a named pipe"),
              std::string::npos)
        << run.Output();
    EXPECT_TRUE(ProbeMedia((Out / "clip.mp4").string()).ok) << run.Output();
}

}  // namespace
}  // namespace tavrin::test
