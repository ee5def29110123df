// Codec labels of the codec combos mapped to the engine's encoder names. Inputs are the
// combo texts in lower case.
#pragma once

#include <string>
#include <string_view>

namespace tavrin {

// Common mapping of the video codec label; unknown labels pass through unchanged.
std::string VideoEncoderName(std::string_view label);
// Common mapping of the audio codec label; unknown labels pass through unchanged.
std::string AudioEncoderName(std::string_view label);
// The narrower video mapping of the Apple and 3GP profiles: only "h264" and "xvid" change.
std::string DeviceVideoEncoderName(std::string_view label);

}  // namespace tavrin
