#include "fit/LetterBox.h"

#include <cmath>

namespace tavrin {

namespace {

int EvenRound(double value)
{
    return 2 * static_cast<int>(std::lround(value / 2));
}

// Splits an even bar total into two even bars, the larger one second.
void SplitBars(int total, int& first, int& second)
{
    first = (total / 2) & ~1;
    second = total - first;
}

}  // namespace

TLetterBox FitLetterBox(TFrameSize frame, double pictureAspect)
{
    TLetterBox box;
    box.Picture = frame;
    if (frame.Width <= 0 || frame.Height <= 0 || !(pictureAspect > 0))
        return box;
    const double frameAspect = static_cast<double>(frame.Width) / frame.Height;
    if (pictureAspect > frameAspect) {
        const int height = EvenRound(frame.Width / pictureAspect);
        if (frame.Height - height >= 4) {
            box.Picture.Height = height;
            SplitBars(frame.Height - height, box.Top, box.Bottom);
        }
    } else {
        const int width = EvenRound(frame.Height * pictureAspect);
        if (frame.Width - width >= 4) {
            box.Picture.Width = width;
            SplitBars(frame.Width - width, box.Left, box.Right);
        }
    }
    return box;
}

void ApplyLetterBox(TOutputOptions& options, TFrameSize frame, const TLetterBox& box)
{
    options.FrameSize = std::to_string(box.Picture.Width) + "x" + std::to_string(box.Picture.Height);
    options.AspectRatio = std::to_string(frame.Width) + ":" + std::to_string(frame.Height);
    if (!box.HasBars())
        return;
    options.PadTop = box.Top;
    options.PadBottom = box.Bottom;
    options.PadLeft = box.Left;
    options.PadRight = box.Right;
    options.PadColor = kLetterBoxColor;
}

}  // namespace tavrin
