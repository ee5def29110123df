// Output names that never replace a source, another row's output, or another run's output;
// sources that are not files.
#include "JobBuilderTestSupport.h"

#include "BatchDriver.h"
#include "MediaInfo.h"
#include "OutputClaim.h"
#include "RowProbe.h"
#include "SourceKind.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <fstream>
#include <sstream>

namespace tavrin::test {
namespace {

namespace fs = std::filesystem;

std::string Read(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The batch as the driver runs it: Start, then the next row each time one has ended.
void RunBatch(TMemoryJobWindow& window, TJobBuilder& builder, TFFmpegEngine& engine,
              const std::function<bool()>& waitUntilIdle)
{
    StartBatch(window, builder, engine);
    for (int guard = 0; guard < 20 && !window.Batch().BatchFinished; ++guard) {
        ASSERT_TRUE(waitUntilIdle());
        window.Batch().Converting = true;
        builder.BuildNextJob();
    }
    ASSERT_TRUE(waitUntilIdle());
}

class OutputClaimTest : public JobBuilderTest {
protected:
    void Run()
    {
        RunBatch(Window, Builder, Engine, [this] { return WaitUntilIdle(); });
    }
};

// With overwriting on, clip.avi must not be converted onto the user's clip.mp4 that a later
// row reads, nor may two rows named alike end in one file.
TEST_F(OutputClaimTest, OverwriteNeverReplacesAListedSourceNorAnotherRowsOutput)
{
    Window.Overwrite = true;
    Window.OutputFolder = Work.string() + "/src";
    const std::string avi = CopyFixture("short.avi", "src/clip.avi");
    const std::string mp4 = CopyFixture("short.mov", "src/clip.mp4");
    const std::string mov = CopyFixture("short.mov", "src/clip.mov");
    const std::string original = Read(mp4);
    AddFile(avi);
    AddFile(mp4, /*checked=*/false);  // a row's source even when it is not converted
    AddFile(mov);
    Run();
    EXPECT_EQ(Progress(0), "Done");
    EXPECT_EQ(Progress(2), "Done");
    EXPECT_EQ(Read(mp4), original);
    const fs::path src = Work / "src";
    EXPECT_TRUE(ProbeMedia((src / "clip-1.mp4").string()).ok);
    EXPECT_TRUE(ProbeMedia((src / "clip-2.mp4").string()).ok);
    EXPECT_FALSE(fs::exists(src / "clip-3.mp4"));
}

// Two runs (two windows, a window and a script) never share a name: what one run holds or
// has just created, the other passes over, with and without overwriting.
TEST(OutputLedger, ANameAnotherRunHoldsIsPassedOver)
{
    const fs::path folder = fs::temp_directory_path() / ("tavrin-claim-" + std::to_string(getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    const std::string base = (folder / "clip").string();
    for (const bool overwrite : {false, true}) {
        SCOPED_TRACE(overwrite ? "overwrite" : "no overwrite");
        TOutputLedger mine, theirs;
        TOutputClaim first = mine.Claim(base, ".mp4", overwrite, {});
        ASSERT_TRUE(first.Held());
        EXPECT_EQ(first.Path(), base + ".mp4");
        EXPECT_EQ(theirs.Predict(base, ".mp4", false, {}), base + "-1.mp4");
        TOutputClaim second = theirs.Claim(base, ".mp4", overwrite, {});
        ASSERT_TRUE(second.Held());
        EXPECT_EQ(second.Path(), base + "-1.mp4");
        // Nothing was written: released, both names are free again.
        mine.Release(first);
        theirs.Release(second);
        EXPECT_FALSE(fs::exists(base + ".mp4"));
        EXPECT_FALSE(fs::exists(base + "-1.mp4"));
    }
    // A written output stays when released; with overwriting it may be claimed again.
    TOutputLedger ledger;
    TOutputClaim claim = ledger.Claim(base, ".mp4", false, {});
    std::ofstream(claim.Path()) << "data";
    ledger.Release(claim);
    EXPECT_EQ(Read(base + ".mp4"), "data");
    ledger.BeginBatch();
    EXPECT_EQ(ledger.Claim(base, ".mp4", true, {}).Path(), base + ".mp4");
    fs::remove_all(folder);
}

// A pipe nothing feeds would hold the probe for ever; a pipe, socket or folder is refused
// at once, before anything reads it, and the row says why.
TEST_F(OutputClaimTest, SourcesThatAreNotFilesAreRefusedBeforeReading)
{
    const fs::path fifo = Work / "pipe.mp4";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const fs::path socketPath = Work / "sock.avi";
    const int sock = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", socketPath.c_str());
    ASSERT_EQ(bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    struct TCase {
        std::string path;
        std::string says;
    };
    const TCase cases[] = {{fifo.string(), "is a named pipe"},
                           {socketPath.string(), "is a socket"},
                           {"/dev/zero", "is a device"},
                           {Work.string(), "is a folder"}};
    const auto start = std::chrono::steady_clock::now();
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_NE(SourceRefusal(c.path).find(c.says), std::string::npos);
        const TRowCells cells = ProbeRowCells(Engine.AVProbe(), c.path, "MP4");
        EXPECT_EQ(cells.Progress, "Error");
        EXPECT_NE(cells.Reason.find(c.says), std::string::npos) << cells.Reason;
        const int row = Window.AddRow(c.path);
        Window.SetRowCell(row, rcDuration, "00:00:01");
    }
    Run();
    for (int row = 0; row < Window.RowCount(); ++row)
        EXPECT_EQ(Progress(row), "Fail");
    EXPECT_NE(Builder.LastJob().FailText.find("is a folder"), std::string::npos);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
    EXPECT_TRUE(fs::is_empty(Out) || !fs::exists(Out));
    EXPECT_EQ(SourceRefusal(CopyFixture("short.avi", "plain.avi")), "");
    close(sock);
}

}  // namespace
}  // namespace tavrin::test
