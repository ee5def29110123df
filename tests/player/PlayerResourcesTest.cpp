#include "SnapSound.h"
#include "SvgGlyphs.h"

#include <QFile>
#include <QImage>
#include <QPixmap>
#include <QSoundEffect>
#include <QTest>
#include <QUrl>

#include <algorithm>
#include <cstdlib>

#include <gtest/gtest.h>

TEST(PlayerResources, SnapSoundIsAShortPcmWave)
{
    QFile wav(QUrl(kSnapSoundUrl).path().prepend(':'));
    ASSERT_TRUE(wav.open(QIODevice::ReadOnly)) << qPrintable(wav.fileName());
    const QByteArray bytes = wav.readAll();
    ASSERT_GT(bytes.size(), 44);
    EXPECT_EQ(bytes.mid(0, 4), QByteArray("RIFF"));
    EXPECT_EQ(bytes.mid(8, 8), QByteArray("WAVEfmt "));
    EXPECT_EQ(bytes.mid(36, 4), QByteArray("data"));
    // Not silence: the click must be heard.
    int loudest = 0;
    for (int i = 44; i + 1 < bytes.size(); i += 2) {
        const auto sample = static_cast<qint16>(static_cast<quint8>(bytes[i]) | (bytes[i + 1] << 8));
        loudest = std::max(loudest, std::abs(int(sample)));
    }
    EXPECT_GT(loudest, 5000);
    EXPECT_LT(bytes.size(), 22050 * 2);  // under a second
}

TEST(PlayerResources, SpeakerGlyphsDrawDistinctPictures)
{
    QImage previous;
    for (const char* name : {"spkmute", "spkhalf", "spkfull"}) {
        const QImage glyph = SpeakerGlyph(name).pixmap(24, 24).toImage();
        ASSERT_FALSE(glyph.isNull()) << name;
        EXPECT_EQ(glyph.size(), QSize(24, 24)) << name;
        int inked = 0;
        for (int y = 0; y < glyph.height(); ++y)
            for (int x = 0; x < glyph.width(); ++x)
                inked += qAlpha(glyph.pixel(x, y)) > 0;
        EXPECT_GT(inked, 50) << name;
        EXPECT_NE(glyph, previous) << name;
        previous = glyph;
    }
    EXPECT_TRUE(SpeakerGlyph("nosuchglyph").pixmap(24, 24).isNull());
}

TEST(PlayerResources, TheSoundEffectLoadsTheSnapSound)
{
    QSoundEffect effect;
    effect.setSource(QUrl(kSnapSoundUrl));
    EXPECT_TRUE(QTest::qWaitFor([&] { return effect.status() != QSoundEffect::Loading; }, 3000));
    EXPECT_EQ(effect.status(), QSoundEffect::Ready);
}
