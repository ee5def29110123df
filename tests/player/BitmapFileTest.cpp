#include "BitmapFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdint>

namespace {

std::uint32_t LE32(const QByteArray& bytes, int at)
{
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | static_cast<std::uint8_t>(bytes[at + i]);
    return v;
}

std::uint16_t LE16(const QByteArray& bytes, int at)
{
    return static_cast<std::uint16_t>(static_cast<std::uint8_t>(bytes[at])
                                      | (static_cast<std::uint8_t>(bytes[at + 1]) << 8));
}

// A picture whose every pixel differs, with a width that needs row padding.
QImage Gradient(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(40 * x, 60 * y, 255 - 20 * x - 10 * y));
    return image;
}

}  // namespace

TEST(BitmapFile, HeadersDescribeAnUncompressed24BitPicture)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("shot.bmp");
    ASSERT_TRUE(SaveBitmap24(Gradient(5, 3), path));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    const int stride = 16;  // 5 * 3 = 15 bytes, padded to 16
    ASSERT_EQ(bytes.size(), 54 + stride * 3);
    EXPECT_EQ(bytes.left(2), QByteArray("BM"));
    EXPECT_EQ(LE32(bytes, 2), 54u + stride * 3);
    EXPECT_EQ(LE32(bytes, 10), 54u);
    EXPECT_EQ(LE32(bytes, 14), 40u);
    EXPECT_EQ(LE32(bytes, 18), 5u);
    EXPECT_EQ(LE32(bytes, 22), 3u);  // bottom-up
    EXPECT_EQ(LE16(bytes, 26), 1);
    EXPECT_EQ(LE16(bytes, 28), 24);
    EXPECT_EQ(LE32(bytes, 30), 0u);
    EXPECT_EQ(LE32(bytes, 34), std::uint32_t(stride * 3));
    // First stored pixel: bottom-left, blue first.
    const QRgb bottomLeft = Gradient(5, 3).pixel(0, 2);
    EXPECT_EQ(static_cast<std::uint8_t>(bytes[54]), qBlue(bottomLeft));
    EXPECT_EQ(static_cast<std::uint8_t>(bytes[55]), qGreen(bottomLeft));
    EXPECT_EQ(static_cast<std::uint8_t>(bytes[56]), qRed(bottomLeft));
}

TEST(BitmapFile, PicturesReadBackPixelForPixel)
{
    QTemporaryDir dir;
    for (const QImage& picture : {Gradient(5, 3), Gradient(4, 4), Gradient(1, 7)}) {
        const QString path = dir.filePath("round.bmp");
        ASSERT_TRUE(SaveBitmap24(picture, path));
        QImage back(path, "BMP");
        ASSERT_EQ(back.size(), picture.size());
        EXPECT_EQ(back.convertToFormat(QImage::Format_RGB32), picture);
    }
}

TEST(BitmapFile, NothingIsWrittenForAnEmptyPictureOrAnUnwritablePlace)
{
    QTemporaryDir dir;
    const QString empty = dir.filePath("empty.bmp");
    EXPECT_FALSE(SaveBitmap24(QImage(), empty));
    EXPECT_FALSE(QFile::exists(empty));
    const QString nowhere = dir.filePath("no/such/folder/shot.bmp");
    EXPECT_FALSE(SaveBitmap24(Gradient(4, 4), nowhere));
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}
