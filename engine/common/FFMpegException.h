// Every fatal engine failure: a fixed English message.
#pragma once

#include <stdexcept>
#include <string>

namespace tavrin {

class FFMpegException : public std::runtime_error {
public:
    explicit FFMpegException(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace tavrin
