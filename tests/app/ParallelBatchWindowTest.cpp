// "Simultaneous conversions" above 1: the window converts several rows at once, each row
// showing its own end state and failure reason, and Stop aborts them all.
#include "WindowTestSupport.h"

#include "MediaInfo.h"

#include <QFile>
#include <QFileInfo>
#include <QProgressBar>
#include <QTimer>
#include <QToolButton>

namespace tavrin::test {
namespace {

const QString kCompleted = QStringLiteral("All Conversions Completed");

TEST_F(WindowTest, TwoRowsAtOnceBothEndDone)
{
    const QString out = UseOutputFolder();
    AddFiles(MakeClips({"a.avi", "b.avi"}, 2.0));
    form->Options().SimultaneousConversions = 2;

    Find<QToolButton>(*form, "ButtonConvert")->click();
    // Both rows were started at once: each output exists before either has ended.
    EXPECT_TRUE(QFileInfo::exists(out + "/a.mp4"));
    EXPECT_TRUE(QFileInfo::exists(out + "/b.mp4"));
    EXPECT_TRUE(form->Batch().State().Converting);
    EXPECT_FALSE(Find<QToolButton>(*form, "ButtonConvert")->isEnabled());

    ASSERT_TRUE(WaitUntil([&] { return dialogs.Shown(kCompleted) > 0; }));
    QTest::qWait(500);
    EXPECT_EQ(dialogs.Shown(kCompleted), 1);
    EXPECT_EQ(Progress(0), "Done");
    EXPECT_EQ(Progress(1), "Done");
    EXPECT_EQ(Frames(0), "50");
    EXPECT_FALSE(form->Batch().State().Converting);
    EXPECT_FALSE(Find<QTimer>(*form, "TimerConvertAgain")->isActive());
    EXPECT_TRUE(Find<QToolButton>(*form, "ButtonConvert")->isEnabled());
    EXPECT_EQ(Find<QProgressBar>(*form, "ProgressBar1")->value(), 0);
    for (const char* name : {"/a.mp4", "/b.mp4"}) {
        const MediaInfo info = ProbeMedia((out + name).toStdString());
        ASSERT_TRUE(info.ok) << name;
        EXPECT_EQ(info.Count("video"), 1) << name;
        EXPECT_NEAR(info.duration, 2.0, 0.15) << name;
    }
}

TEST_F(WindowTest, AFailingRowBesideAGoodOneEndsFailWithItsReason)
{
    UseOutputFolder();
    QStringList files = MakeClips({"good.avi"});
    const QString text = Path(QStringLiteral("text.avi"));
    QFile file(text);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(4000, 'x'));
    file.close();
    files.insert(0, text);
    AddFiles(files);
    form->Options().SimultaneousConversions = 2;

    Find<QToolButton>(*form, "ButtonConvert")->click();
    ASSERT_TRUE(WaitUntil([&] { return dialogs.Shown("1 file converted, 1 failed") > 0; }));
    EXPECT_EQ(Progress(0), "Fail");
    EXPECT_EQ(Progress(1), "Done");
    EXPECT_FALSE(form->List().RowLog(0).isEmpty());
}

TEST_F(WindowTest, StopDuringTwoRowsAtOnceAbortsBothWithPlayableFiles)
{
    const QString out = UseOutputFolder();
    QStringList files;
    for (const QString& name : {QStringLiteral("one.avi"), QStringLiteral("two.avi")}) {
        ASSERT_FALSE(MakeClip(Path(name), 40.0, 320, 240).empty());
        files << Path(name);
    }
    files << MakeClips({"three.avi"});
    AddFiles(files);
    form->Options().SimultaneousConversions = 2;

    Find<QToolButton>(*form, "ButtonConvert")->click();
    auto converting = [&](int row) { return Progress(row).endsWith('%') && Progress(row) != "0%"; };
    ASSERT_TRUE(WaitUntil([&] { return converting(0) && converting(1); }, 90000));
    dialogs.Answers = {true};
    Find<QToolButton>(*form, "ButtonStopConvert")->click();
    EXPECT_EQ(dialogs.Questions, QStringList({"Stop all conversions?"}));
    EXPECT_FALSE(form->Batch().State().Converting);
    EXPECT_TRUE(form->Batch().State().UserAborted);
    EXPECT_FALSE(Find<QTimer>(*form, "TimerConvertAgain")->isActive());
    EXPECT_TRUE(Find<QToolButton>(*form, "ButtonConvert")->isEnabled());

    ASSERT_TRUE(WaitUntil([&] { return Progress(0) == "Abort" && Progress(1) == "Abort"; }, 30000));
    QTest::qWait(500);
    EXPECT_EQ(dialogs.Shown(kCompleted), 0);
    EXPECT_EQ(Progress(2), "");
    EXPECT_FALSE(QFileInfo::exists(out + "/three.mp4"));
    for (const char* name : {"/one.mp4", "/two.mp4"}) {
        const MediaInfo info = ProbeMedia((out + name).toStdString());
        ASSERT_TRUE(info.ok) << name << " was not finished";
        EXPECT_GT(info.duration, 0.0) << name;
        EXPECT_LT(info.duration, 39.0) << name;
    }
}

}  // namespace
}  // namespace tavrin::test
