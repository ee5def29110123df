// The window with its real player: a generated clip plays in the preview pane and the
// Snapshot button writes its pictures into the output folder.
#include "Controls.h"
#include "FakePreview.h"
#include "batch/BatchPart.h"
#include "list/ListPart.h"
#include "preview/PreviewPart.h"
#include "settings/SettingsPart.h"
#include "window/MainWindow.h"
#include "PlayerClips.h"
#include "PreviewPlayer.h"
#include "list/SourceList.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMediaPlayer>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace player_test;
using tavrin::test::Find;

TEST(WindowPreview, PlayThenThreeSnapshotsOfTheRealClip)
{
    if (!QMediaPlayer().isAvailable())
        GTEST_SKIP() << "Qt Multimedia has no usable back end here";
    TFakeDialogs dialogs;
    tavrin::TForm1 form(dialogs);
    ASSERT_TRUE(form.Created());
    form.show();
    QTemporaryDir out;
    Find<QLineEdit>(form, "EditOutputFolder")->setText(out.path());
    form.List().AddFilesProcedure({Clip("clip.avi")});
    Find<QTreeWidget>(form, "ListView1")->setCurrentItem(form.List().Row(0));

    Find<QToolButton>(form, "ButtonPlay")->click();
    TPreviewPlayer* player = form.Preview().PreviewPlayer();
    ASSERT_NE(player, nullptr);
    EXPECT_NEAR(Find<QSlider>(form, "DSTrackBar1")->maximum(), kClipSeconds * 1000, 150);
    QImage shown;
    ASSERT_TRUE(QTest::qWaitFor([&] { return player->Snapshot(shown); }, 5000));
    for (int i = 0; i < 3; ++i)
        Find<QToolButton>(form, "ButtonSnapshot")->click();

    EXPECT_EQ(QDir(out.path()).entryList(QDir::Files, QDir::Name),
              (QStringList{"clip-1.bmp", "clip-2.bmp", "clip.bmp"}));
    const QImage saved(QDir(out.path()).filePath("clip.bmp"), "BMP");
    ASSERT_EQ(saved.size(), QSize(kClipWidth, kClipHeight));
    EXPECT_EQ(saved.depth(), 32) << "Qt reads 24-bit bitmaps as RGB32";
    bool varied = false;
    for (int y = 0; y < saved.height() && !varied; ++y)
        for (int x = 0; x < saved.width() && !varied; ++x)
            varied = saved.pixel(x, y) != saved.pixel(0, 0);
    EXPECT_TRUE(varied);
    EXPECT_TRUE(dialogs.informations.isEmpty());
    Find<QToolButton>(form, "ButtonStop")->click();
    EXPECT_FALSE(player->Active());
}
