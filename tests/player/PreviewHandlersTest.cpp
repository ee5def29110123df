// The window's preview rules, with a fake player behind the interface.
#include "Controls.h"
#include "FakePreview.h"
#include "batch/BatchPart.h"
#include "list/ListPart.h"
#include "preview/PreviewPart.h"
#include "settings/SettingsPart.h"
#include "window/MainWindow.h"
#include "preview/PreviewSeekBar.h"
#include "list/SourceList.h"
#include "SvgGlyphs.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace player_test;
using tavrin::TForm1;
using tavrin::test::Find;
using Calls = std::vector<std::string>;

namespace {

class PreviewRules : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(form.Created());
        // Paths that do not exist still make rows (marked "Error"); the fake plays anything.
        form.List().AddFilesProcedure({"/media/first.avi", "  /media/second clip.mp4  ", "/media/third.wmv"});
        auto owned = std::make_unique<TFakePlayer>(calls);
        player = owned.get();
        form.Preview().SetPreviewPlayer(std::move(owned));
    }

    void Select(int row) { Find<QTreeWidget>(form, "ListView1")->setCurrentItem(form.List().Row(row)); }
    Calls Take() { return std::exchange(calls, {}); }

    Calls calls;
    TFakeDialogs dialogs;
    TForm1 form{dialogs};
    TFakePlayer* player = nullptr;
};

}  // namespace

TEST_F(PreviewRules, PlayLoadsTheSelectedRowIntoAFreshGraph)
{
    Select(1);
    Take();
    Find<QToolButton>(form, "ButtonPlay")->click();
    EXPECT_EQ(Take(), (Calls{"Stop", "Deactivate", "Activate", "RenderFile", "Play"}));
    EXPECT_EQ(form.Preview().PreviewRow(), 1);
    EXPECT_EQ(form.Preview().PreviewFile(), "/media/second clip.mp4");  // blanks around the caption go
    EXPECT_EQ(player->rendered, QStringList{"/media/second clip.mp4"});
    EXPECT_EQ(Find<QSlider>(form, "DSTrackBar1")->maximum(), 10000);
    EXPECT_TRUE(form.Preview().PreviewSeekBar().Updating());
    EXPECT_FALSE(form.Preview().PreviewPaused());
}

TEST_F(PreviewRules, PauseThenPlayResumesWithoutReloading)
{
    Select(0);
    Find<QToolButton>(form, "ButtonPlay")->click();
    Take();
    Find<QToolButton>(form, "ButtonPause")->click();
    EXPECT_TRUE(form.Preview().PreviewPaused());
    EXPECT_FALSE(form.Preview().PreviewSeekBar().Updating());
    Find<QToolButton>(form, "ButtonPlay")->click();
    EXPECT_EQ(Take(), (Calls{"Pause", "Play"}));
    EXPECT_FALSE(form.Preview().PreviewPaused());
    EXPECT_TRUE(form.Preview().PreviewSeekBar().Updating());
}

TEST_F(PreviewRules, StopThenPauseDoesNothingAndPlayReloads)
{
    Select(2);
    Find<QToolButton>(form, "ButtonPlay")->click();
    Take();
    Find<QToolButton>(form, "ButtonStop")->click();
    EXPECT_EQ(Take(), (Calls{"Stop", "Deactivate"}));
    EXPECT_TRUE(form.Preview().PreviewStopped());
    EXPECT_FALSE(player->Active());
    Find<QToolButton>(form, "ButtonPause")->click();
    EXPECT_TRUE(Take().empty());
    EXPECT_FALSE(form.Preview().PreviewPaused());
    Find<QToolButton>(form, "ButtonPlay")->click();
    EXPECT_EQ(Take(), (Calls{"Stop", "Deactivate", "Activate", "RenderFile", "Play"}));
    EXPECT_FALSE(form.Preview().PreviewStopped());
    EXPECT_EQ(player->rendered.size(), 2);
}

