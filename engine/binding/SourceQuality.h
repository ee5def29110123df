// The quantiser a source picture was coded with, for encoding each picture at the quality of
// its source ("sameq").
#pragma once

#include "binding/LibAV.h"

namespace tavrin {

// Whether this codec's decoder can attach the quantisers of the pictures it decodes.
bool DecoderExportsQuantisers(int codecId);
// Asks a decoder that is not open yet to attach them to every decoded picture.
void RequestQuantisers(AVCodecContext* dec);
// The picture's quantiser as a lambda (qscale x FF_QP2LAMBDA): from the quantisers the decoder
// attached, else the packet's quality statistics, else the picture's own quality; 0 when none
// of them tells.
float PictureQuality(const AVFrame* f, const AVPacket* pkt);

}  // namespace tavrin
