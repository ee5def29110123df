// Hook ranges, "vhook" arguments, hook libraries and the application's picture hooks.
#include "EngineTestSupport.h"
#include "common/FFMpegException.h"
#include "binding/FrameHook.h"
#include "binding/LibAV.h"
#include "binding/Owners.h"

namespace tavrin::test {
namespace {

FramePtr GreyFrame(int w, int h, uint8_t luma) {
    FramePtr f = MakeFrame();
    f->format = AV_PIX_FMT_YUV420P;
    f->width = w;
    f->height = h;
    EXPECT_EQ(av_frame_get_buffer(f.get(), 0), 0);
    for (int y = 0; y < h; ++y)
        memset(f->data[0] + y * f->linesize[0], luma, static_cast<size_t>(w));
    for (int p = 1; p < 3; ++p)
        for (int y = 0; y < h / 2; ++y)
            memset(f->data[p] + y * f->linesize[p], 128, static_cast<size_t>(w / 2));
    return f;
}

uint8_t LumaAt(const PictureRef& p, int x, int y) { return p.data[0][y * p.linesize[0] + x]; }

TEST(HookRanges, PiecesAreReadAsMillisecondsKeptWhenOrderedAndSortedByEnd) {
    EXPECT_EQ(ParseHookRanges("100-200, 50-80, 300"),
              (std::vector<THookRange>{{50000, 80000}, {100000, 200000}}));
    EXPECT_EQ(ParseHookRanges("abc-200"), (std::vector<THookRange>{{-1000, 200000}}));
    EXPECT_EQ(ParseHookRanges(" 0-5000 , 60000-65000 "),
              (std::vector<THookRange>{{0, 5000000}, {60000000, 65000000}}));
    EXPECT_TRUE(ParseHookRanges("200-100").empty());  // start after end
    EXPECT_TRUE(ParseHookRanges("5-x").empty());      // end unreadable: -1
    EXPECT_TRUE(ParseHookRanges("").empty());
}

TEST(HookArguments, VerticalBarsSplitWhenPresentElseBlanks) {
    EXPECT_EQ(SplitHookArguments("hook.so|a b|c"), (std::vector<std::string>{"hook.so", "a b", "c"}));
    EXPECT_EQ(SplitHookArguments("hook.so a b c"), (std::vector<std::string>{"hook.so", "a", "b", "c"}));
    EXPECT_EQ(SplitHookArguments("  hook.so   x "), (std::vector<std::string>{"hook.so", "x"}));
    std::string many = "hook.so";
    for (int i = 0; i < 300; ++i)
        many += " a";
    EXPECT_EQ(SplitHookArguments(many).size(), 255u);
}

TEST(HookLibrary, ARealHookChangesThePicturesPixels) {
    TFrameHooks hooks;
    hooks.AddFrameHook(std::string(TAVRIN_FILL_HOOK) + " 200");
    EXPECT_TRUE(hooks.UsingFrameHooks);
    auto frame = GreyFrame(64, 48, 16);
    PictureRef out = hooks.Preprocess(frame.get(), 0, false);
    EXPECT_EQ(LumaAt(out, 10, 10), 200);
    EXPECT_EQ(frame->data[0][0], 16);  // the hook works on its own copy
    EXPECT_EQ(hooks.FrameCounter(), 1);
    hooks.Release();
    EXPECT_EQ(hooks.HookCount(), 0u);
}

TEST(HookLibrary, LibrariesThatCannotBeAddedFailWithTheValue) {
    TFrameHooks hooks;
    const std::string missing = "/nonexistent/hook.so a";
    try {
        hooks.AddFrameHook(missing);
        FAIL() << "no exception";
    } catch (const FFMpegException& e) {
        EXPECT_EQ(std::string(e.what()), "Failed to add video hook function: " + missing);
    }
    EXPECT_THROW(hooks.AddFrameHook(TAVRIN_NO_PROCESS_HOOK), FFMpegException);
    EXPECT_THROW(hooks.AddFrameHook(std::string(TAVRIN_FILL_HOOK) + " 1 fail"), FFMpegException);
    EXPECT_THROW(hooks.AddFrameHook("   "), FFMpegException);
    EXPECT_FALSE(hooks.UsingFrameHooks);
}

TEST(HookRanges, HooksRunInsideARangeAndStopForGoodAfterTheLast) {
    TFrameHooks hooks;
    hooks.AddFrameHook(std::string(TAVRIN_FILL_HOOK) + " 250");
    hooks.LoadHookRanges("1000-2000");
    auto frame = GreyFrame(32, 32, 16);
    EXPECT_EQ(LumaAt(hooks.Preprocess(frame.get(), 500000, false), 0, 0), 16);
    EXPECT_EQ(hooks.Action(), haIgnore);
    EXPECT_EQ(LumaAt(hooks.Preprocess(frame.get(), 1500000, false), 0, 0), 250);
    EXPECT_EQ(hooks.Action(), haContinue);
    EXPECT_EQ(LumaAt(hooks.Preprocess(frame.get(), 2100000, false), 0, 0), 16);
    EXPECT_EQ(hooks.Action(), haStop);
    EXPECT_FALSE(hooks.UsingFrameHooks);
    EXPECT_EQ(LumaAt(hooks.Preprocess(frame.get(), 1500000, false), 0, 0), 16);
}

TEST(BeforeHook, TheApplicationDecidesPerPictureAndAThrowStopsTheHooks) {
    TFrameHooks hooks;
    hooks.AddFrameHook(std::string(TAVRIN_FILL_HOOK) + " 99");
    std::vector<std::string> logs;
    hooks.Log = [&](int, const std::string& t) { logs.push_back(t); };
    int calls = 0;
    hooks.OnBefore = [&](int64_t pts, THookAction& action) {
        ++calls;
        if (pts == 1) action = haIgnore;
        if (pts == 2) action = haContinue;
        if (pts == 3) throw std::runtime_error("boom");
    };
    auto frame = GreyFrame(16, 16, 16);
    EXPECT_EQ(LumaAt(hooks.Preprocess(frame.get(), 1, false), 0, 0), 16);
    EXPECT_EQ(LumaAt(hooks.Preprocess(frame.get(), 2, false), 0, 0), 99);
    EXPECT_EQ(LumaAt(hooks.Preprocess(frame.get(), 3, false), 0, 0), 16);
    EXPECT_EQ(logs, (std::vector<std::string>{"Error occurs OnBeforeHook: boom"}));
    hooks.Preprocess(frame.get(), 4, false);
    EXPECT_EQ(calls, 3);  // stopped hooks are not asked again
}

TEST(CustomHook, TheBitmapRoundTripChangesThePictureAndAThrowLeavesItUnchanged) {
    TFrameHooks hooks;
    std::vector<std::string> logs;
    hooks.Log = [&](int, const std::string& t) { logs.push_back(t); };
    int calls = 0;
    hooks.OnCustom = [&](TBitmap& bmp, int frameNo, int64_t, bool&, bool&) {
        ++calls;
        EXPECT_EQ(frameNo, calls);
        EXPECT_EQ(bmp.Width, 64);
        if (calls == 1)
            throw std::runtime_error("bad");
        for (int y = 0; y < bmp.Height; ++y)
            memset(bmp.ScanLine(y), 255, static_cast<size_t>(bmp.RowBytes()));
    };
    auto frame = GreyFrame(64, 32, 40);
    PictureRef first = hooks.Preprocess(frame.get(), 0, false);
    EXPECT_NEAR(LumaAt(first, 5, 5), 40, 1);
    EXPECT_EQ(logs, (std::vector<std::string>{"Error occurs OnCustomHook: bad"}));
    PictureRef second = hooks.Preprocess(frame.get(), 40000, false);
    EXPECT_GE(LumaAt(second, 5, 5), 234);  // white in limited-range YUV
    EXPECT_EQ(calls, 2);
}

TEST(CustomHook, StopHookUnbindsTheHandler) {
    TFrameHooks hooks;
    int calls = 0;
    hooks.OnCustom = [&](TBitmap&, int, int64_t, bool&, bool& stop) {
        ++calls;
        stop = true;
    };
    auto frame = GreyFrame(16, 16, 16);
    hooks.Preprocess(frame.get(), 0, false);
    hooks.Preprocess(frame.get(), 1, false);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(hooks.Action(), haStop);
}

TEST(CustomHook, AHandlerThatStopsStillHandsBackItsEditWhenItAsksForTheUpdate) {
    TFrameHooks hooks;
    int calls = 0;
    hooks.OnCustom = [&](TBitmap& bmp, int, int64_t, bool& update, bool& stop) {
        ++calls;
        for (int y = 0; y < bmp.Height; ++y)
            memset(bmp.ScanLine(y), 255, static_cast<size_t>(bmp.RowBytes()));
        stop = true;
        update = calls == 1;
    };
    auto frame = GreyFrame(32, 16, 40);
    EXPECT_GE(LumaAt(hooks.Preprocess(frame.get(), 0, false), 3, 3), 234) << "the last edit is kept";
    EXPECT_FALSE(hooks.OnCustom) << "and then the handler is unbound";
    EXPECT_EQ(LumaAt(hooks.Preprocess(frame.get(), 1, false), 3, 3), 40);
    EXPECT_EQ(calls, 1);
}

// A conversion of clip.avi with the application's hooks bound as configure says; the task's log.
std::vector<std::string> ConvertWithHooks(TFFmpegEngine& engine, const std::function<void(TOutputOptions&)>& configure) {
    EventRecorder recorder;
    recorder.Attach(engine);
    engine.SetLogLevel(llInfo);
    const int index = engine.AddInputTask(Fixture("clip.avi"), nullptr);
    EXPECT_GE(index, 0) << engine.LastErrorText();
    TOutputOptions out;
    out.ExtraOptions = "an\nvcodec=mpeg4\nt=0.5";
    configure(out);
    EXPECT_TRUE(engine.SetTaskOutput(index, (TempDir() / "hooked.mkv").string(), &out)) << engine.LastErrorText();
    engine.StartTasks(1);
    EXPECT_TRUE(recorder.WaitForFinal(std::chrono::seconds(60)));
    std::vector<std::string> lines;
    for (const auto& [task, line] : recorder.Logs())
        lines.push_back(line);
    // The final event wakes us while its thread is still inside the handler: wait for that
    // thread before the recorder and the handlers go.
    engine.ClearTaskList();
    engine.OnLog = nullptr;
    engine.OnTerminate = nullptr;
    return lines;
}

bool Has(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

TEST(HookRun, HandlerFailuresReachTheTasksLog) {
    TFFmpegEngine engine;
    int calls = 0;
    engine.OnCustomHook = [&](int, TBitmap&, int, int64_t, bool&, bool&) {
        if (++calls == 2)
            throw std::runtime_error("picture two");
    };
    auto lines = ConvertWithHooks(engine, [](TOutputOptions& o) { o.UseCustomHook = true; });
    EXPECT_TRUE(Has(lines, "Error occurs OnCustomHook: picture two"));
    EXPECT_GT(calls, 2) << "a failing handler is called again for the next picture";

    TFFmpegEngine before;
    before.OnBeforeHook = [](int, int64_t, THookAction&) { throw std::runtime_error("no decision"); };
    lines = ConvertWithHooks(before, [](TOutputOptions& o) {
        o.UseBeforeHook = true;
        o.ExtraOptions += std::string("\nvhook=") + TAVRIN_FILL_HOOK + " 200";
    });
    EXPECT_TRUE(Has(lines, "Error occurs OnBeforeHook: no decision"));
}

TEST(Deinterlace, OddLinesAreFilteredFromTheirNeighbours) {
    TFrameHooks hooks;
    auto frame = GreyFrame(16, 8, 0);
    for (int y = 0; y < 8; y += 2)
        memset(frame->data[0] + y * frame->linesize[0], 200, 16);
    PictureRef out = hooks.Preprocess(frame.get(), 0, true);
    EXPECT_EQ(LumaAt(out, 3, 2), 200);  // even lines pass
    EXPECT_EQ(LumaAt(out, 3, 3), 200);  // (-0 + 800 + 0 + 800 - 0 + 4) >> 3
    EXPECT_EQ(frame->data[0][3 * frame->linesize[0]], 0);
}

}  // namespace
}  // namespace tavrin::test
