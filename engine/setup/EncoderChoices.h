// Small decisions made when an output stream's encoder is set up.
#pragma once

#include <string>
#include <vector>

#include "binding/LibAV.h"

namespace tavrin {

// The listed rate nearest to fps (list ends with {0, 0}); ties keep the earlier entry.
AVRational NearestFrameRate(AVRational fps, const AVRational* list);
// The sample aspect ratio that shows width x height at displayAspect, terms at most 255.
AVRational SampleAspectFor(float displayAspect, int width, int height);
// "start,end,q/start,end,q..."; throws FFMpegException "error parsing rc_override".
std::vector<RcOverride> ParseRcOverride(const std::string& text);

}  // namespace tavrin
