// The library check, its failure texts and the open-error texts.
#include <dlfcn.h>

#include <fstream>

#include "EngineTestSupport.h"
#include "setup/TaskFiles.h"
#include "binding/Binding.h"
#include "binding/LibAV.h"

namespace tavrin::test {
namespace {

std::string LoadedPathOf(void* symbol) {
    Dl_info info{};
    EXPECT_NE(dladdr(symbol, &info), 0);
    return info.dli_fname;
}

// A folder holding links to the libraries this program runs with, minus the skipped one.
std::filesystem::path LibraryFolder(TLibraryUnit skip) {
    const std::pair<TLibraryUnit, void*> libs[] = {
        {TLibraryUnit::AVCodec, reinterpret_cast<void*>(&avcodec_version)},
        {TLibraryUnit::AVFormat, reinterpret_cast<void*>(&avformat_version)},
        {TLibraryUnit::AVUtil, reinterpret_cast<void*>(&avutil_version)},
        {TLibraryUnit::SwScale, reinterpret_cast<void*>(&swscale_version)},
        {TLibraryUnit::SwResample, reinterpret_cast<void*>(&swresample_version)},
    };
    auto dir = TempDir();
    for (auto [unit, sym] : libs)
        if (unit != skip)
            std::filesystem::create_symlink(LoadedPathOf(sym), dir / LibraryFileName(unit, true));
    return dir;
}

TEST(Binding, AFolderMissingOneLibraryFailsNamingItAndReleasesTheOthers) {
    UnloadLibraries();
    ASSERT_FALSE(LibrariesLoaded());
    std::string error;
    EXPECT_FALSE(LoadLibraries(LibraryFolder(TLibraryUnit::AVFormat).string(), true, error));
    EXPECT_EQ(error.rfind("Load libraray libavformat.so.59 error: ", 0), 0u) << error;
    EXPECT_FALSE(LibrariesLoaded());
    EXPECT_FALSE(LibraryResolved(TLibraryUnit::AVCodec));

    EXPECT_TRUE(LoadLibraries(LibraryFolder(TLibraryUnit::SwResample).string(), true, error) == false);
    EXPECT_NE(error.find("libswresample.so.4"), std::string::npos);

    const auto complete = LibraryFolder(static_cast<TLibraryUnit>(-1));
    EXPECT_TRUE(LoadLibraries(complete.string(), true, error)) << error;
    EXPECT_TRUE(LibraryResolved(TLibraryUnit::SwScale));
    // Loaded once: the second call does not look at the folder any more.
    std::filesystem::remove_all(complete);
    EXPECT_TRUE(LoadLibraries(complete.string(), true, error));
}

TEST(Binding, AFileThatIsNotTheLibraryFailsWithTheLoadText) {
    UnloadLibraries();
    auto dir = LibraryFolder(TLibraryUnit::AVCodec);
    {
        std::ofstream fake(dir / "libavcodec.so.59");
        fake << "not a library";
    }
    std::string error;
    EXPECT_FALSE(LoadLibraries(dir.string(), true, error));
    EXPECT_EQ(error.rfind("Load libraray libavcodec.so.59 error: ", 0), 0u) << error;
    EXPECT_TRUE(LoadLibraries("", true, error)) << error;
}

TEST(Binding, FileNamesAreTheSonamesOrThePlainNames) {
    EXPECT_EQ(LibraryFileName(TLibraryUnit::AVCodec, true), "libavcodec.so.59");
    EXPECT_EQ(LibraryFileName(TLibraryUnit::AVUtil, true), "libavutil.so.57");
    EXPECT_EQ(LibraryFileName(TLibraryUnit::SwScale, false), "libswscale.so");
}

TEST(Binding, OpenErrorsReadAsTheirMeaning) {
    EXPECT_EQ(ErrorTextFor("a.avi", AVERROR(ENOENT)), "a.avi: no such file or directory");
    EXPECT_EQ(ErrorTextFor("a.avi", AVERROR(ENOMEM)), "a.avi: memory allocation error occurred");
    EXPECT_EQ(ErrorTextFor("a.avi", AVERROR_INVALIDDATA), "a.avi: Error while parsing header");
    EXPECT_EQ(ErrorTextFor("a.avi", AVERROR(EILSEQ)), "a.avi: Unknown format");
    EXPECT_EQ(ErrorTextFor("a.avi", AVERROR(EIO)),
              "a.avi: I/O error occurred\r\nUsually that means that input file is truncated and/or corrupted.");
    EXPECT_EQ(ErrorTextFor("img.jpg", AVERROR(EDOM)),
              "img.jpg: Incorrect image filename syntax.\r\nUse '%d' to specify the image number:\r\n"
              "  for img1.jpg, img2.jpg, ..., use 'img%d.jpg';\r\n"
              "  for img001.jpg, img002.jpg, ..., use 'img%03d.jpg'.");
    // Without a fixed text the library's own words: not a header error for a muxer's refusal.
    EXPECT_EQ(ErrorTextFor("a.avi", AVERROR(EPERM)), "a.avi: Operation not permitted");
    EXPECT_EQ(ErrorTextFor("av_interleaved_write_frame()", AVERROR(EINVAL)), "av_interleaved_write_frame(): Invalid argument");
    EXPECT_EQ(ErrorTextFor("av_write_trailer()", AVERROR(ENOSPC)), "av_write_trailer(): No space left on device");
}

}  // namespace
}  // namespace tavrin::test
