// Library log output reaches OnLog line by line, per thread, at the mapped level.
#include "EngineTestSupport.h"
#include "binding/Binding.h"
#include "binding/LibAV.h"
#include "binding/LogBridge.h"
#include "binding/Owners.h"

namespace tavrin::test {
namespace {

struct LibraryLogLines : ::testing::Test {
    EventRecorder rec;  // outlives the engine, whose threads call it
    TFFmpegEngine engine;
    std::mutex mutex;
    std::vector<std::tuple<int, TLogLevel, std::string>> lines;

    void SetUp() override {
        ASSERT_TRUE(engine.LoadCodecLibraries("", true));
        engine.OnLog = [this](int index, TLogLevel level, const std::string& msg) {
            std::lock_guard l(mutex);
            lines.emplace_back(index, level, msg);
        };
    }
    std::vector<std::string> Texts() {
        std::lock_guard l(mutex);
        std::vector<std::string> t;
        for (auto& [i, lvl, msg] : lines)
            t.push_back(msg);
        return t;
    }
};

TEST_F(LibraryLogLines, TextWithoutALineFeedWaitsAndJoinsTheNextMessageOfThatThread) {
    LibraryLog(AV_LOG_ERROR, "first half ");
    EXPECT_TRUE(Texts().empty());
    std::thread other([] { LibraryLog(AV_LOG_ERROR, "other thread\n"); });
    other.join();
    LibraryLog(AV_LOG_ERROR, "second half\n");
    EXPECT_EQ(Texts(), (std::vector<std::string>{"other thread", "first half second half"}));
}

TEST_F(LibraryLogLines, TwoLineFeedsGiveTwoEventsAndTheTailWaits) {
    LibraryLog(AV_LOG_ERROR, "one\ntwo\nthr");
    EXPECT_EQ(Texts(), (std::vector<std::string>{"one", "two"}));
    LibraryLog(AV_LOG_ERROR, "ee\n");
    EXPECT_EQ(Texts().back(), "three");
    std::lock_guard l(mutex);
    EXPECT_EQ(std::get<0>(lines[0]), -1);  // no task runs on this thread
    EXPECT_EQ(std::get<1>(lines[0]), llError);
}

TEST_F(LibraryLogLines, LongMessagesArriveWhole) {
    const std::string longText(5000, 'x');
    LibraryLog(AV_LOG_ERROR, longText + "\n");
    ASSERT_EQ(Texts().size(), 1u);
    EXPECT_EQ(Texts()[0], longText);
}

TEST_F(LibraryLogLines, LevelsAreFilteredByTheEngineLevelAndMapped) {
    engine.SetLogLevel(llError);
    LibraryLog(AV_LOG_INFO, "info hidden\n");
    LibraryLog(AV_LOG_ERROR, "error shown\n");
    engine.SetLogLevel(llDebug);
    LibraryLog(AV_LOG_WARNING, "warning\n");
    LibraryLog(AV_LOG_DEBUG, "debug\n");
    LibraryLog(AV_LOG_TRACE, "trace hidden\n");
    engine.SetLogLevel(llQuiet);
    LibraryLog(AV_LOG_PANIC, "quiet hides all\n");
    std::lock_guard l(mutex);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(std::get<2>(lines[0]), "error shown");
    EXPECT_EQ(std::get<1>(lines[0]), llError);
    EXPECT_EQ(std::get<1>(lines[1]), llInfo);
    EXPECT_EQ(std::get<1>(lines[2]), llDebug);
}

TEST_F(LibraryLogLines, AMessageWithAContextStartsWithItsNameAndClassAddress) {
    CodecContextPtr ctx(avcodec_alloc_context3(avcodec_find_encoder(AV_CODEC_ID_MPEG4)));
    ASSERT_TRUE(ctx);
    av_log(ctx.get(), AV_LOG_ERROR, "hello %d\n", 42);
    ASSERT_EQ(Texts().size(), 1u);
    char addr[32];
    std::snprintf(addr, sizeof addr, "%08" PRIXPTR, reinterpret_cast<uintptr_t>(ctx->av_class));
    EXPECT_EQ(Texts()[0], std::string("[mpeg4 @ ") + addr + "]hello 42");
}

TEST_F(LibraryLogLines, LinesFromATasksThreadCarryItsIndex) {
    rec.Attach(engine);
    engine.OnLog = [this](int index, TLogLevel level, const std::string& msg) {
        std::lock_guard l(mutex);
        lines.emplace_back(index, level, msg);
    };
    auto first = MakeScriptedTask(1);
    auto second = MakeScriptedTask(1);
    second->libraryLine = "from the second task\n";
    engine.AdoptTask(first);
    engine.AdoptTask(second);
    engine.StartTasks(2);
    ASSERT_TRUE(rec.WaitForFinal());
    std::lock_guard l(mutex);
    auto it = std::find_if(lines.begin(), lines.end(),
                           [](auto& t) { return std::get<2>(t) == "from the second task"; });
    ASSERT_NE(it, lines.end());
    EXPECT_EQ(std::get<0>(*it), 1);
}

}  // namespace
}  // namespace tavrin::test
