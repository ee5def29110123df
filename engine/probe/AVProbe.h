// A media probe: opens one file with the codec libraries and reports its stream layout and
// the facts of the file and of its video streams, without decoding anything.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "setup/OpenedInputs.h"


struct AVFormatContext;
struct AVStream;

namespace tavrin {

// Facts of the whole file. Times are microseconds; a time the library does not know holds
// its no-value mark (the smallest 64-bit value). Texts are cut to the container's sizes.
struct TAVFileInfo {
    int64_t StartTime = -1;
    int64_t Duration = -1;
    int32_t BitRate = -1;     // bits/s
    int64_t Timestamp = -1;   // creation time, seconds since 1970 UTC
    std::string Title;        // at most 511 characters, like the four below
    std::string Author;
    std::string Copyright;
    std::string Comment;
    std::string Album;
    int32_t Year = -1;
    int32_t Track = -1;
    std::string Genre;        // at most 31 characters
};

// Facts of one video stream. StartTime and Duration are in the stream's time base; their
// microsecond forms stay -1 when the library does not know them.
struct TAVStreamInfo {
    std::string Language;     // at most 3 characters
    std::string CodecName;    // at most 31 characters
    int64_t StartTime = -1;
    int64_t StartTimeMicros = -1;
    int64_t Duration = -1;
    int64_t DurationMicros = -1;
    int32_t BitRate = -1;     // bits/s
    int32_t Height = -1;
    int32_t Width = -1;
    float DisplayAspect = -1.0f;
    int32_t PixelFormat = -1; // AVPixelFormat
    int32_t FrameRateNum = -1;
    int32_t FrameRateDen = -1;
};

// Not thread-safe: one owner uses it from one thread at a time.
class TAVProbe {
public:
    TAVProbe() = default;
    ~TAVProbe() { Close(); }
    TAVProbe(const TAVProbe&) = delete;
    TAVProbe& operator=(const TAVProbe&) = delete;

    // Throws std::runtime_error ("LibAVCodec not loaded." …) when a library is missing.
    static void CheckLibraries();
    // Whether the linked libraries have an input format of that name (e.g. "avisynth").
    static bool HasInputFormat(const std::string& name);

    // Replaces any open file. FormatName forces an input format when not empty. False with
    // LastError set (and the probe closed) when the file cannot be opened and read.
    bool Open(const std::string& FileName, const std::string& FormatName);
    void Close();
    // Closes the probe, keeping its opened input for the task that converts the same file
    // next (a forced format is not kept: a task opens with its own settings).
    void KeepForConversion();

    // Without an open file (or with a bad index) these leave the defaults and log why.
    void GetFileInfo(TAVFileInfo& Info) const;
    void GetVideoInfo(TAVStreamInfo& Info) const { GetStreamInfo(-1, Info); }
    void GetStreamInfo(int Index, TAVStreamInfo& Info) const;

    // -1 while no file is open. Data streams count only in StreamCount.
    int StreamCount() const { return counts_.Streams; }
    int ProgramCount() const { return counts_.Programs; }
    int AudioStreamCount() const { return counts_.Audio; }
    int VideoStreamCount() const { return counts_.Video; }
    int SubtitleStreamCount() const { return counts_.Subtitle; }
    int FirstAudioStream() const { return counts_.FirstAudio; }
    int FirstVideoStream() const { return counts_.FirstVideo; }
    int FirstSubtitleStream() const { return counts_.FirstSubtitle; }

    // The reason of the last failed Open; a later success leaves it as it was.
    const std::string& LastError() const { return lastError_; }
    // The format forced at the last successful Open; empty when none or when closed.
    const std::string& FormatName() const { return formatName_; }

private:
    struct TStreamCounts {
        int Streams = -1, Programs = -1;
        int Audio = -1, Video = -1, Subtitle = -1;
        int FirstAudio = -1, FirstVideo = -1, FirstSubtitle = -1;
    };
    static TStreamCounts CountStreams(const AVFormatContext& ctx);
    // The stream Index names after the checks that log, or null.
    const AVStream* VideoStreamAt(int Index) const;

    struct InputCloser {
        void operator()(AVFormatContext* ctx) const;
    };
    std::unique_ptr<AVFormatContext, InputCloser> context_;
    TStreamCounts counts_;
    std::string lastError_;
    std::string formatName_;
    std::string fileName_;
    TFileIdentity identity_;
};

}  // namespace tavrin
