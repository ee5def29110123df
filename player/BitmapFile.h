#pragma once
// Writes a picture as an uncompressed 24-bit Windows bitmap (BMP) file.

#include <QImage>
#include <QString>

// The file appears complete or not at all; false for an empty picture or a failed write.
bool SaveBitmap24(const QImage& picture, const QString& path);
