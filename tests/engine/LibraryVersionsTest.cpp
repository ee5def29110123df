// The codec libraries' versions and licences as the about box shows them.
#include "CodecLibraries.h"

#include <gtest/gtest.h>

#include <regex>

namespace tavrin::test {
namespace {

TEST(CodecLibraryVersions, PacksAsMajorMinorMicro) {
    EXPECT_EQ(VersionText((59u << 16) | (37u << 8) | 100u), "59.37.100");
    EXPECT_EQ(VersionText(0), "0.0.0");
}

TEST(CodecLibraryVersions, ReportsEveryLibraryWithTheMajorItWasBuiltFor) {
    const auto libraries = CodecLibraryVersions();
    ASSERT_EQ(libraries.size(), 5u);
    const char* names[] = {"libavcodec", "libavformat", "libavutil", "libswscale", "libswresample"};
    const std::regex version(R"((\d+)\.\d+\.\d+)");
    for (size_t i = 0; i < libraries.size(); ++i) {
        const TCodecLibraryInfo& library = libraries[i];
        EXPECT_EQ(library.Name, names[i]);
        std::smatch loaded, built;
        ASSERT_TRUE(std::regex_match(library.Version, loaded, version)) << library.Version;
        ASSERT_TRUE(std::regex_match(library.BuiltVersion, built, version)) << library.BuiltVersion;
        // The library check refuses another major version, so the two always agree here.
        EXPECT_EQ(loaded[1], built[1]) << library.Name;
        EXPECT_NE(library.License.find("GPL"), std::string::npos) << library.License;
    }
}

}  // namespace
}  // namespace tavrin::test
