#include <gtest/gtest.h>

#include "component/FFmpegEngine.h"

namespace {

// Loads the codec libraries once, as the converter does at start-up.
class LibraryEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        ASSERT_TRUE(engine_.LoadCodecLibraries("", true)) << engine_.LastErrorText();
    }

private:
    tavrin::TFFmpegEngine engine_;
};

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new LibraryEnvironment);
    return RUN_ALL_TESTS();
}
