// Settings records through which an application configures one engine task without
// writing option text. Field order and defaults follow the engine's option language;
// ResetInputOptions / ResetOutputOptions give the defaults.
#pragma once

#include <cstdint>
#include <string>

namespace tavrin {

struct TInputOptions {
    std::string FileName;      // filled with the input file name when empty
    std::string ForceFormat;   // input format name, or empty
    int32_t StartTime = -1;    // milliseconds; applied when > 0
    int32_t ProgramID = -1;    // applied when >= 0
    std::string ExtraOptions;  // name=value lines, applied first
};

struct TOutputOptions {
    std::string FileName;
    std::string Reserved;
    std::string ForceFormat;
    int32_t PacketSize = -1;
    int32_t MuxRate = -1;
    float MuxMaxDelay = -1.0f;
    float MuxPreload = -1.0f;
    std::string AudioCodec;
    bool DisableAudio = false;
    int32_t AudioVolume = -1;
    int32_t AudioChannels = -1;
    int32_t AudioSampleRate = -1;
    int32_t AudioBitrate = -1;
    int32_t AudioBitrateTolerance = -1;
    std::string AudioLanguage;
    int32_t AudioSyncMethod = 0;
    std::string AudioTag;
    std::string VideoCodec;
    bool DisableVideo = false;
    std::string FrameRate;
    std::string FrameSize;
    std::string AspectRatio;
    int32_t CropTop = -1;
    int32_t CropBottom = -1;
    int32_t CropLeft = -1;
    int32_t CropRight = -1;
    int32_t PadTop = -1;
    int32_t PadBottom = -1;
    int32_t PadLeft = -1;
    int32_t PadRight = -1;
    uint32_t PadColor = 0;     // 0x00BBGGRR
    int32_t GopSize = -1;
    int32_t VideoBitrate = -1;
    int32_t MaxRate = -1;
    int32_t MinRate = -1;
    int32_t BitrateTolerance = -1;
    int32_t BufferSize = -1;
    int32_t VideoSyncMethod = -1;
    std::string VideoTag;
    bool DisableSubtitle = false;
    std::string SubtitleLanguage;
    bool CopyTimestamps = false;
    int32_t TimeLimit = -1;    // milliseconds
    double Timestamp = -1.0;   // days since 30 Dec 1899, local time; 0 means now
    int32_t Year = -1;
    int32_t Track = -1;
    std::string Title;         // at most 511 characters are used
    std::string Author;
    std::string Copyright;
    std::string Comment;
    std::string Album;
    std::string Genre;         // at most 31 characters are used
    int32_t Target = 0;        // 0 none, 1 VCD, 2 SVCD, 3 DVD
    int32_t TargetNorm = 0;    // 0 auto, 1 PAL, 2 NTSC
    int32_t DefaultNorm = 1;   // 1 PAL, other NTSC
    bool UseCustomHook = false;
    bool UseBeforeHook = false;
    std::string HookRanges;
    std::string ExtraOptions;
};

inline void ResetInputOptions(TInputOptions& o) { o = TInputOptions{}; }
inline void ResetOutputOptions(TOutputOptions& o) { o = TOutputOptions{}; }

}  // namespace tavrin
