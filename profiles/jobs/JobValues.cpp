#include "jobs/JobValues.h"

#include "jobs/RowText.h"
#include "catalogue/SettingText.h"

#include <cmath>

namespace tavrin {

namespace {

constexpr std::string_view kDefaultAspect = "1.3333";

}  // namespace

std::string SourceAspectText(std::string_view videoSize)
{
    videoSize = TrimText(videoSize);
    if (videoSize.empty())
        videoSize = "640x480";
    const size_t x = videoSize.find('x');
    if (x == std::string_view::npos)
        return std::string(kDefaultAspect);
    const std::optional<double> width = RealNumber(videoSize.substr(0, x));
    const std::optional<double> height = RealNumber(videoSize.substr(x + 1));
    if (!width || !height || !(*width > 0) || !(*height > 0))
        return std::string(kDefaultAspect);
    const double ratio = std::nearbyint(*width / *height * 10000) / 10000;
    if (!std::isfinite(ratio) || ratio <= 0)
        return std::string(kDefaultAspect);
    return DecimalText(ratio);
}

std::optional<std::string> AspectRatioFor(int aspectIndex, std::string_view videoSize)
{
    switch (aspectIndex) {
    case 0:
        return SourceAspectText(videoSize);
    case 1:
        return "4:3";
    case 2:
        return "16:9";
    default:
        return std::nullopt;
    }
}

int32_t TimeLimitFor(std::string_view durationCell)
{
    return durationCell == "00:00:00" || durationCell == "Unknown" ? kUnknownDurationLimitMs : -1;
}

}  // namespace tavrin
