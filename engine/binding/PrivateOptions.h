// Options that belong to one encoder's or muxer's private data in today's libraries.
#pragma once

#include <string>

#include <utility>
#include <vector>

#include "binding/LibAV.h"

namespace tavrin {

// Whether some encoder of that media type, or some muxer, has a private option so named.
bool EncoderHasPrivateOption(AVMediaType type, const std::string& name);
bool MuxerHasPrivateOption(const std::string& name);

// Sets each option on obj (an AVCodecContext or AVFormatContext whose encoder or muxer is
// chosen) or its private data; options it does not know are skipped. A value it refuses
// throws FFMpegException "Invalid value '<value>' for option '<name>'". Returns how many
// were set.
using TNameValueList = std::vector<std::pair<std::string, std::string>>;
int ApplyPrivateOptions(void* obj, const TNameValueList& options);

}  // namespace tavrin
