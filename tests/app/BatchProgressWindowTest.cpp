// The bottom bar and the status bar follow the whole batch: the bar never falls back between
// rows, one speed and time left cover the batch with one or several rows at once, and a
// source of unknown length gets a speed but no invented time left.
#include "WindowTestSupport.h"

#include "MediaInfo.h"
#include "list/SourceList.h"

#include <QLabel>
#include <QProgressBar>
#include <QTimer>
#include <QToolButton>

#include <algorithm>

namespace tavrin::test {
namespace {

// What the bar and the first status panel showed while the batch ran, sampled until the
// batch's final box.
struct TBatchTrace {
    QList<int> Bar;
    QStringList Pace;
};

TBatchTrace RunBatch(TForm1& form, TScriptedDialogs& dialogs, const QString& shot = {})
{
    TBatchTrace trace;
    auto* bar = Find<QProgressBar>(form, "ProgressBar1");
    auto* panel = Find<QLabel>(form, "StatusPanel0");
    bool shotTaken = shot.isEmpty();
    Find<QToolButton>(form, "ButtonConvert")->click();
    WaitUntil([&] {
        if (!dialogs.Informations.isEmpty())
            return true;
        trace.Bar << bar->value();
        if (trace.Pace.isEmpty() || trace.Pace.last() != panel->text())
            trace.Pace << panel->text();
        // The second row is being started.
        if (!shotTaken && form.Batch().State().Converting &&
            form.List().Cell(0, scProgress) == "Done" && form.List().Cell(1, scProgress).isEmpty()) {
            SaveShot(form, shot);
            shotTaken = true;
        }
        return false;
    }, 120000);
    return trace;
}

bool NeverFallsBack(const QList<int>& values)
{
    for (qsizetype i = 1; i < values.size(); ++i)
        if (values[i] < values[i - 1])
            return false;
    return true;
}

struct TSpreadCase {
    const char* Name;
    int Simultaneous;
};
void PrintTo(const TSpreadCase& c, std::ostream* out)
{
    *out << c.Name;
}


class BatchProgressAcrossRows : public WindowTest,
                                public ::testing::WithParamInterface<TSpreadCase> {};

TEST_P(BatchProgressAcrossRows, TheBarAndTheTimeLeftCoverTheWholeBatch)
{
    const TSpreadCase& c = GetParam();
    UseOutputFolder();
    form->Options().SimultaneousConversions = c.Simultaneous;
    QStringList clips;
    for (const char* name : {"a.avi", "b.avi", "c.avi", "d.avi"}) {
        clips << Path(name);
        ASSERT_FALSE(MakeClip(clips.last(), 6.0, 320, 240).empty());
    }
    AddFiles(clips);

    const TBatchTrace trace =
        RunBatch(*form, dialogs, c.Simultaneous == 1 ? QStringLiteral("item8") : QString());
    for (int row = 0; row < 4; ++row)
        EXPECT_EQ(Progress(row), "Done") << row;
    ASSERT_FALSE(trace.Bar.isEmpty());
    EXPECT_TRUE(NeverFallsBack(trace.Bar)) << "the bar fell back between rows";
    EXPECT_GE(*std::max_element(trace.Bar.begin(), trace.Bar.end()), 50);
    const auto timeLeft = std::count_if(trace.Pace.begin(), trace.Pace.end(), [](const QString& t) {
        return t.contains("x real time, ") && t.endsWith(" left");
    });
    EXPECT_GE(timeLeft, 1) << trace.Pace.join(" / ").toStdString();
}

INSTANTIATE_TEST_SUITE_P(Window, BatchProgressAcrossRows,
                         ::testing::Values(TSpreadCase{"OneRowAtOnce", 1},
                                           TSpreadCase{"TwoRowsAtOnce", 2}),
                         [](const ::testing::TestParamInfo<TSpreadCase>& info) {
                             return info.param.Name;
                         });

TEST_F(WindowTest, ASourceOfUnknownLengthShowsItsSpeedButNoTimeLeft)
{
    UseOutputFolder();
    // A raw MPEG-4 stream has no container that tells its length.
    const QString raw = Path("raw.m4v");
    ASSERT_EQ(Shell("ffmpeg -hide_banner -loglevel error -y -f lavfi "
                    "-i testsrc2=size=320x240:rate=25:duration=20 -c:v mpeg4 -f m4v '" +
                    raw.toStdString() + "'"),
              0);
    AddFiles({raw});
    ASSERT_EQ(form->List().Cell(0, scDuration), "Unknown");

    const TBatchTrace trace = RunBatch(*form, dialogs);
    EXPECT_EQ(Progress(0), "Done");
    const auto speeds = std::count_if(trace.Pace.begin(), trace.Pace.end(),
                                      [](const QString& t) { return t.contains("x real time"); });
    EXPECT_GE(speeds, 1) << trace.Pace.join(" / ").toStdString();
    for (const QString& text : trace.Pace)
        EXPECT_FALSE(text.contains("left")) << text.toStdString();
}

}  // namespace
}  // namespace tavrin::test
