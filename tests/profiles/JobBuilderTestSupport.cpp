#include "JobBuilderTestSupport.h"

#include "OutputFormat.h"
#include "Quality.h"
#include "RowProbe.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <thread>

namespace tavrin::test {

namespace fs = std::filesystem;

std::string Fixture(const std::string& name)
{
    return std::string(TAVRIN_FIXTURE_DIR) + "/" + name;
}

void JobBuilderTest::SetUp()
{
    ASSERT_TRUE(Engine.LoadCodecLibraries("", true)) << Engine.LastErrorText();
    Engine.SetLogLevel(llQuiet);
    char folder[] = "/tmp/tavrin-jobs-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    Work = folder;
    Out = Work / "out";
    Scripts = Work / "scripts";
    fs::create_directories(Out);
    Window.OutputFolder = Out.string();
    Builder.SetScriptFolder(Scripts);
    Builder.SetProgramFolder("/opt/tavrin");
    Engine.OnTerminate = [this](int index, bool, bool exception, const std::string&) {
        TaskTerminated(Window, Engine, index, exception);
    };
    Choose("MP4 - MPEG4 Video (*.mp4)");
}

void JobBuilderTest::TearDown()
{
    Engine.StopTasks();
    Engine.ClearTaskList();
    std::error_code ignored;
    fs::remove_all(Work, ignored);
}

void JobBuilderTest::Choose(const std::string& caption)
{
    TMemoryProfileControls& s = Window.Settings;
    const auto& items = s.OutputFormat.Items();
    const auto found = std::find(items.begin(), items.end(), caption);
    ASSERT_NE(found, items.end()) << caption;
    s.OutputFormat.SetItemIndex(static_cast<int>(found - items.begin()));
    ASSERT_TRUE(FillProfileControls(s.Controls, Window.Extension));
    ApplyQualityPreset(s.Controls);
}

int JobBuilderTest::AddFile(const std::string& path, bool checked)
{
    const int row = Window.AddRow(path, checked);
    const TRowCells cells = ProbeRowCells(Engine.AVProbe(), path, Window.Extension);
    Window.SetRowCell(row, rcVideoSize, cells.VideoSize);
    Window.SetRowCell(row, rcFrameRate, cells.FrameRate);
    Window.SetRowCell(row, rcDuration, cells.Duration);
    Window.SetRowCell(row, rcOutput, cells.Output);
    Window.SetRowCell(row, rcProgress, cells.Progress);
    return row;
}

std::string JobBuilderTest::CopyFixture(const std::string& fixture, const std::string& name)
{
    const fs::path target = Work / name;
    fs::create_directories(target.parent_path());
    fs::copy_file(Fixture(fixture), target, fs::copy_options::overwrite_existing);
    return target.string();
}

void JobBuilderTest::Build()
{
    Window.Batch().Converting = true;
    Builder.BuildNextJob();
}

bool JobBuilderTest::WaitUntilIdle()
{
    using namespace std::chrono;
    const auto deadline = steady_clock::now() + seconds(60);
    while (Window.Batch().Converting) {
        if (steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(milliseconds(10));
    }
    return true;
}

}  // namespace tavrin::test