TEST_F(PreviewRules, PlayWithNoRowSelectedOnlyStops)
{
    Find<QTreeWidget>(form, "ListView1")->clearSelection();
    Find<QToolButton>(form, "ButtonPlay")->click();
    EXPECT_EQ(Take(), (Calls{"Stop"}));
    EXPECT_TRUE(player->rendered.isEmpty());
}

TEST_F(PreviewRules, PauseBeforeAnythingIsLoadedLeavesTheNextPlayALoad)
{
    Find<QToolButton>(form, "ButtonPause")->click();
    EXPECT_FALSE(form.Preview().PreviewPaused());
    Select(0);
    Find<QToolButton>(form, "ButtonPlay")->click();
    EXPECT_EQ(player->rendered.size(), 1);
}

TEST_F(PreviewRules, SelectingAnotherRowStopsButTheLoadedRowDoesNot)
{
    Select(1);
    Find<QToolButton>(form, "ButtonPlay")->click();
    Find<QToolButton>(form, "ButtonPause")->click();
    Take();
    Find<QTreeWidget>(form, "ListView1")->clearSelection();
    Select(1);
    EXPECT_TRUE(Take().empty()) << "selecting the loaded row again changes nothing";
    EXPECT_TRUE(form.Preview().PreviewPaused());
    Select(2);
    EXPECT_EQ(Take(), (Calls{"Stop"}));
    EXPECT_FALSE(form.Preview().PreviewPaused());
    EXPECT_TRUE(player->Active());  // stopped, not released
    EXPECT_FALSE(form.Preview().PreviewSeekBar().Updating());
}

TEST_F(PreviewRules, PlaySelectedFileEntryPlaysLikeTheButton)
{
    Select(2);
    Find<QAction>(form, "PlaySelectedFile1")->trigger();
    EXPECT_EQ(player->rendered, QStringList{"/media/third.wmv"});
}

TEST_F(PreviewRules, EveryButtonIsInertDuringABatch)
{
    Select(0);
    Find<QToolButton>(form, "ButtonPlay")->click();
    Take();
    form.Batch().State().Converting = true;
    for (const char* name : {"ButtonPlay", "ButtonPause", "ButtonStop", "ButtonSnapshot"})
        Find<QToolButton>(form, name)->click();
    EXPECT_TRUE(Take().empty());
    EXPECT_FALSE(form.Preview().PreviewPaused());
    EXPECT_FALSE(form.Preview().PreviewStopped());
    EXPECT_TRUE(dialogs.informations.isEmpty());
    form.Batch().State().Converting = false;
}

TEST_F(PreviewRules, StartReleasesTheGraphAndAddFileStopsIt)
{
    Select(0);
    Find<QToolButton>(form, "ButtonPlay")->click();
    Find<QToolButton>(form, "ButtonPause")->click();
    Take();
    Find<QToolButton>(form, "ButtonAddFile")->click();  // the dialog is cancelled
    EXPECT_EQ(Take(), (Calls{"Stop"}));
    EXPECT_FALSE(form.Preview().PreviewPaused());
    EXPECT_TRUE(player->Active());

    Find<QToolButton>(form, "ButtonPlay")->click();
    Find<QToolButton>(form, "ButtonPause")->click();
    Take();
    Find<QLineEdit>(form, "EditOutputFolder")->setText(QString());  // Start then stops at the folder check
    Find<QToolButton>(form, "ButtonConvert")->click();
    EXPECT_EQ(Take(), (Calls{"Stop", "Deactivate"}));
    EXPECT_FALSE(form.Preview().PreviewPaused());
    EXPECT_FALSE(player->Active());
}

TEST_F(PreviewRules, ClosingReleasesTheGraph)
{
    Select(0);
    Find<QToolButton>(form, "ButtonPlay")->click();
    Take();
    form.show();
    EXPECT_TRUE(form.close());
    EXPECT_EQ(Take(), (Calls{"Stop", "Deactivate"}));
}

