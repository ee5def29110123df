// A task with fresh option settings, optionally adopted by an engine that records its log.
#pragma once

#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <vector>

#include "common/FFMpegException.h"
#include "EngineTestSupport.h"
#include "component/FFmpegEngine.h"
#include "options/OptionContexts.h"
#include "binding/LibAV.h"

namespace tavrin::test {

struct OptionTask : ::testing::Test {
    TFFmpegEngine engine;
    std::shared_ptr<TFFmpeg> task = std::make_shared<TFFmpeg>();
    std::mutex mutex;
    std::vector<std::string> logs;

    void SetUp() override { task->ResetOptions(); }

    void BindLog() {
        engine.AdoptTask(task);
        engine.OnLog = [this](int, TLogLevel, const std::string& msg) {
            std::lock_guard l(mutex);
            logs.push_back(msg);
        };
    }
    std::vector<std::string> Logs() {
        std::lock_guard l(mutex);
        return logs;
    }
    bool Logged(const std::string& text) {
        auto l = Logs();
        return std::find(l.begin(), l.end(), text) != l.end();
    }
    // The message an option fails with; empty when it succeeds.
    std::string ErrorOf(const std::string& name, const std::string& value) {
        try {
            task->DispatchOption(name, value);
        } catch (const FFMpegException& e) {
            return e.what();
        }
        return "";
    }
    int64_t CodecOption(TMediaKind kind, const char* name) {
        int64_t v = 0;
        EXPECT_GE(av_opt_get_int(task->OptionContexts().codec[kind].get(), name, 0, &v), 0) << name;
        return v;
    }
};

}  // namespace tavrin::test
