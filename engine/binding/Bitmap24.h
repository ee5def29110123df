// A 24-bit BGR bitmap handed to the application's picture hook: rows of
// Width * 3 bytes, blue first, row 0 at the top. No toolkit types, so any GUI can wrap it.
#pragma once

#include <cstdint>
#include <mutex>
#include <vector>

namespace tavrin {

class TBitmap {
public:
    TBitmap(int width, int height)
        : Width(width), Height(height), pixels_(static_cast<size_t>(width) * height * 3) {}

    int Width;
    int Height;
    int RowBytes() const { return Width * 3; }
    uint8_t* ScanLine(int y) { return pixels_.data() + static_cast<size_t>(y) * RowBytes(); }
    const uint8_t* ScanLine(int y) const { return pixels_.data() + static_cast<size_t>(y) * RowBytes(); }

    // Held while the application's hook works on the pixels.
    std::mutex& Canvas() { return canvas_; }

private:
    std::vector<uint8_t> pixels_;
    std::mutex canvas_;
};

}  // namespace tavrin
