// A row's status, failure reason and log belong to that row until it is converted again or
// removed: adding files, a refused Start and batches over other rows leave them as they are.
#include "WindowTestSupport.h"

#include "list/SourceList.h"

#include <QFile>
#include <QLineEdit>
#include <QToolButton>
#include <QTreeWidgetItem>

namespace tavrin::test {
namespace {

const QString kCompleted = QStringLiteral("All Conversions Completed");

struct TRowMarks {
    QString Progress;
    QString Frames;
    QString Reason;
    QStringList Log;
};

TRowMarks MarksOf(const TForm1& form, int row)
{
    const QTreeWidgetItem* item = form.List().Row(row);
    return {item->text(scProgress), item->text(scFrames), item->toolTip(scProgress),
            form.List().RowLog(row)};
}

void ExpectSameMarks(const TRowMarks& now, const TRowMarks& before, const char* after)
{
    EXPECT_EQ(now.Progress, before.Progress) << after;
    EXPECT_EQ(now.Frames, before.Frames) << after;
    EXPECT_EQ(now.Reason, before.Reason) << after;
    EXPECT_EQ(now.Log, before.Log) << after;
}

TEST_F(WindowTest, RowsKeepTheirMarksUntilTheyAreConvertedAgain)
{
    const QString out = UseOutputFolder();
    QFile text(Path("notes.avi"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write(QByteArray(4000, 'x'));
    text.close();
    const QStringList clips = MakeClips({"good.avi", "more.avi"});
    AddFiles({Path("notes.avi"), clips[0]});
    // A batch over both: the text file fails with its reason, the clip is done.
    Find<QToolButton>(*form, "ButtonConvert")->click();
    ASSERT_TRUE(WaitUntil([&] { return dialogs.Informations.size() == 1; }));
    const TRowMarks failed = MarksOf(*form, 0);
    const TRowMarks done = MarksOf(*form, 1);
    ASSERT_EQ(failed.Progress, "Fail");
    ASSERT_FALSE(failed.Reason.isEmpty());
    ASSERT_FALSE(failed.Log.isEmpty());
    ASSERT_EQ(done.Progress, "Done");

    const std::pair<const char*, std::function<void()>> actions[] = {
        {"adding a file", [&] { AddFiles({clips[1]}); }},
        {"cancelling the add dialog", [&] { AddFiles({}); }},
        {"a Start refused for lack of a folder",
         [&] {
             Find<QLineEdit>(*form, "EditOutputFolder")->setText(QString());
             Find<QToolButton>(*form, "ButtonConvert")->click();
             Find<QLineEdit>(*form, "EditOutputFolder")->setText(out);
         }},
        {"a batch over the other rows",
         [&] {
             SetChecked(0, false);
             SetChecked(1, false);
             dialogs.Informations.clear();
             Find<QToolButton>(*form, "ButtonConvert")->click();
             ASSERT_TRUE(WaitUntil([&] { return !dialogs.Informations.isEmpty(); }));
             EXPECT_EQ(Progress(2), "Done");
         }},
    };
    for (const auto& [after, action] : actions) {
        action();
        ExpectSameMarks(MarksOf(*form, 0), failed, after);
        ExpectSameMarks(MarksOf(*form, 1), done, after);
    }

    // Converted again, the failed row starts afresh: one reason, not two.
    SetChecked(0, true);
    SetChecked(2, false);
    dialogs.Informations.clear();
    Find<QToolButton>(*form, "ButtonConvert")->click();
    ASSERT_TRUE(WaitUntil([&] { return !dialogs.Informations.isEmpty(); }));
    const TRowMarks again = MarksOf(*form, 0);
    EXPECT_EQ(again.Progress, "Fail");
    EXPECT_EQ(again.Reason, failed.Reason);
    EXPECT_EQ(again.Log.count(failed.Reason), 1);
    ExpectSameMarks(MarksOf(*form, 1), done, "a batch over the failed row");
}

}  // namespace
}  // namespace tavrin::test
