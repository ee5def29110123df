// Option and encoder names of the older codec libraries that today's libraries spell
// differently: one table each, consulted before a name reaches the libraries.
#pragma once

#include <string>

namespace tavrin {

// Media kinds an option may be set on when it reaches the codec option holders.
enum TLegacyKinds : unsigned {
    lkAny = 0,        // whatever the library's flags allow
    lkVideoOnly = 1,  // today one option serves video and audio; the old one was video only
};

struct TLegacyOption {
    std::string name;
    std::string value;
    TLegacyKinds kinds = lkAny;
};

// Today's name (and value, where the old value has no meaning any more) of an option.
TLegacyOption LegacyOption(const std::string& name, const std::string& value);
std::string LegacyOptionName(const std::string& name);
// Today's encoder name for an old one ("libfaac" -> "aac"); other names unchanged.
std::string LegacyEncoderName(const std::string& name);

}  // namespace tavrin
