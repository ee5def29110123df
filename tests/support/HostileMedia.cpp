#include "HostileMedia.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace tavrin::test {
namespace {

constexpr size_t kTsPacket = 188;

std::vector<char> ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

int PidOf(const char* packet) {
    return ((static_cast<unsigned char>(packet[1]) & 0x1f) << 8) | static_cast<unsigned char>(packet[2]);
}

template <typename Edit>
void RewriteTs(const std::string& src, const std::string& dst, Edit edit) {
    const std::vector<char> data = ReadAll(src);
    ASSERT_EQ(data.size() % kTsPacket, 0u) << src << " is not a plain transport stream";
    std::ofstream out(dst, std::ios::binary);
    for (size_t at = 0; at < data.size(); at += kTsPacket) {
        std::string packet(data.data() + at, kTsPacket);
        if (edit(packet))
            out.write(packet.data(), static_cast<std::streamsize>(packet.size()));
    }
    KeepInput(dst);
}

}  // namespace

void DropTsStream(const std::string& src, const std::string& dst, int pid) {
    RewriteTs(src, dst, [pid](std::string& packet) { return PidOf(packet.data()) != pid; });
}

void ReplaceInTsStream(const std::string& src, const std::string& dst, int pid, const std::string& from,
                       const std::string& to) {
    ASSERT_EQ(from.size(), to.size());
    RewriteTs(src, dst, [&](std::string& packet) {
        if (PidOf(packet.data()) == pid)
            for (size_t at = packet.find(from, 4); at != std::string::npos; at = packet.find(from, at + 1))
                packet.replace(at, to.size(), to);
        return true;
    });
}

void WriteInput(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    KeepInput(path);
}

void CutCopy(const std::string& src, const std::string& dst, size_t bytes) {
    const std::vector<char> data = ReadAll(src);
    ASSERT_LT(bytes, data.size()) << src;
    WriteInput(dst, std::string(data.data(), bytes));
}

void SetAviPictureSize(const std::string& src, const std::string& dst, int32_t width, int32_t height) {
    const std::vector<char> data = ReadAll(src);
    std::string avi(data.data(), data.size());
    // Little-endian fields: in "avih" after eight other ones, in "strf" after its length.
    const auto put = [&avi](size_t at, int32_t value) {
        for (int i = 0; i < 4; ++i)
            avi[at + static_cast<size_t>(i)] = static_cast<char>((static_cast<uint32_t>(value) >> (8 * i)) & 0xff);
    };
    const size_t main = avi.find("avih"), format = avi.find("strf");
    ASSERT_NE(main, std::string::npos) << src;
    ASSERT_NE(format, std::string::npos) << src;
    put(main + 8 + 32, width);
    put(main + 8 + 36, height);
    put(format + 8 + 4, width);
    put(format + 8 + 8, height);
    WriteInput(dst, avi);
}

std::string Y4mWithSize(const std::string& size) {
    std::string y4m = "YUV4MPEG2 " + size + " F25:1 Ip A1:1 C420jpeg\n";
    for (int i = 0; i < 3; ++i)
        y4m += "FRAME\n" + std::string(384, '\0');
    return y4m;
}

void KeepInput(const std::string& path) {
    const char* dir = std::getenv("TAVRIN_KEEP_INPUTS");
    if (!dir || !*dir)
        return;
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string prefix = info ? std::string(info->test_suite_name()) + "." + info->name() + "-" : "";
    for (char& c : prefix)
        if (c == '/')
            c = '_';
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    std::filesystem::copy_file(path, std::filesystem::path(dir) / (prefix + std::filesystem::path(path).filename().string()),
                               std::filesystem::copy_options::overwrite_existing, ec);
}

}  // namespace tavrin::test
