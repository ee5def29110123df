// Whole batches on generated clips: the rows that are checked are converted in order into
// playable files, the others are left alone, and the window comes back to idle once.
#include "WindowTestSupport.h"

#include "MediaInfo.h"
#include "SourceList.h"

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

bool BatchControlsEnabled(const TForm1& form)
{
    return form.ButtonAddFile->isEnabled() && form.ButtonConvert->isEnabled() &&
           form.ButtonClear->isEnabled() && form.ComboOutputFormat->isEnabled() &&
           form.TrackBar1->isEnabled() && form.MainMenuEnabled() && form.PopupMenuAutomatic();
}

TEST_F(WindowTest, BatchConvertsTheCheckedRowsAndSkipsTheUncheckedOne)
{
    const QString out = UseOutputFolder();
    AddFiles(MakeClips({"one.avi", "two.avi", "three.avi"}));
    ASSERT_EQ(form->RowCount(), 3);
    SetChecked(1, false);

    form->ButtonConvert->click();
    EXPECT_TRUE(form->Batch.Converting);
    EXPECT_TRUE(form->TimerConvertAgain->isActive());
    EXPECT_FALSE(form->ButtonAddFile->isEnabled());
    EXPECT_FALSE(form->ComboOutputFormat->isEnabled());
    EXPECT_FALSE(form->ComboVideoBitrate->isEnabled());
    EXPECT_FALSE(form->MainMenuEnabled());
    EXPECT_FALSE(form->PopupMenuAutomatic());
    // What stays usable during a batch.
    EXPECT_TRUE(form->ButtonStopConvert->isEnabled());
    EXPECT_TRUE(form->ButtonStopSmall->isEnabled());
    EXPECT_TRUE(form->ButtonBrowseForFolder->isEnabled());
    EXPECT_TRUE(form->ButtonPlay->isEnabled());

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
    EXPECT_FALSE(form->Batch.Converting);
    EXPECT_FALSE(form->TimerConvertAgain->isActive());
    EXPECT_EQ(form->ProgressBar1->value(), 0);
    EXPECT_TRUE(BatchControlsEnabled(*form));
    EXPECT_EQ(form->StatusPanels[0]->text(), "Ready");
    EXPECT_TRUE(form->StatusPanels[1]->text().startsWith("File Size : "));

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
    for (const auto& [combo, text] : {TChoice{form->ComboOutputFormat, "MP3 - Mpeg Layer3 Audio (*.mp3)"},
                                      TChoice{form->ComboSamplingRate, "54000 Hz"}}) {
        const int index = combo->findText(text);
        ASSERT_GE(index, 0) << text;
        combo->setCurrentIndex(index);
        emit combo->activated(index);
    }
    form->ButtonConvert->click();
    ASSERT_TRUE(WaitUntil([&] { return dialogs.Shown(kCompleted) > 0; }));
    EXPECT_EQ(Progress(0), "Done");
    EXPECT_TRUE(form->RowLog(0).contains("Sample rate 54000 Hz is not possible with MP3; converting at 48000 Hz."))
        << form->RowLog(0).join("\n").toStdString();
    const MediaInfo info = ProbeMedia((out + "/song.mp3").toStdString());
    ASSERT_NE(info.First("audio"), nullptr);
    EXPECT_EQ(info.First("audio")->at("sample_rate"), "48000");
}

TEST_F(WindowTest, StartWithAnEmptyListOnlyAsksForFiles)
{
    UseOutputFolder();
    form->ButtonConvert->click();
    EXPECT_EQ(dialogs.Informations, QStringList({"Please Add Files To Convert!"}));
    EXPECT_FALSE(form->Batch.Converting);
    EXPECT_FALSE(form->TimerConvertAgain->isActive());
    EXPECT_TRUE(BatchControlsEnabled(*form));
}

TEST_F(WindowTest, StartWithNoCheckedRowCompletesWithoutATask)
{
    const QString out = UseOutputFolder();
    AddFiles(MakeClips({"a.avi", "b.avi"}));
    form->UncheckAllItems1Click();

    form->ButtonConvert->click();
    EXPECT_EQ(form->Engine.Tasks().Count(), 0);
    ASSERT_TRUE(WaitUntil([&] { return dialogs.Shown(kCompleted) > 0; }, 2000));
    EXPECT_EQ(dialogs.Shown(kCompleted), 1);
    EXPECT_EQ(form->Batch.CurrentRow, 1);
    EXPECT_EQ(Progress(0), "");
    EXPECT_EQ(Progress(1), "");
    EXPECT_TRUE(QDir(out).isEmpty());
    EXPECT_TRUE(BatchControlsEnabled(*form));
}

TEST_F(WindowTest, MissingOutputFolderStopsStartAndOpensTheBrowser)
{
    AddFiles(MakeClips({"a.avi"}));
    form->EditOutputFolder->setText(QString());
    dialogs.FolderToChoose = Path("chosen");
    form->ButtonConvert->click();
    EXPECT_EQ(dialogs.Informations, QStringList({"Please select an output folder!"}));
    EXPECT_EQ(dialogs.FolderCaptions, QStringList({"Choose the required output folder below :"}));
    EXPECT_EQ(form->EditOutputFolder->text(), Path("chosen"));
    EXPECT_FALSE(form->Batch.Converting);

    // Blanks are text, but no folder: the message quotes them as they stand.
    dialogs.Informations.clear();
    dialogs.FolderToChoose.clear();
    form->EditOutputFolder->setText("   ");
    form->ButtonConvert->click();
    EXPECT_EQ(dialogs.Informations,
              QStringList({"The output folder \"   \"\n\rdoes not exist or has been deleted!\n\r"
                           "Please choose a new output folder."}));
    EXPECT_EQ(dialogs.FolderCaptions.size(), 2);
    EXPECT_EQ(form->EditOutputFolder->text(), "   ");
    EXPECT_FALSE(form->Batch.Converting);
    EXPECT_FALSE(form->TimerConvertAgain->isActive());
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

    form->ButtonConvert->click();
    ASSERT_TRUE(WaitUntil([&] { return dialogs.Shown(kCompleted) > 0; }));
    EXPECT_EQ(Progress(0), "Fail");
    EXPECT_EQ(Progress(1), "Done");
    const QString reason = form->Row(0)->toolTip(scProgress);
    EXPECT_FALSE(reason.isEmpty());
    EXPECT_TRUE(form->Row(1)->toolTip(scProgress).isEmpty());

    form->ListView1->setCurrentItem(form->Row(0));
    form->ViewLog1->trigger();
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

    form->ButtonConvert->click();
    ASSERT_TRUE(form->Batch.Converting);
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
