#include "binding/LogBridge.h"

#include <atomic>
#include <cinttypes>
#include <cstdarg>
#include <cstdio>
#include <vector>

#include "binding/LibAV.h"

namespace tavrin {
namespace {

std::atomic<LibraryLogSink> g_sink{nullptr};
thread_local TLibraryErrorCapture* t_capture = nullptr;

// Formats into 2048 bytes first and grows when the message needs more, so no text is lost.
std::string FormatMessage(const char* fmt, va_list args) {
    std::vector<char> buf(2048);
    va_list copy;
    va_copy(copy, args);
    const int needed = std::vsnprintf(buf.data(), buf.size(), fmt, copy);
    va_end(copy);
    if (needed < 0)
        return {};
    if (static_cast<size_t>(needed) >= buf.size()) {
        buf.resize(static_cast<size_t>(needed) + 1);
        std::vsnprintf(buf.data(), buf.size(), fmt, args);
    }
    return std::string(buf.data(), static_cast<size_t>(needed));
}

std::string ContextPrefix(void* context) {
    if (!context)
        return {};
    const AVClass* cls = *static_cast<const AVClass* const*>(context);
    if (!cls || !cls->item_name)
        return {};
    char addr[32];
    std::snprintf(addr, sizeof addr, "%08" PRIXPTR, reinterpret_cast<uintptr_t>(cls));
    return std::string("[") + cls->item_name(context) + " @ " + addr + "]";
}

void Callback(void* context, int level, const char* fmt, va_list args) {
    LibraryLogSink sink = g_sink.load();
    if (!fmt)
        return;
    if (t_capture && level <= AV_LOG_ERROR) {
        va_list copy;
        va_copy(copy, args);
        t_capture->Note(FormatMessage(fmt, copy));
        va_end(copy);
    }
    if (sink)
        sink(level, ContextPrefix(context), FormatMessage(fmt, args));
}

}  // namespace

void InstallLibraryLogSink(LibraryLogSink sink) {
    g_sink = sink;
    av_log_set_callback(Callback);
}

void RemoveLibraryLogSink() {
    av_log_set_callback(av_log_default_callback);
    g_sink = nullptr;
}

void LibraryLog(int libraryLevel, const std::string& text) {
    av_log(nullptr, libraryLevel, "%s", text.c_str());
}

TLibraryErrorCapture::TLibraryErrorCapture() : outer_(t_capture) { t_capture = this; }

TLibraryErrorCapture::~TLibraryErrorCapture() { t_capture = outer_; }

void TLibraryErrorCapture::Note(const std::string& text) {
    if (!first_.empty())
        return;
    const size_t end = text.find_last_not_of(" \r\n.");
    if (end != std::string::npos)
        first_ = text.substr(0, end + 1);
}

}  // namespace tavrin
