// Pictures that a player shows turned: the stream's display rotation and the turning itself.
#pragma once

#include "binding/Owners.h"

namespace tavrin {

// Degrees (0, 90, 180 or 270) a picture of the stream must be turned clockwise to look as a
// player shows it, read from the stream's display matrix; 0 when it has none.
int DisplayRotation(const AVStream* st);

// Gives copied packets the source's display matrix, so players still show them upright.
void CopyDisplayMatrix(const AVStream* from, AVStream* to);

// Width and height of a picture of that size once turned by degrees.
inline bool SwapsSides(int degrees) { return degrees == 90 || degrees == 270; }

// Turns decoded pictures clockwise into a picture of its own. Pixel formats whose planes
// cannot simply be turned (packed 4:2:2, palettes, bit-packed) go through planar 4:4:4 first.
class TPictureRotator {
public:
    // The turned picture, valid until the next call; null when it cannot be made.
    const AVFrame* Turn(const AVFrame* src, int degrees);

private:
    const AVFrame* Turnable(const AVFrame* src, int degrees);
    FramePtr converted_;
    FramePtr turned_;
    SwsPtr toPlanar_;
};

}  // namespace tavrin
