// Adding files: probed rows, "Error" rows, drops of files and folders, a second request
// while adding, and the list's own commands.
#include "WindowTestSupport.h"

#include "list/SourceList.h"

#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QToolButton>
#include <QTreeWidgetItem>
#include <QUrl>

namespace tavrin::test {
namespace {

QStringList Captions(const TForm1& form)
{
    QStringList captions;
    for (int row = 0; row < form.List().RowCount(); ++row)
        captions << form.List().Cell(row, scFileName);
    return captions;
}

void WriteText(const QString& path)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(3000, 'z'));
}

TEST_F(WindowTest, ProbedRowsShowSizeRateDurationAndOutput)
{
    const QString clip = Path("clip.avi");
    ASSERT_FALSE(MakeClip(clip, 2.0, 320, 240).empty());
    const QString audio = Path("tone.wav");
    ASSERT_FALSE(MakeClip(audio, 1.0, 0).empty());
    AddFiles({clip, audio, clip});

    EXPECT_EQ(dialogs.OpenCount, 1);
    EXPECT_TRUE(dialogs.LastFilter.startsWith("All Supported Files ("));
    ASSERT_EQ(form->List().RowCount(), 3);
    const QTreeWidgetItem* row = form->List().Row(0);
    EXPECT_EQ(row->text(scFileName), clip);
    EXPECT_EQ(row->checkState(scFileName), Qt::Checked);
    EXPECT_EQ(row->text(scVideoSize), "320x240");
    EXPECT_EQ(row->text(scFrameRate), "25");
    EXPECT_EQ(row->text(scDuration), "00:00:02");
    EXPECT_EQ(row->text(scOutput), "MP4");
    EXPECT_EQ(row->text(scProgress), "");
    EXPECT_EQ(row->text(scFrames), "");
    // Audio only: a single blank for the picture's facts.
    EXPECT_EQ(form->List().Cell(1, scVideoSize), " ");
    EXPECT_EQ(form->List().Cell(1, scFrameRate), " ");
    EXPECT_EQ(form->List().Cell(1, scDuration), "00:00:01");
    // The same file twice gives two identical rows.
    for (int column = 0; column < scColumnCount; ++column)
        EXPECT_EQ(form->List().Cell(2, column), form->List().Cell(0, column));
    EXPECT_FALSE(form->List().Adding());
}

TEST_F(WindowTest, AFileTheProbeRejectsIsListedAsError)
{
    WriteText(Path("readme.avi"));
    AddFiles({Path("readme.avi")});
    ASSERT_EQ(form->List().RowCount(), 1);
    const QTreeWidgetItem* row = form->List().Row(0);
    EXPECT_EQ(row->checkState(scFileName), Qt::Checked);
    for (int column : {scVideoSize, scFrameRate, scDuration, scOutput, scFrames})
        EXPECT_EQ(row->text(column), "") << column;
    EXPECT_EQ(row->text(scProgress), "Error");
    EXPECT_FALSE(row->toolTip(scFileName).isEmpty());
    EXPECT_TRUE(dialogs.Informations.isEmpty());
}

TEST_F(WindowTest, CancellingTheDialogKeepsTheStatuses)
{
    WriteText(Path("readme.avi"));
    AddFiles({Path("readme.avi")});
    ASSERT_EQ(form->List().Cell(0, scProgress), "Error");
    AddFiles({});
    EXPECT_EQ(form->List().RowCount(), 1);
    EXPECT_EQ(form->List().Cell(0, scProgress), "Error");
    EXPECT_EQ(form->Engine().Tasks().Count(), 0);
}

TEST_F(WindowTest, ADroppedFolderAddsItsMediaFilesByName)
{
    const QString folder = Path("drop");
    QDir().mkpath(folder + "/inner");
    ASSERT_FALSE(MakeClip(folder + "/b.mp4", 1.0).empty());
    ASSERT_FALSE(MakeClip(folder + "/a.avi", 1.0).empty());
    ASSERT_FALSE(MakeClip(folder + "/C.MOV", 1.0).empty());
    ASSERT_FALSE(MakeClip(folder + "/inner/d.avi", 1.0).empty());
    WriteText(folder + "/notes.txt");
    const QString single = Path("single.avi");
    ASSERT_FALSE(MakeClip(single, 1.0).empty());

    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(folder), QUrl::fromLocalFile(single)});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(Find<QTreeWidget>(*form, "ListView1")->viewport(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(Find<QTreeWidget>(*form, "ListView1")->viewport(), &drop);

    EXPECT_EQ(Captions(*form), QStringList({folder + "/C.MOV", folder + "/a.avi",
                                            folder + "/b.mp4", single}));
    EXPECT_EQ(form->List().Cell(0, scVideoSize), "160x120");
    EXPECT_EQ(dialogs.OpenCount, 0);

}

TEST_F(WindowTest, RequestsWhileAddingChangeNothing)
{
    UseOutputFolder();
    WriteText(Path("readme.avi"));
    const QStringList files = QStringList{Path("readme.avi")} + MakeClips({"a.avi", "b.avi"});
    // These run between the files, while the first request is still adding.
    for (const char* name : {"ButtonAddFile", "ButtonConvert", "ButtonClear"})
        QMetaObject::invokeMethod(Find<QToolButton>(*form, name), &QToolButton::click,
                                  Qt::QueuedConnection);
    QMetaObject::invokeMethod(
        form.get(), [&] { form->List().DeleteSelectedItem1Click(); }, Qt::QueuedConnection);
    AddFiles(files);

    EXPECT_EQ(dialogs.OpenCount, 1);
    EXPECT_EQ(form->List().RowCount(), 3);
    EXPECT_EQ(form->List().Cell(0, scProgress), "Error");
    EXPECT_FALSE(form->Batch().State().Converting);
    EXPECT_TRUE(dialogs.Informations.isEmpty());
    EXPECT_FALSE(form->List().Adding());
}

TEST_F(WindowTest, ListCommandsCheckRemoveAndClearRows)
{
    AddFiles(MakeClips({"a.avi", "b.avi", "c.avi"}));
    form->List().UncheckAllItems1Click();
    for (int row = 0; row < 3; ++row)
        EXPECT_EQ(form->List().Row(row)->checkState(scFileName), Qt::Unchecked);
    form->List().CheckAllItems1Click();
    for (int row = 0; row < 3; ++row)
        EXPECT_EQ(form->List().Row(row)->checkState(scFileName), Qt::Checked);

    Find<QTreeWidget>(*form, "ListView1")->setCurrentItem(form->List().Row(1));
    Find<QToolButton>(*form, "ButtonRemove")->click();
    EXPECT_EQ(Captions(*form), QStringList({Path("a.avi"), Path("c.avi")}));

    // During a batch, also between two of its rows, the rows stay.
    form->Batch().DisableControls();
    form->List().ClearAllItems1Click();
    form->List().DeleteSelectedItem1Click();
    EXPECT_EQ(form->List().RowCount(), 2);
    form->Batch().EnableControls();
    Find<QAction>(*form, "ClearAllItems1")->trigger();
    EXPECT_EQ(form->List().RowCount(), 0);
}

}  // namespace
}  // namespace tavrin::test
