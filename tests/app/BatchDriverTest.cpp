// Whole batches on generated clips: the rows that are checked are converted in order into
// playable files, the others are left alone, and the window comes back to idle once.
#include "WindowTestSupport.h"

#include "MediaInfo.h"
#include "list/SourceList.h"

#include <QComboBox>
#include <QDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidgetItem>

namespace tavrin::test {
namespace {

const QString kCompleted = QStringLiteral("All Conversions Completed");

bool BatchControlsEnabled(TForm1& form)
{
    for (const char* name : {"ButtonAddFile", "ButtonConvert", "ButtonClear", "ComboOutputFormat",
                             "TrackBar1"})
        if (!Find<QWidget>(form, name)->isEnabled())
            return false;
    return form.MainMenuEnabled() && form.List().PopupMenuAutomatic();
}

TEST_F(WindowTest, BatchConvertsTheCheckedRowsAndSkipsTheUncheckedOne)
{
    const QString out = UseOutputFolder();
    AddFiles(MakeClips({"one.avi", "two.avi", "three.avi"}));
    ASSERT_EQ(form->List().RowCount(), 3);
    SetChecked(1, false);

    Find<QToolButton>(*form, "ButtonConvert")->click();
    EXPECT_TRUE(form->Batch().State().Converting);
    EXPECT_TRUE(Find<QTimer>(*form, "TimerConvertAgain")->isActive());
    EXPECT_FALSE(Find<QToolButton>(*form, "ButtonAddFile")->isEnabled());
    EXPECT_FALSE(Find<QComboBox>(*form, "ComboOutputFormat")->isEnabled());
    EXPECT_FALSE(Find<QComboBox>(*form, "ComboVideoBitrate")->isEnabled());
    EXPECT_FALSE(form->MainMenuEnabled());
    EXPECT_FALSE(form->List().PopupMenuAutomatic());
    // What stays usable during a batch.
    EXPECT_TRUE(Find<QToolButton>(*form, "ButtonStopConvert")->isEnabled());
    EXPECT_TRUE(Find<QToolButton>(*form, "ButtonStopSmall")->isEnabled());
    EXPECT_TRUE(Find<QToolButton>(*form, "ButtonBrowseForFolder")->isEnabled());
    EXPECT_TRUE(Find<QToolButton>(*form, "ButtonPlay")->isEnabled());

    ASSERT_TRUE(WaitUntil([&] { return dialogs.Shown(kCompleted) > 0; }));
    // A few more timer ticks: the completion box comes once.
    QTest::qWait(700);
    EXPECT_EQ(dialogs.Shown(kCompleted), 1);
    EXPECT_EQ(dialogs.Informations.size(), 1);

    EXPECT_EQ(Progress(0), "Done");
    EXPECT_EQ(Progress(1), "");
    EXPECT_EQ(Frames(1), "");
    EXPECT_EQ(Progress(2), "Done");
    EXPECT_NE(Frames(0).trimmed(), "");
    EXPECT_FALSE(form->Batch().State().Converting);
    EXPECT_FALSE(Find<QTimer>(*form, "TimerConvertAgain")->isActive());
    EXPECT_EQ(Find<QProgressBar>(*form, "ProgressBar1")->value(), 0);
    EXPECT_TRUE(BatchControlsEnabled(*form));
    EXPECT_EQ(Find<QLabel>(*form, "StatusPanel0")->text(), "Ready");
    // The batch's outcome, not the size of the last file written.
    EXPECT_EQ(Find<QLabel>(*form, "StatusPanel1")->text(), kCompleted);

    EXPECT_FALSE(QFileInfo::exists(out + "/two.mp4"));
    for (const char* name : {"/one.mp4", "/three.mp4"}) {
        const MediaInfo info = ProbeMedia((out + name).toStdString());
        ASSERT_TRUE(info.ok) << name;
        EXPECT_EQ(info.Count("video"), 1) << name;
        EXPECT_EQ(info.Count("audio"), 1) << name;
        EXPECT_NEAR(info.duration, 1.0, 0.3) << name;
    }
}

// A sample rate the MP3 encoder cannot take is converted at the nearest one it can, and the
// row's log says so.
TEST_F(WindowTest, ASettingTheEncoderCannotTakeIsChangedAndLogged)
{
    const QString out = UseOutputFolder();
    AddFiles(MakeClips({"song.avi"}));
    using TChoice = std::pair<QComboBox*, const char*>;
    for (const auto& [combo, text] :
         {TChoice{Find<QComboBox>(*form, "ComboOutputFormat"), "MP3 - Mpeg Layer3 Audio (*.mp3)"},
          TChoice{Find<QComboBox>(*form, "ComboSamplingRate"), "54000 Hz"}}) {
        const int index = combo->findText(text);
        ASSERT_GE(index, 0) << text;
        combo->setCurrentIndex(index);
        emit combo->activated(index);
    }
    Find<QToolButton>(*form, "ButtonConvert")->click();
    ASSERT_TRUE(WaitUntil([&] { return dialogs.Shown(kCompleted) > 0; }));
    EXPECT_EQ(Progress(0), "Done");
    EXPECT_TRUE(form->List().RowLog(0).contains(
        "Sample rate 54000 Hz is not possible with MP3; converting at 48000 Hz."))
        << form->List().RowLog(0).join("\n").toStdString();
    const MediaInfo info = ProbeMedia((out + "/song.mp3").toStdString());
    ASSERT_NE(info.First("audio"), nullptr);
    EXPECT_EQ(info.First("audio")->at("sample_rate"), "48000");
}

TEST_F(WindowTest, StartWithAnEmptyListOnlyAsksForFiles)
{
    UseOutputFolder();
    Find<QToolButton>(*form, "ButtonConvert")->click();
    EXPECT_EQ(dialogs.Informations, QStringList({"Please Add Files To Convert!"}));
    EXPECT_FALSE(form->Batch().State().Converting);
    EXPECT_FALSE(Find<QTimer>(*form, "TimerConvertAgain")->isActive());
    EXPECT_TRUE(BatchControlsEnabled(*form));
}

TEST_F(WindowTest, MissingOutputFolderStopsStartAndOpensTheBrowser)
{
    AddFiles(MakeClips({"a.avi"}));
    Find<QLineEdit>(*form, "EditOutputFolder")->setText(QString());
    dialogs.FolderToChoose = Path("chosen");
    Find<QToolButton>(*form, "ButtonConvert")->click();
    EXPECT_EQ(dialogs.Informations, QStringList({"Please select an output folder!"}));
    EXPECT_EQ(dialogs.FolderCaptions, QStringList({"Choose the required output folder below :"}));
    EXPECT_EQ(Find<QLineEdit>(*form, "EditOutputFolder")->text(), Path("chosen"));
    EXPECT_FALSE(form->Batch().State().Converting);

    // Blanks are text, but no folder: the message quotes them as they stand.
    dialogs.Informations.clear();
    dialogs.FolderToChoose.clear();
    Find<QLineEdit>(*form, "EditOutputFolder")->setText("   ");
    Find<QToolButton>(*form, "ButtonConvert")->click();
    EXPECT_EQ(dialogs.Informations,
              QStringList({"The output folder \"   \"\n\rdoes not exist or has been deleted!\n\r"
                           "Please choose a new output folder."}));
    EXPECT_EQ(dialogs.FolderCaptions.size(), 2);
    EXPECT_EQ(Find<QLineEdit>(*form, "EditOutputFolder")->text(), "   ");
    EXPECT_FALSE(form->Batch().State().Converting);
    EXPECT_FALSE(Find<QTimer>(*form, "TimerConvertAgain")->isActive());
}

// Blanks at either end belong to a Linux folder's name: the check and the rows use the
// name exactly as it stands.
TEST_F(WindowTest, AnOutputFolderNameWithBlanksIsTakenExactly)
{
    const QStringList clips = MakeClips({"a.avi"});
    AddFiles(clips);
    struct TFolderCase {
        QString Text;      // what the output folder field holds
        QString Existing;  // the folder that exists
        bool Converts;
    };
    const TFolderCase cases[] = {
        {Path("out "), Path("out "), true},
        {Path(" lead"), Path(" lead"), true},
        {Path("only "), Path("only"), false},
    };
    for (const TFolderCase& c : cases) {
        SCOPED_TRACE(c.Text.toStdString());
        ASSERT_TRUE(QDir().mkpath(c.Existing));
        dialogs.Informations.clear();
        Find<QLineEdit>(*form, "EditOutputFolder")->setText(c.Text);
        Find<QToolButton>(*form, "ButtonConvert")->click();
        if (!c.Converts) {
            EXPECT_EQ(dialogs.Informations,
                      QStringList({"The output folder \"" + c.Text + "\"\n\rdoes not exist or "
                                   "has been deleted!\n\rPlease choose a new output folder."}));
            EXPECT_FALSE(form->Batch().Running());
            EXPECT_TRUE(QDir(c.Existing).isEmpty());
            continue;
        }
        ASSERT_TRUE(WaitUntil([&] { return !dialogs.Informations.isEmpty(); }));
        EXPECT_EQ(dialogs.Informations, QStringList({kCompleted}));
        EXPECT_EQ(Progress(0), "Done");
        EXPECT_TRUE(QFileInfo::exists(c.Text + "/a.mp4"));
    }
}

TEST_F(WindowTest, ARowTheEngineRejectsFailsWithItsReasonAndLog)
{
    UseOutputFolder();
    QFile text(Path("notes.avi"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write(QByteArray(4000, 'x'));
    text.close();
    AddFiles(QStringList{Path("notes.avi")} + MakeClips({"good.avi"}));
    ASSERT_EQ(Progress(0), "Error");

    Find<QToolButton>(*form, "ButtonConvert")->click();
    ASSERT_TRUE(WaitUntil([&] { return dialogs.Shown("1 file converted, 1 failed") > 0; }));
    EXPECT_EQ(Progress(0), "Fail");
    EXPECT_EQ(Progress(1), "Done");
    const QString reason = form->List().Row(0)->toolTip(scProgress);
    EXPECT_FALSE(reason.isEmpty());
    EXPECT_TRUE(form->List().Row(1)->toolTip(scProgress).isEmpty());

    Find<QTreeWidget>(*form, "ListView1")->setCurrentItem(form->List().Row(0));
    Find<QAction>(*form, "ViewLog1")->trigger();
    auto* log = form->findChild<QDialog*>(QStringLiteral("LogWindow"));
    ASSERT_NE(log, nullptr);
    EXPECT_TRUE(log->isVisible());
    EXPECT_FALSE(log->isModal());
    auto* lines = log->findChild<QPlainTextEdit*>(QStringLiteral("LogText"));
    ASSERT_NE(lines, nullptr);
    EXPECT_TRUE(lines->isReadOnly());
    EXPECT_TRUE(lines->toPlainText().contains(reason));
    log->close();
}

TEST_F(WindowTest, ClosingIsRefusedDuringABatchAndSavesWhenIdle)
{
    UseOutputFolder();
    AddFiles(MakeClips({"a.avi"}, 2.0));
    int saves = 0;
    form->OnSaveSettings = [&] { ++saves; };

    Find<QToolButton>(*form, "ButtonConvert")->click();
    ASSERT_TRUE(form->Batch().State().Converting);
    EXPECT_FALSE(form->close());
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(saves, 0);

    ASSERT_TRUE(WaitUntil([&] { return dialogs.Shown(kCompleted) > 0; }));
    EXPECT_EQ(Progress(0), "Done");
    EXPECT_TRUE(form->close());
    EXPECT_EQ(saves, 1);
}

}  // namespace
}  // namespace tavrin::test
