#include "BitmapFile.h"

#include <QSaveFile>

#include <cstdint>
#include <vector>

namespace {

constexpr int kFileHeaderSize = 14;
constexpr int kInfoHeaderSize = 40;
constexpr int kPixelsPerMetre = 2835;  // 72 dots per inch

void PutLE16(std::vector<char>& out, std::uint16_t v)
{
    out.push_back(static_cast<char>(v & 0xff));
    out.push_back(static_cast<char>(v >> 8));
}

void PutLE32(std::vector<char>& out, std::uint32_t v)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<char>((v >> shift) & 0xff));
}

// Rows of a 24-bit bitmap are padded to a multiple of four bytes.
std::uint32_t RowStride(int width)
{
    return (static_cast<std::uint32_t>(width) * 3 + 3) & ~3u;
}

std::vector<char> Headers(int width, int height)
{
    const std::uint32_t imageSize = RowStride(width) * static_cast<std::uint32_t>(height);
    const std::uint32_t offset = kFileHeaderSize + kInfoHeaderSize;
    std::vector<char> out;
    out.reserve(offset);
    out.push_back('B');
    out.push_back('M');
    PutLE32(out, offset + imageSize);
    PutLE32(out, 0);  // reserved
    PutLE32(out, offset);
    PutLE32(out, kInfoHeaderSize);
    PutLE32(out, static_cast<std::uint32_t>(width));
    PutLE32(out, static_cast<std::uint32_t>(height));  // positive: rows run bottom-up
    PutLE16(out, 1);   // planes
    PutLE16(out, 24);  // bits per pixel
    PutLE32(out, 0);   // BI_RGB, uncompressed
    PutLE32(out, imageSize);
    PutLE32(out, kPixelsPerMetre);
    PutLE32(out, kPixelsPerMetre);
    PutLE32(out, 0);  // colours used
    PutLE32(out, 0);  // important colours
    return out;
}

// One scan line in the file's blue-green-red order, padded.
std::vector<char> BgrRow(const QImage& rgb, int y)
{
    std::vector<char> row(RowStride(rgb.width()), 0);
    const uchar* src = rgb.constScanLine(y);
    for (int x = 0; x < rgb.width(); ++x) {
        row[3 * x + 0] = static_cast<char>(src[3 * x + 2]);
        row[3 * x + 1] = static_cast<char>(src[3 * x + 1]);
        row[3 * x + 2] = static_cast<char>(src[3 * x + 0]);
    }
    return row;
}

}  // namespace

bool SaveBitmap24(const QImage& picture, const QString& path)
{
    if (picture.isNull() || picture.width() <= 0 || picture.height() <= 0)
        return false;
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const std::vector<char> headers = Headers(rgb.width(), rgb.height());
    bool ok = file.write(headers.data(), static_cast<qint64>(headers.size())) == qint64(headers.size());
    for (int y = rgb.height() - 1; ok && y >= 0; --y) {
        const std::vector<char> row = BgrRow(rgb, y);
        ok = file.write(row.data(), static_cast<qint64>(row.size())) == qint64(row.size());
    }
    if (!ok) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}