TEST_F(PreviewRules, AFileThatCannotBePlayedIsReportedAndTheWindowGoesOn)
{
    player->renders = false;
    Select(0);
    Find<QToolButton>(form, "ButtonPlay")->click();
    EXPECT_EQ(Find<QLabel>(form, "StatusPanel1")->text(), "The preview could not be played.");
    EXPECT_EQ(Find<QSlider>(form, "DSTrackBar1")->maximum(), 0);
    EXPECT_FALSE(form.Preview().PreviewSeekBar().Updating());
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "Play"), 0);

    player->renders = true;
    Select(1);
    Find<QToolButton>(form, "ButtonPlay")->click();
    EXPECT_EQ(Find<QLabel>(form, "StatusPanel1")->text(), "");
    EXPECT_EQ(calls.back(), "Play");
}

TEST_F(PreviewRules, SpeakerMenuSetsTheLevelTheGlyphAndItsMark)
{
    const auto glyph = [&](const char* name) { return SpeakerGlyph(name).pixmap(24, 24).toImage(); };
    const auto shown = [&] { return Find<QToolButton>(form, "ButtonVolume")->icon().pixmap(24, 24).toImage(); };
    const char* entries[] = {"Mute1", "HalfVolume1", "FullVolume1"};
    const auto marked = [&] {
        std::string names;
        for (const char* entry : entries)
            if (Find<QAction>(form, entry)->isChecked())
                names += std::string(names.empty() ? "" : " ") + entry;
        return names;
    };
    EXPECT_EQ(shown(), glyph("spkfull"));
    EXPECT_EQ(marked(), "FullVolume1");
    const struct {
        const char* Entry;
        int Volume;
        const char* Glyph;
    } steps[] = {
        {"Mute1", 10, "spkmute"},
        {"HalfVolume1", 6000, "spkhalf"},
        {"Mute1", 10, "spkmute"},
        {"Mute1", 10, "spkmute"},  // choosing the marked level again keeps its mark
        {"FullVolume1", 10000, "spkfull"},  // asked for 20000
    };
    for (const auto& step : steps) {
        Find<QAction>(form, step.Entry)->trigger();
        EXPECT_EQ(player->Volume(), step.Volume) << step.Entry;
        EXPECT_EQ(shown(), glyph(step.Glyph)) << step.Entry;
        EXPECT_EQ(marked(), step.Entry);
    }
}

TEST_F(PreviewRules, SeekBarFollowsThePlayerAndSeeksOnRelease)
{
    Select(0);
    Find<QToolButton>(form, "ButtonPlay")->click();
    player->duration = 95000;
    player->position = 42600;
    form.Preview().PreviewSeekBar().Update();
    EXPECT_EQ(Find<QSlider>(form, "DSTrackBar1")->maximum(), 95);
    EXPECT_EQ(Find<QSlider>(form, "DSTrackBar1")->value(), 42);

    form.show();
    QTest::mousePress(Find<QSlider>(form, "DSTrackBar1"), Qt::LeftButton);
    EXPECT_TRUE(form.Preview().PreviewSeekBar().Held());
    player->position = 50000;
    form.Preview().PreviewSeekBar().Update();
    EXPECT_NE(Find<QSlider>(form, "DSTrackBar1")->value(), 50) << "no update while the button is held";
    Find<QSlider>(form, "DSTrackBar1")->setValue(19);
    Take();
    QTest::mouseRelease(Find<QSlider>(form, "DSTrackBar1"), Qt::LeftButton);
    EXPECT_FALSE(form.Preview().PreviewSeekBar().Held());
    ASSERT_TRUE(QTest::qWaitFor([&] { return player->seekedTo >= 0; }, 1000));
    EXPECT_EQ(player->seekedTo, 95000LL * 19 / 95);
    form.Preview().PreviewSeekBar().Update();
    EXPECT_EQ(Find<QSlider>(form, "DSTrackBar1")->value(), 50);
}

