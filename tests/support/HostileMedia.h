// Damaged and unusual inputs made at test time from clean clips: transport streams with a
// stream emptied or garbled, and a way to keep every input a test made for a later sweep.
#pragma once

#include <string>

namespace tavrin::test {

// Copies an MPEG transport stream, leaving out every packet of one PID.
void DropTsStream(const std::string& src, const std::string& dst, int pid);

// Copies an MPEG transport stream, replacing each `from` by `to` (of the same length) in
// the payloads of one PID: breaks start codes while the packets still arrive.
void ReplaceInTsStream(const std::string& src, const std::string& dst, int pid, const std::string& from,
                       const std::string& to);

// When TAVRIN_KEEP_INPUTS names a folder, copies the input a test made there (name
// prefixed with the test's name), for tests/sweep/hostile-sweep.sh.
void KeepInput(const std::string& path);

}  // namespace tavrin::test
