// The engine's events as the window receives them: raised on another thread, applied on
// the UI thread in order, with the specified texts, and never to a later row than their own.
#include "WindowTestSupport.h"

#include "list/SourceList.h"

#include <QLabel>
#include <QProgressBar>
#include <QToolButton>
#include <QTreeWidgetItem>

#include <thread>

namespace tavrin::test {
namespace {

class EngineEventsTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        AddFiles(MakeClips({"a.avi"}, 4.0));
        ASSERT_EQ(form->List().RowCount(), 1);
        ASSERT_EQ(form->List().Cell(0, scDuration), "00:00:04");
        form->Batch().State().CurrentRow = 0;
    }

    // The window as a batch holds it while row 0 converts.
    void RowConverts()
    {
        form->Batch().DisableControls();
        form->Batch().RowStarting(0);
    }

    // Raises the progress event on a thread of its own, like the engine's worker.
    void Progress(int frame, int currentMs, int64_t size, int totalMs)
    {
        std::thread worker([&] {
            form->Engine().OnProgress(0, frame, 25, currentMs, 2.0f, 500.0f, size, totalMs);
        });
        worker.join();
    }
    void Terminate(int index, bool exception, const std::string& message = {})
    {
        std::thread worker([&] { form->Engine().OnTerminate(index, true, exception, message); });
        worker.join();
    }
    QString Cell(int column) const { return form->List().Cell(0, column); }
};

TEST_F(EngineEventsTest, ProgressReachesTheWidgetsOnlyThroughTheUIThread)
{
    RowConverts();
    Progress(120, 1000, 1'500, 4000);
    // Nothing is written from the worker itself.
    EXPECT_EQ(Cell(scProgress), "");
    QApplication::processEvents();
    EXPECT_EQ(Cell(scProgress), "25%");
    EXPECT_EQ(Cell(scFrames), "120");
    EXPECT_EQ(Find<QProgressBar>(*form, "ProgressBar1")->value(), 25);
    EXPECT_EQ(Find<QLabel>(*form, "StatusPanel1")->text(), "File Size : 2 KBytes");
    EXPECT_TRUE(Find<QLabel>(*form, "StatusPanel0")->text().contains("real time"));

    Progress(-1, 1500, 2'500, 4000);
    QApplication::processEvents();
    EXPECT_EQ(Cell(scProgress), "37%");
    EXPECT_EQ(Cell(scFrames), " ");
    EXPECT_EQ(Find<QLabel>(*form, "StatusPanel1")->text(), "File Size : 2 KBytes");

    Progress(400, 5000, 12'345'678, 4000);
    QApplication::processEvents();
    EXPECT_EQ(Cell(scProgress), "100%");
    EXPECT_EQ(Find<QProgressBar>(*form, "ProgressBar1")->value(), 100);
    EXPECT_EQ(Find<QLabel>(*form, "StatusPanel1")->text(), "File Size : 12346 KBytes");
}

TEST_F(EngineEventsTest, AnUnknownTotalLeavesThePercentageAndShowsTheFrames)
{
    RowConverts();
    Progress(50, 1000, 10'000, 4000);
    Progress(77, 2000, 20'000, 0);
    Progress(78, 2100, 21'000, -5);
    QApplication::processEvents();
    EXPECT_EQ(Cell(scProgress), "25%");
    // The bar is the batch's: it measures the row against the length its row shows.
    EXPECT_EQ(Find<QProgressBar>(*form, "ProgressBar1")->value(), 52);
    EXPECT_EQ(Cell(scFrames), "78");
    EXPECT_EQ(Find<QLabel>(*form, "StatusPanel1")->text(), "File Size : 21 KBytes");
}

TEST_F(EngineEventsTest, TerminateMarksTheRowFailWinsOverAbort)
{
    form->Batch().State().Converting = true;
    Terminate(0, false);
    QApplication::processEvents();
    EXPECT_FALSE(form->Batch().State().Converting);
    EXPECT_EQ(Cell(scProgress), "Done");

    form->Batch().State().UserAborted = true;
    Terminate(0, false);
    QApplication::processEvents();
    EXPECT_EQ(Cell(scProgress), "Abort");

    Terminate(0, true, "Error while writing the output");
    QApplication::processEvents();
    EXPECT_EQ(Cell(scProgress), "Fail");
    EXPECT_EQ(form->List().Row(0)->toolTip(scFileName), "Error while writing the output");
    EXPECT_TRUE(form->List().RowLog(0).contains("Error while writing the output"));

    // The final notification of a finished batch leaves the progress bar at 0.
    Find<QProgressBar>(*form, "ProgressBar1")->setValue(60);
    form->Batch().State().BatchFinished = true;
    form->Batch().State().Converting = true;
    Terminate(-1, false);
    QApplication::processEvents();
    EXPECT_EQ(Find<QProgressBar>(*form, "ProgressBar1")->value(), 0);
    EXPECT_FALSE(form->Batch().State().Converting);
    EXPECT_EQ(Cell(scProgress), "Fail");
}

TEST_F(EngineEventsTest, LogLinesOfTheRunningRowAreKept)
{
    form->Batch().State().Converting = true;
    std::thread worker([&] { form->Engine().OnLog(0, llInfo, "Stream #0:0: Video: mpeg4\n"); });
    worker.join();
    QApplication::processEvents();
    EXPECT_EQ(form->List().RowLog(0), QStringList({"Stream #0:0: Video: mpeg4"}));

    // Lines while no row converts (the probe's, for one) belong to no row.
    form->Batch().State().Converting = false;
    form->Engine().OnLog(-1, llError, "probe complaint");
    QApplication::processEvents();
    EXPECT_EQ(form->List().RowLog(0).size(), 1);
}

TEST_F(EngineEventsTest, ProgressAfterTheBatchHasEndedChangesNothing)
{
    Progress(120, 1000, 1'500, 4000);
    QApplication::processEvents();
    EXPECT_EQ(Cell(scProgress), "");
    EXPECT_EQ(Find<QLabel>(*form, "StatusPanel0")->text(), "Ready");
    EXPECT_EQ(Find<QLabel>(*form, "StatusPanel1")->text(), "");
}

TEST_F(EngineEventsTest, EventsStillQueuedFromAnEarlierJobAreDropped)
{
    UseOutputFolder();
    // Queued before Start, delivered after the new row has begun: it belongs to no row now.
    Progress(999'999, 3000, 1'000, 4000);
    Terminate(0, true, "stale failure");
    Find<QToolButton>(*form, "ButtonConvert")->click();
    QApplication::processEvents();
    EXPECT_NE(Cell(scFrames), "999999");
    EXPECT_NE(Cell(scProgress), "Fail");
    ASSERT_TRUE(WaitUntil([&] { return dialogs.Shown("All Conversions Completed") > 0; }));
    EXPECT_EQ(Cell(scProgress), "Done");
    EXPECT_NE(form->List().Row(0)->toolTip(scFileName), "stale failure");
}

}  // namespace
}  // namespace tavrin::test