TEST(PreviewSeekTarget, ABarWithoutRangeDoesNotSeek)
{
    EXPECT_EQ(tavrin::SeekTargetMs(800, 0, 0), -1);  // a file shorter than a second
    EXPECT_EQ(tavrin::SeekTargetMs(0, 3, 10), -1);
    EXPECT_EQ(tavrin::SeekTargetMs(10000, 3, 10), 3000);
    EXPECT_EQ(tavrin::SeekTargetMs(7200000, 7200, 7200), 7200000);
    EXPECT_EQ(tavrin::SeekTargetMs(10000, 15, 10), 10000);
}

TEST_F(PreviewRules, ReleasingABarWithoutRangeDoesNotSeek)
{
    player->duration = 800;
    Select(0);
    Find<QToolButton>(form, "ButtonPlay")->click();
    form.Preview().PreviewSeekBar().Update();
    EXPECT_EQ(Find<QSlider>(form, "DSTrackBar1")->maximum(), 0);
    Take();
    form.Preview().PreviewSeekBar().SeekToBar();
    EXPECT_TRUE(Take().empty());
}

namespace {

class SnapshotRules : public PreviewRules {
protected:
    void SetUp() override
    {
        PreviewRules::SetUp();
        Find<QLineEdit>(form, "EditOutputFolder")->setText(out.path());
        player->picture = QImage(64, 48, QImage::Format_RGB888);
        player->picture.fill(Qt::darkCyan);
        Select(0);
        Find<QToolButton>(form, "ButtonPlay")->click();
    }

    QStringList Saved() const { return QDir(out.path()).entryList(QDir::Files, QDir::Name); }

    QTemporaryDir out;
};

}  // namespace

TEST_F(SnapshotRules, ThreeSnapshotsGetNumberedNames)
{
    for (int i = 0; i < 3; ++i)
        Find<QToolButton>(form, "ButtonSnapshot")->click();
    EXPECT_EQ(Saved(), (QStringList{"first-1.bmp", "first-2.bmp", "first.bmp"}));
    const QImage saved(QDir(out.path()).filePath("first-2.bmp"), "BMP");
    EXPECT_EQ(saved.size(), QSize(64, 48));
    EXPECT_EQ(saved.pixel(10, 10), QColor(Qt::darkCyan).rgb());
    ASSERT_FALSE(Find<QLabel>(form, "Image1")->pixmap().isNull());
    EXPECT_EQ(Find<QLabel>(form, "Image1")->pixmap().size(), QSize(64, 48));
}

TEST_F(SnapshotRules, NoPictureYetSavesNothingAndSaysSo)
{
    player->picture = QImage();
    Find<QToolButton>(form, "ButtonSnapshot")->click();
    EXPECT_TRUE(Saved().isEmpty());
    EXPECT_EQ(Find<QLabel>(form, "StatusPanel1")->text(), "No picture has been shown yet; no snapshot saved.");
}

TEST_F(SnapshotRules, WithoutAnOutputFolderTheCheckSpeaksAndNothingIsSaved)
{
    Find<QLineEdit>(form, "EditOutputFolder")->setText(QString());
    Find<QToolButton>(form, "ButtonSnapshot")->click();
    EXPECT_EQ(dialogs.informations, QStringList{"Please select an output folder!"});
    Find<QLineEdit>(form, "EditOutputFolder")->setText(out.filePath("gone"));
    Find<QToolButton>(form, "ButtonSnapshot")->click();
    EXPECT_EQ(dialogs.informations.size(), 2);
    EXPECT_TRUE(Saved().isEmpty());
}

TEST_F(SnapshotRules, AReleasedGraphTakesNoSnapshot)
{
    Find<QToolButton>(form, "ButtonStop")->click();
    Take();
    Find<QToolButton>(form, "ButtonSnapshot")->click();
    EXPECT_TRUE(Take().empty());
    EXPECT_TRUE(Saved().isEmpty());
}
