// Which sources can be converted at all. A pipe, socket or device given as a source would
// block the probe for ever when nothing feeds it, or lose what the probe read when
// something does; such a source is refused before anything reads it.
#pragma once

#include <string>

namespace tavrin {

// Empty for a regular file (or a name that does not exist, which the reader reports
// itself); otherwise the reason the source is refused.
std::string SourceRefusal(const std::string& path);

}  // namespace tavrin
