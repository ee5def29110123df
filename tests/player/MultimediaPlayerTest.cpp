// The real player on generated clips, drawn offscreen.
#include "MultimediaPlayer.h"

#include "BitmapFile.h"
#include "Loudness.h"
#include "PlayerClips.h"

#include <QElapsedTimer>
#include <QMediaPlayer>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QVideoWidget>

#include <gtest/gtest.h>

using namespace player_test;

namespace {

// Without a multimedia back end there is nothing to test here; say so rather than pass.
QString BackendMissing()
{
    QMediaPlayer probe;
    return probe.isAvailable() ? QString() : QStringLiteral("Qt Multimedia has no usable back end here");
}

bool AllOneColour(const QImage& picture)
{
    const QRgb first = picture.pixel(0, 0);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (picture.pixel(x, y) != first)
                return false;
    return true;
}

class RealPlayer : public testing::Test
{
protected:
    void SetUp() override
    {
        const QString missing = BackendMissing();
        if (!missing.isEmpty())
            GTEST_SKIP() << qPrintable(missing);
        host.resize(170, 141);
        host.show();
        player = std::make_unique<TMultimediaPlayer>(&host);
        player->VideoWidget()->resize(host.size());
        player->Activate();
    }

    void TearDown() override { player.reset(); }

    // Snapshots until a picture has been shown, or the time is up.
    bool SnapshotWhilePlaying(QImage& picture, int timeoutMs = 5000)
    {
        return QTest::qWaitFor([&] { return player->Snapshot(picture); }, timeoutMs);
    }

    QWidget host;
    std::unique_ptr<TMultimediaPlayer> player;
};

}  // namespace

class PlaysVideo : public RealPlayer, public testing::WithParamInterface<const char*>
{
};

TEST_P(PlaysVideo, PlayThenSnapshotGivesAPictureOfTheClipSize)
{
    ASSERT_TRUE(player->RenderFile(Clip(GetParam())));
    EXPECT_NEAR(player->Duration(), kClipSeconds * 1000, 150);
    player->Play();
    QImage picture;
    ASSERT_TRUE(SnapshotWhilePlaying(picture));
    EXPECT_EQ(picture.size(), QSize(kClipWidth, kClipHeight));
    EXPECT_EQ(picture.format(), QImage::Format_RGB888);
    EXPECT_EQ(picture.depth(), 24);
    EXPECT_FALSE(AllOneColour(picture));
    EXPECT_TRUE(QTest::qWaitFor([&] { return player->Position() > 0; }, 3000));

    QTemporaryDir dir;
    const QString path = dir.filePath("clip.bmp");
    ASSERT_TRUE(SaveBitmap24(picture, path));
    const QImage saved(path, "BMP");
    EXPECT_EQ(saved.size(), picture.size());
    EXPECT_FALSE(AllOneColour(saved));
}

INSTANTIATE_TEST_SUITE_P(Containers, PlaysVideo, testing::Values("clip.mp4", "clip.avi", "clip.wmv"),
                         [](const auto& info) { return QString(info.param).replace('.', '_').toStdString(); });

TEST_F(RealPlayer, AudioOnlyFilesPlayButGiveNoPicture)
{
    for (const char* name : {"tone.mp3", "tone.wav"}) {
        ASSERT_TRUE(player->RenderFile(Clip(name))) << name;
        EXPECT_NEAR(player->Duration(), kClipSeconds * 1000, 150) << name;
        player->Play();
        EXPECT_TRUE(QTest::qWaitFor([&] { return player->Position() > 200; }, 5000)) << name;
        QImage picture;
        EXPECT_FALSE(player->Snapshot(picture)) << name;
    }
}

