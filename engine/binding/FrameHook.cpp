#include "binding/FrameHookState.h"

#include <dlfcn.h>

#include <cstring>
#include <map>
#include <mutex>

#include "common/FFMpegException.h"
#include "binding/FrameHookApi.h"
#include "binding/LibAV.h"
#include "binding/LogBridge.h"
#include "binding/Owners.h"

namespace tavrin {

namespace {

constexpr int kMaxHookArgs = 255;

// Each hook library file is loaded once per process and shared by every task; the
// libraries stay loaded until the process ends.
void* HookLibrary(const std::string& name, std::string& error) {
    static std::mutex mutex;
    static std::map<std::string, void*> loaded;
    std::lock_guard lock(mutex);
    if (auto it = loaded.find(name); it != loaded.end())
        return it->second;
    void* handle = dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* e = dlerror();
        error = e ? e : "cannot load " + name;
        return nullptr;
    }
    loaded.emplace(name, handle);
    return handle;
}

template <typename Fn>
Fn Symbol(void* handle, const char* name) {
    return reinterpret_cast<Fn>(dlsym(handle, name));
}

}  // namespace

std::vector<std::string> SplitHookArguments(const std::string& value) {
    const char sep = value.find('|') != std::string::npos ? '|' : ' ';
    std::vector<std::string> args;
    size_t pos = 0;
    while (args.size() < kMaxHookArgs) {
        pos = value.find_first_not_of(sep, pos);
        if (pos == std::string::npos)
            break;
        const size_t end = value.find(sep, pos);
        args.push_back(value.substr(pos, end == std::string::npos ? std::string::npos : end - pos));
        pos = end;
    }
    return args;
}

void TFrameHooks::AddFrameHook(const std::string& value) {
    std::vector<std::string> args = SplitHookArguments(value);
    if (AddHook(args) != 0)
        throw FFMpegException("Failed to add video hook function: " + value);
    UsingFrameHooks = true;
}

int TFrameHooks::AddHook(std::vector<std::string>& args) {
    if (args.empty())
        return -2;
    const std::string& name = args[0];
    std::string error;
    void* lib = HookLibrary(name, error);
    if (!lib) {
        LibraryLog(AV_LOG_ERROR, error + "\n");
        return -1;
    }
    auto entry = std::unique_ptr<Entry>(new (std::nothrow) Entry);
    if (!entry)
        return -12;
    entry->configure = Symbol<FrameHookConfigureFn>(lib, "Configure");
    entry->process = Symbol<FrameHookProcessFn>(lib, "Process");
    entry->release = Symbol<FrameHookReleaseFn>(lib, "Release");
    if (!entry->process) {
        LibraryLog(AV_LOG_ERROR, "Failed to find Process entrypoint in " + name + "\n");
        return -2;
    }
    if (!entry->configure && args.size() > 1) {
        LibraryLog(AV_LOG_ERROR, "Failed to find Configure entrypoint in " + name + "\n");
        return -2;
    }
    if (entry->configure) {
        std::vector<char*> argv;
        for (std::string& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        if (entry->configure(&entry->context, static_cast<int>(args.size()), argv.data()) != 0) {
            LibraryLog(AV_LOG_ERROR, "Failed to Configure " + name + "\n");
            return -22;
        }
    }
    chain_.push_back(std::move(entry));
    return 0;
}

TFrameHooks::~TFrameHooks() { Release(); }

void TFrameHooks::Release() {
    for (auto& e : chain_)
        if (e->release)
            e->release(e->context);
    chain_.clear();
}

void TFrameHooks::LoadHookRanges(const std::string& text) {
    ranges_ = ParseHookRanges(text);
    currentRange_ = 0;
}

void TFrameHooks::WalkRanges(int64_t pts) {
    action_ = haIgnore;
    for (size_t i = currentRange_; i < ranges_.size(); ++i) {
        if (ranges_[i].Start <= pts && pts <= ranges_[i].End) {
            currentRange_ = i;
            action_ = haContinue;
            return;
        }
        if (i + 1 == ranges_.size() && ranges_[i].End < pts) {
            action_ = haStop;
            UsingFrameHooks = false;
        }
    }
}

void TFrameHooks::DecideAction(int64_t pts) {
    if (!UsingFrameHooks || OnCustom)
        return;
    if (OnBefore) {
        try {
            OnBefore(pts, action_);
        } catch (const std::exception& e) {
            LogLine(0, std::string("Error occurs OnBeforeHook: ") + e.what());
            action_ = haStop;
        }
        if (action_ == haStop)
            UsingFrameHooks = false;
    } else if (!ranges_.empty()) {
        WalkRanges(pts);
    }
}

PictureRef TFrameHooks::Preprocess(const AVFrame* decoded, int64_t pts, bool deinterlace) {
    ++frameCounter_;
    DecideAction(pts);
    const bool hooksRun = UsingFrameHooks && action_ == haContinue;
    PictureRef pic;
    if (deinterlace || OnCustom || hooksRun) {
        pic = WorkingPicture(decoded, deinterlace);
    } else {
        for (int i = 0; i < 4; ++i) {
            pic.data[i] = decoded->data[i];
            pic.linesize[i] = decoded->linesize[i];
        }
    }
    if (OnCustom) {
        RunCustomHook(pic, decoded->format, decoded->width, decoded->height, pts);
    } else if (hooksRun) {
        TFrameHookPicture hp;
        for (auto& e : chain_) {
            std::memcpy(hp.data, pic.data, sizeof hp.data);
            std::memcpy(hp.linesize, pic.linesize, sizeof hp.linesize);
            e->process(e->context, &hp, decoded->format, decoded->width, decoded->height, pts);
        }
    }
    return pic;
}

}  // namespace tavrin
