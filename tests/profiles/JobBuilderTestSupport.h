// A batch in memory over a real engine: the window view, the engine with the window's
// terminate handling, a job builder and private output and script folders.
#pragma once

#include "BatchDriver.h"
#include "FFmpegEngine.h"
#include "JobBuilder.h"
#include "MemoryJobWindow.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace tavrin::test {

std::string Fixture(const std::string& name);

class JobBuilderTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Selects an offered profile by caption, fills its combos and applies the quality preset.
    void Choose(const std::string& caption);
    // Adds a row for the file with the cells its probe gives.
    int AddFile(const std::string& path, bool checked = true);
    // Copies a fixture into the work folder under another name; returns the new path.
    std::string CopyFixture(const std::string& fixture, const std::string& name);
    // What the driver does before each call: mark the batch busy, then build.
    void Build();
    // Waits until the running row's task has ended (Converting cleared).
    bool WaitUntilIdle();
    std::string Progress(int row) const { return Window.RowCell(row, rcProgress); }
    int TaskCount() { return Engine.Tasks().Count(); }

    std::filesystem::path Work, Out, Scripts;
    TMemoryJobWindow Window;
    TFFmpegEngine Engine;  // after the window: its handlers write the window
    TJobBuilder Builder{Window, Engine};
};

}  // namespace tavrin::test