TEST_F(RealPlayer, PauseHoldsThePositionAndSeekMovesIt)
{
    ASSERT_TRUE(player->RenderFile(Clip("clip.mp4")));
    player->Play();
    ASSERT_TRUE(QTest::qWaitFor([&] { return player->Position() >= 400; }, 5000));
    player->Pause();
    QTest::qWait(100);
    const qint64 held = player->Position();
    QTest::qWait(400);
    EXPECT_NEAR(player->Position(), held, 40);
    QImage paused;
    EXPECT_TRUE(player->Snapshot(paused));

    player->Seek(1500);
    EXPECT_TRUE(QTest::qWaitFor([&] { return std::abs(player->Position() - 1500) < 150; }, 3000))
        << player->Position();
    player->Play();
    EXPECT_TRUE(QTest::qWaitFor([&] { return player->Position() > 1600; }, 3000));
}

TEST_F(RealPlayer, NoPictureBeforeAnyHasBeenShown)
{
    QImage picture;
    EXPECT_FALSE(player->Snapshot(picture));
    ASSERT_TRUE(player->RenderFile(Clip("clip.mp4")));
    player->Play();
    ASSERT_TRUE(SnapshotWhilePlaying(picture));
    // A new file starts without the old file's picture.
    ASSERT_TRUE(player->RenderFile(Clip("clip.avi")));
    EXPECT_FALSE(player->Snapshot(picture));
    player->Deactivate();
    EXPECT_FALSE(player->Snapshot(picture));
}

TEST_F(RealPlayer, FilesThatCannotBePlayedFailPromptlyAndLeaveThePlayerUsable)
{
    for (const QString& path : {Clip("notmedia.avi"), Clip("truncated.mp4"), Clip("missing.mp4")}) {
        QElapsedTimer clock;
        clock.start();
        EXPECT_FALSE(player->RenderFile(path)) << qPrintable(path);
        EXPECT_LT(clock.elapsed(), TMultimediaPlayer::kLoadTimeoutMs + 1000) << qPrintable(path);
        EXPECT_EQ(player->Duration(), 0);
        player->Play();
        QImage picture;
        EXPECT_FALSE(player->Snapshot(picture));
        EXPECT_TRUE(player->Active());
    }
    // The next good file plays as if nothing had happened.
    ASSERT_TRUE(player->RenderFile(Clip("clip.mp4")));
    player->Play();
    QImage picture;
    EXPECT_TRUE(SnapshotWhilePlaying(picture));
}

TEST_F(RealPlayer, AnInactivePlayerLoadsNothing)
{
    ASSERT_TRUE(player->RenderFile(Clip("clip.mp4")));
    player->Play();
    player->Deactivate();
    EXPECT_FALSE(player->Active());
    EXPECT_EQ(player->Duration(), 0);
    EXPECT_FALSE(player->RenderFile(Clip("clip.mp4")));
    player->Activate();
    EXPECT_TRUE(player->RenderFile(Clip("clip.mp4")));
}

TEST_F(RealPlayer, ReleasedWhileLoadingTheRenderFailsAndStaysReleased)
{
    // As when the window is closed while a file loads.
    QTimer::singleShot(0, [&] { player->Deactivate(); });
    EXPECT_FALSE(player->RenderFile(Clip("clip.mp4")));
    EXPECT_FALSE(player->Active());
    player->Activate();
    EXPECT_TRUE(player->RenderFile(Clip("clip.mp4")));
}

TEST_F(RealPlayer, TheLevelStaysInForceAcrossFiles)
{
    player->SetVolume(10);  // "Mute"
    ASSERT_TRUE(player->RenderFile(Clip("clip.mp4")));
    EXPECT_FLOAT_EQ(player->AudioGain(), VolumeGain(10));
    ASSERT_TRUE(player->RenderFile(Clip("tone.wav")));
    EXPECT_FLOAT_EQ(player->AudioGain(), VolumeGain(10));
    EXPECT_GT(player->AudioGain(), 0.0f);
    player->SetVolume(20000);  // "Full Volume"
    EXPECT_EQ(player->Volume(), 10000);
    EXPECT_FLOAT_EQ(player->AudioGain(), 1.0f);
}
