// The built tavrin-convert run in a folder of its own per test, on copies of the fixtures.
#pragma once

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "ChildProcess.h"
#include "MediaInfo.h"

namespace tavrin::test {

namespace fs = std::filesystem;

inline const std::string kProgram = TAVRIN_CONVERT;

inline std::string Fixture(const std::string& name) { return std::string(TAVRIN_FIXTURE_DIR) + "/" + name; }

class ConvertProgram : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        // One folder per process as well: other checkouts on the machine run the same tests.
        Work = fs::temp_directory_path() / "tavrin-convert-tests" /
               (std::to_string(getpid()) + "-" + info->name());
        fs::remove_all(Work);
        fs::create_directories(Work);
        Out = Work / "OUT";
    }
    void TearDown() override { fs::remove_all(Work); }

    // Copies a fixture into the work folder under a new name.
    std::string Source(const std::string& fixture, const std::string& name)
    {
        const fs::path path = Work / name;
        fs::create_directories(path.parent_path());
        fs::copy_file(Fixture(fixture), path);
        return path.string();
    }
    RunResult Convert(std::vector<std::string> args)
    {
        args.insert(args.begin(), kProgram);
        return RunProgram(args);
    }
    // One video stream of the codec and size, one audio stream of the codec, duration near
    // the one-second source (audio codecs that take whole frames pad the last one, and ASF
    // adds its own lead-in: up to about 0.13 s more, as the ffmpeg program writes too).
    void ExpectVideo(const fs::path& file, const std::string& video, const std::string& size,
                     const std::string& audio)
    {
        const MediaInfo info = ProbeMedia(file.string());
        ASSERT_TRUE(info.ok) << file;
        ASSERT_EQ(info.Count("video"), 1) << file;
        ASSERT_EQ(info.Count("audio"), 1) << file;
        const Fields& v = *info.First("video");
        EXPECT_EQ(v.at("codec_name"), video) << file;
        EXPECT_EQ(v.at("width") + "x" + v.at("height"), size) << file;
        EXPECT_EQ(info.First("audio")->at("codec_name"), audio) << file;
        EXPECT_NEAR(info.duration, 1.0, 0.15) << file;
    }

    fs::path Work, Out;
};

}  // namespace tavrin::test
