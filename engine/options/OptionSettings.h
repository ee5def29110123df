// The settings a task's options write, with their defaults (a reset assigns a fresh
// TOptionSettings). Opening an input and creating an output consume them.
#pragma once

#include <array>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tavrin {

struct TRational {
    int num = 0;
    int den = 0;
    bool operator==(const TRational&) const = default;
};

struct TStreamMap {
    int file = 0, stream = 0, syncFile = 0, syncStream = 0;
    bool operator==(const TStreamMap&) const = default;
};

struct TMetaDataMap {
    int outFile = 0, inFile = 0;
    bool operator==(const TMetaDataMap&) const = default;
};

// (name, value) pairs in the order they were given.
using TPrivateOptions = std::vector<std::pair<std::string, std::string>>;

enum TMediaKind { mkVideo, mkAudio, mkData, mkSubtitle, mkAttachment, mkCount };

constexpr int kMaxFiles = 20;
constexpr int kMaxStreams = 20;
constexpr int kMaxMaps = 20;

struct TOptionSettings {
    // Formats are kept by name and looked up when a file is opened or created.
    std::string ForcedInputFormat;
    std::string ForcedOutputFormat;
    bool PgmYuvCompat = false;
    int FrameWidth = 0, FrameHeight = 0;
    float FrameAspectRatio = 0;
    int FramePixFmt = -1;
    int PadTop = 0, PadBottom = 0, PadLeft = 0, PadRight = 0;
    int PadColor[3] = {16, 128, 128};  // Y, U, V
    int CropTop = 0, CropBottom = 0, CropLeft = 0, CropRight = 0;
    int MaxFrames[4] = {2147483647, 2147483647, 2147483647, 2147483647};  // video, audio, data, subtitle
    TRational FrameRate;
    float VideoQScale = 0;
    std::optional<std::array<uint16_t, 64>> IntraMatrix, InterMatrix;
    std::optional<std::string> VideoRcOverride;
    bool VideoDisable = false, AudioDisable = false, SubtitleDisable = false;
    int VideoDiscard = 0;
    std::optional<std::string> VideoCodecName, AudioCodecName, SubtitleCodecName;
    bool VideoStreamCopy = false, AudioStreamCopy = false, SubtitleStreamCopy = false;
    uint32_t VideoCodecTag = 0, AudioCodecTag = 0;
    bool SameQuality = false;
    bool Deinterlace = false;
    int TopFieldFirst = -1;
    int MotionEstimationThreshold = 0;
    int IntraDcPrecision = 8;
    bool LoopInput = false;
    int LoopOutput = -1;
    bool QpHistogram = false;
    bool IntraOnly = false;
    int AudioSampleRate = 44100;
    float AudioQScale = -99999.0f;
    int AudioChannels = 2;
    std::string AudioLanguage, SubtitleLanguage;
    float MuxPreload = 0.5f, MuxMaxDelay = 0.7f;
    int64_t RecordingTime = std::numeric_limits<int64_t>::max();
    int64_t StartTime = 0;
    int64_t RecTimestamp = 0;
    int64_t NextInputTsOffset = 0;
    double InputTsScale[kMaxFiles][kMaxStreams] = {};
    std::string Title, Author, Copyright, Comment, Genre, Album;
    int Year = 0, Track = 0;
    bool HexDump = false, PacketDump = false, DoPsnr = false;
    int DoPass = 0;
    std::string PassLogFileName;
    int VideoSyncMethod = -1;
    int AudioSyncMethod = 0;
    float AudioDriftThreshold = 0.1f;
    bool CopyTimestamps = false;
    bool Shortest = false;
    int VideoGlobalHeader = 0;
    std::optional<std::string> VideoStatsFileName;
    int ProgramID = 0;
    bool RateEmulation = false;
    int VideoChannel = 0;
    std::optional<std::string> VideoStandard;
    int AudioVolume = 256;
    int ThreadCount = 1;
    int64_t FileSizeLimit = 0;
    bool InputSync = false;
    float DtsDeltaThreshold = 10.0f;
    int ScalerFlags = 4;  // bicubic
    std::vector<TStreamMap> StreamMaps;
    std::vector<TMetaDataMap> MetaDataMaps;
    std::vector<std::string> GenericOptionNames;  // library names of generic options set
    // Options that today's libraries keep private to particular encoders or muxers (the
    // option holders cannot hold them): for the encoders of each kind and for the muxer,
    // to be set where that encoder or muxer knows them (binding/PrivateOptions.h).
    TPrivateOptions EncoderPrivateOptions[mkCount];
    TPrivateOptions MuxerPrivateOptions;
};

}  // namespace tavrin
