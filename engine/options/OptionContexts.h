// The library objects that hold generic options until a stream or file takes them.
#pragma once

#include "options/OptionSettings.h"
#include "binding/Owners.h"

namespace tavrin {

namespace detail {
inline void FreeFormatContext(AVFormatContext* f) { avformat_free_context(f); }
}  // namespace detail
using FormatContextPtr = std::unique_ptr<AVFormatContext, FreeWith<detail::FreeFormatContext>>;

struct TOptionContexts {
    CodecContextPtr codec[mkCount];  // video, audio, data, subtitle, attachment
    FormatContextPtr format;
    SwsPtr scaler;
    bool allocated = false;
};

}  // namespace tavrin
