// Library error codes as text, and the one helper every library call goes through.
#pragma once

#include <string>

namespace tavrin {

// The library's description of a negative error code ("No such file or directory" ...).
std::string AvErrorText(int code);

// Returns code unchanged when it is not negative; otherwise throws FFMpegException
// with "<what>: <library text>".
int CheckAv(int code, const std::string& what);

}  // namespace tavrin
