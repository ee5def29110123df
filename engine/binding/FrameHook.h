// Frame hooks: external hook libraries chained by the "vhook" option, time ranges that
// decide when they run, and the application's before-hook and bitmap hook.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/FFmpegTypes.h"
#include "binding/Bitmap24.h"
#include "binding/Picture.h"

struct AVFrame;

namespace tavrin {

struct THookRange {
    int64_t Start;  // microseconds
    int64_t End;
    bool operator==(const THookRange&) const = default;
};

// "0-5000, 60000-65000" (milliseconds) -> ranges in microseconds, sorted by end.
std::vector<THookRange> ParseHookRanges(const std::string& text);

// The "vhook" value split on "|" when it holds one, else on blanks; at most 255 arguments.
std::vector<std::string> SplitHookArguments(const std::string& value);

class TFrameHooks {
public:
    using BeforeHook = std::function<void(int64_t pts, THookAction& action)>;
    using CustomHook = std::function<void(TBitmap& bitmap, int frameNumber, int64_t pts,
                                          bool& update, bool& stopHook)>;
    using Logger = std::function<void(int level, const std::string& text)>;

    TFrameHooks();
    TFrameHooks(const TFrameHooks&) = delete;
    TFrameHooks& operator=(const TFrameHooks&) = delete;
    ~TFrameHooks();

    // Loads and configures one hook library; throws FFMpegException
    // "Failed to add video hook function: <value>" when it cannot be added.
    void AddFrameHook(const std::string& value);
    void LoadHookRanges(const std::string& text);
    // Runs deinterlacing and the hooks on one decoded picture (pts in microseconds) and
    // returns the picture to encode: the decoded one or the hook buffer.
    PictureRef Preprocess(const AVFrame* decoded, int64_t pts, bool deinterlace);
    // Calls every hook's "Release" and empties the chain.
    void Release();

    bool UsingFrameHooks = false;
    BeforeHook OnBefore;  // bound by the task for the before-hook mode
    CustomHook OnCustom;  // bound by the task for the bitmap mode
    Logger Log;           // engine-level log of the task

    THookAction Action() const { return action_; }
    const std::vector<THookRange>& Ranges() const { return ranges_; }
    int FrameCounter() const { return frameCounter_; }
    size_t HookCount() const { return chain_.size(); }

private:
    struct Entry;
    struct Buffers;
    int AddHook(std::vector<std::string>& args);
    void DecideAction(int64_t pts);
    void WalkRanges(int64_t pts);
    PictureRef WorkingPicture(const AVFrame* decoded, bool deinterlace);
    void RunCustomHook(const PictureRef& pic, int pixFmt, int w, int h, int64_t pts);
    bool ToRgb(const PictureRef& pic, int pixFmt, int w, int h, PictureRef& rgb);
    void LogLine(int level, const std::string& text) const { if (Log) Log(level, text); }

    std::vector<std::unique_ptr<Entry>> chain_;
    std::unique_ptr<Buffers> buf_;
    std::unique_ptr<TBitmap> bitmap_;
    int frameCounter_ = 0;
    THookAction action_ = haContinue;
    std::vector<THookRange> ranges_;
    size_t currentRange_ = 0;
};

}  // namespace tavrin
