// Damaged and unusual inputs made at test time from clean clips: transport streams with a
// stream emptied or garbled, files cut short, headers with impossible picture sizes, and a
// way to keep every input a test made for a later sweep.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace tavrin::test {

// Copies an MPEG transport stream, leaving out every packet of one PID.
void DropTsStream(const std::string& src, const std::string& dst, int pid);

// Copies an MPEG transport stream, replacing each `from` by `to` (of the same length) in
// the payloads of one PID: breaks start codes while the packets still arrive.
void ReplaceInTsStream(const std::string& src, const std::string& dst, int pid, const std::string& from,
                       const std::string& to);

// Writes bytes as the file path (kept for the sweep like the other inputs made here).
void WriteInput(const std::string& path, const std::string& bytes);

// Copies the first `bytes` bytes of src: a file cut short.
void CutCopy(const std::string& src, const std::string& dst, size_t bytes);

// Copies an AVI, giving its main header and its first stream format the picture size
// width x height (raw 32-bit fields: a negative value is written as the file would hold it).
void SetAviPictureSize(const std::string& src, const std::string& dst, int32_t width, int32_t height);

// A YUV4MPEG2 stream whose header gives `size` ("W0 H0"), with three small frames.
std::string Y4mWithSize(const std::string& size);

// When TAVRIN_KEEP_INPUTS names a folder, copies the input a test made there (name
// prefixed with the test's name), for tests/sweep/hostile-sweep.sh.
void KeepInput(const std::string& path);

}  // namespace tavrin::test
