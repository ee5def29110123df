#include "binding/Binding.h"

#include <dlfcn.h>

#include <array>
#include <atomic>
#include <cstdio>
#include <vector>

#include "binding/LibAV.h"

namespace tavrin {
namespace {

using VersionFn = unsigned (*)();

struct LibraryInfo {
    const char* plainName;
    const char* versionedPattern;
    int builtMajor;
    const char* versionEntry;
    std::vector<const char*> entries;  // every one must resolve
};

const std::array<LibraryInfo, 5>& Libraries() {
    static const std::array<LibraryInfo, 5> table = {{
        {"libavcodec.so", "libavcodec.so.%d", LIBAVCODEC_VERSION_MAJOR, "avcodec_version",
         {"avcodec_version", "avcodec_find_encoder_by_name", "avcodec_find_decoder",
          "avcodec_find_encoder", "avcodec_alloc_context3", "avcodec_open2",
          "avcodec_free_context", "avcodec_send_packet", "avcodec_receive_frame",
          "avcodec_send_frame", "avcodec_receive_packet", "avcodec_parameters_from_context",
          "avcodec_parameters_to_context", "av_packet_alloc", "av_packet_free"}},
        {"libavformat.so", "libavformat.so.%d", LIBAVFORMAT_VERSION_MAJOR, "avformat_version",
         {"avformat_version", "avformat_network_init", "avformat_open_input",
          "avformat_find_stream_info", "avformat_close_input", "avformat_alloc_output_context2",
          "avformat_new_stream", "avformat_write_header", "av_interleaved_write_frame",
          "av_write_trailer", "av_read_frame", "av_seek_frame", "avio_open", "avio_closep",
          "av_guess_format", "av_find_input_format", "av_dump_format"}},
        {"libavutil.so", "libavutil.so.%d", LIBAVUTIL_VERSION_MAJOR, "avutil_version",
         {"avutil_version", "av_log_set_callback", "av_log_get_level", "av_log_set_level",
          "av_log", "av_malloc", "av_free", "av_rescale_q", "av_gettime", "av_opt_set",
          "av_opt_find", "av_parse_video_rate", "av_parse_video_size", "av_parse_time",
          "av_frame_alloc", "av_frame_free", "av_image_fill_arrays", "av_strerror"}},
        {"libswscale.so", "libswscale.so.%d", LIBSWSCALE_VERSION_MAJOR, "swscale_version",
         {"swscale_version", "sws_getCachedContext", "sws_scale", "sws_freeContext"}},
        {"libswresample.so", "libswresample.so.%d", LIBSWRESAMPLE_VERSION_MAJOR,
         "swresample_version",
         {"swresample_version", "swr_alloc_set_opts", "swr_init", "swr_convert",
          "swr_set_compensation", "swr_free"}},
    }};
    return table;
}

struct LibraryState {
    void* handle = nullptr;
    bool resolved = false;
};

std::mutex g_loadMutex;
std::array<LibraryState, 5> g_state;
std::atomic<bool> g_loaded{false};
std::atomic<int> g_libraryLogLevel{AV_LOG_INFO};
std::once_flag g_registerOnce;

std::string DlErrorText() {
    const char* e = dlerror();
    return e ? e : "unknown error";
}

bool LoadOne(size_t i, const std::string& folder, bool versioned, std::string& error) {
    const LibraryInfo& info = Libraries()[i];
    LibraryState& st = g_state[i];
    const std::string name = LibraryFileName(static_cast<TLibraryUnit>(i), versioned);
    if (!st.handle) {
        const std::string path = folder.empty() ? name : folder + "/" + name;
        st.handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!st.handle) {
            error = "Load libraray " + name + " error: " + DlErrorText();
            return false;
        }
    }
    if (st.resolved)
        return true;
    for (const char* entry : info.entries) {
        dlerror();
        if (!dlsym(st.handle, entry)) {
            error = std::string("Load function ") + entry + "@" + name + " error: " + DlErrorText();
            return false;
        }
    }
    // A library of another major version has another interface: refuse it.
    auto version = reinterpret_cast<VersionFn>(dlsym(st.handle, info.versionEntry));
    const int major = static_cast<int>(version() >> 16);
    if (major != info.builtMajor) {
        error = "Load libraray " + name + " error: major version " + std::to_string(major) +
                " found, " + std::to_string(info.builtMajor) + " expected";
        return false;
    }
    st.resolved = true;
    return true;
}

void UnloadLocked() {
    for (LibraryState& st : g_state) {
        if (st.handle)
            dlclose(st.handle);
        st = LibraryState{};
    }
    g_loaded = false;
}

}  // namespace

std::string LibraryFileName(TLibraryUnit unit, bool versioned) {
    const LibraryInfo& info = Libraries()[static_cast<size_t>(unit)];
    if (!versioned)
        return info.plainName;
    char buf[64];
    std::snprintf(buf, sizeof buf, info.versionedPattern, info.builtMajor);
    return buf;
}

bool LoadLibraries(const std::string& Folder, bool Versioned, std::string& ErrorText) {
    std::lock_guard lock(g_loadMutex);
    if (g_loaded)
        return true;
    ErrorText.clear();
    for (size_t i = 0; i < g_state.size(); ++i) {
        if (!LoadOne(i, Folder, Versioned, ErrorText)) {
            UnloadLocked();
            return false;
        }
    }
    std::call_once(g_registerOnce, [] { avformat_network_init(); });
    g_libraryLogLevel = av_log_get_level();
    g_loaded = true;
    return true;
}

void UnloadLibraries() {
    std::lock_guard lock(g_loadMutex);
    UnloadLocked();
}

bool LibrariesLoaded() { return g_loaded; }

bool LibraryResolved(TLibraryUnit unit) {
    std::lock_guard lock(g_loadMutex);
    return g_state[static_cast<size_t>(unit)].resolved;
}

int LibraryLogLevel() { return g_libraryLogLevel; }

int VerbosityToLibraryLevel(int verbosity) {
    if (verbosity < 0) return AV_LOG_QUIET;
    if (verbosity == 0) return AV_LOG_ERROR;
    if (verbosity == 1) return AV_LOG_INFO;
    if (verbosity == 2) return AV_LOG_DEBUG;
    return AV_LOG_TRACE;
}

int LibraryLevelToVerbosity(int libraryLevel) {
    if (libraryLevel <= AV_LOG_ERROR) return 0;
    if (libraryLevel <= AV_LOG_INFO) return 1;
    if (libraryLevel <= AV_LOG_DEBUG) return 2;
    return 3;
}

void SetLibraryVerbosity(int verbosity) {
    av_log_set_level(VerbosityToLibraryLevel(verbosity));
    g_libraryLogLevel = av_log_get_level();
}

std::recursive_mutex& CodecLock() {
    static auto* lock = new std::recursive_mutex;  // never destroyed: used until exit
    return *lock;
}

}  // namespace tavrin
