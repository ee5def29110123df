// The files a task has opened and created, with their owners and per-stream state.
#pragma once

#include <sys/types.h>

#include <memory>
#include <string>
#include <vector>

#include "binding/Owners.h"

namespace tavrin {

// Closes the byte stream (when the format writes a file) and frees the context.
struct OutputContextDeleter {
    void operator()(AVFormatContext* oc) const;
};
using OutputContextPtr = std::unique_ptr<AVFormatContext, OutputContextDeleter>;

struct TInputStreamInfo {
    // Decoder settings taken from the stream and the options; opened by the transcoding
    // loop when the stream is decoded.
    CodecContextPtr Decoder;
};

struct TInputFile {
    InputContextPtr Context;
    std::string FileName;
    int64_t TsOffset = 0;  // microseconds
    bool RateEmulation = false;
    std::vector<TInputStreamInfo> Streams;
};

struct TOutputStreamInfo {
    bool StreamCopy = false;
    float Quality = 0;         // fixed quantiser as lambda, 0 when none
    CodecContextPtr Encoder;   // encoder settings; opened by the transcoding loop
};

// The regular file an output's byte stream created on disk, so that releasing the task
// deletes that file and nothing else (not a device, not a file since put in its place).
struct TCreatedFile {
    std::string Path;  // empty when the output is no local regular file
    dev_t Device = 0;
    ino_t Inode = 0;

    // Called once the byte stream is open; fileName is the output's name or URL.
    static TCreatedFile Find(const std::string& fileName);
    bool StillThere() const;
};

struct TOutputFile {
    OutputContextPtr Context;
    std::string FileName;
    std::vector<TOutputStreamInfo> Streams;
    TCreatedFile Created;
};

struct TTaskFiles {
    std::vector<TInputFile> Inputs;
    std::vector<TOutputFile> Outputs;
    bool DiscardOutputs = false;  // the run found them worthless: released, they are deleted
};

// The user-facing text for a failed open of FileName with library error code.
std::string ErrorTextFor(const std::string& FileName, int code);
// The user-facing text for a failed open of the input FileName: code is the library's
// result, libraryError the first error it logged meanwhile (may be empty). Today's
// libraries report a file no demuxer recognises, a damaged one and a cut one alike, and
// some demuxers refuse a header with a code that names another cause; reading the file
// again tells these apart.
std::string InputOpenErrorText(const std::string& FileName, int code, const std::string& libraryError);

}  // namespace tavrin
