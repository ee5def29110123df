// Options about files, times, maps and the task as a whole.
#include <array>
#include <chrono>
#include <cmath>
#include <ctime>
#include <filesystem>
#include <limits>

#include "common/FFMpegException.h"
#include "options/FFmpeg.h"
#include "options/OptionContexts.h"
#include "options/OptionHandlers.h"
#include "options/OptionParsing.h"

namespace tavrin::options {
namespace {

int64_t ParseTimeValue(const std::string& name, const std::string& value, bool duration) {
    int64_t us = 0;
    if (av_parse_time(&us, value.c_str(), duration ? 1 : 0) < 0)
        throw FFMpegException("Invalid " + std::string(duration ? "duration" : "date") +
                              " specification for " + name + ": " + value);
    return us;
}

// "a:b[:c:d]" read with C conversions, one separator character skipped after each number.
std::array<int, 4> ReadMapNumbers(const std::string& value, bool withSync) {
    std::array<int, 4> n{};
    size_t pos = 0;
    bool more = false;  // a separator followed the last number
    auto next = [&] {
        const int v = CStrToInt(value, pos);
        more = pos < value.size();
        if (more) ++pos;
        return v;
    };
    n[0] = next();
    n[1] = next();
    if (withSync && more) {
        n[2] = next();
        n[3] = next();
    } else {
        n[2] = n[0];
        n[3] = n[1];
    }
    return n;
}

std::string ProgramFolder() {
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return "";
    std::string folder = exe.parent_path().string();
    return folder.empty() || folder.back() == '/' ? folder : folder + "/";
}

}  // namespace

std::string FormatName(TCustomFFmpeg& task, const std::string& name) {
    if (name != "pgmyuv")
        return name;
    task.Opt.PgmYuvCompat = true;
    task.Log(1, "pgmyuv format is deprecated, use image2");
    return "image2";
}

void Format(TCustomFFmpeg& task, const std::string&, const std::string& value) {
    const std::string name = FormatName(task, value);
    const bool input = av_find_input_format(name.c_str()) != nullptr;
    const bool output = av_guess_format(name.c_str(), nullptr, nullptr) != nullptr;
    task.Opt.ForcedInputFormat = input ? name : "";
    task.Opt.ForcedOutputFormat = output ? name : "";
    if (!input && !output)
        throw FFMpegException("Unknown input or output format: " + value);
}

void Duration(TCustomFFmpeg& task, const std::string& name, const std::string& value) {
    const int64_t us = ParseTimeValue(name, value, true);
    if (name == "ss") {
        task.Opt.StartTime = us;
    } else if (name == "itsoffset") {
        task.Opt.NextInputTsOffset = us;
    } else if (const int64_t ms = us / 1000; ms > 0) {
        task.Opt.RecordingTime = ms * 1000;
        task.TotalOutputDuration = static_cast<int>(std::min<int64_t>(ms, std::numeric_limits<int>::max()));
    }
}

void Timestamp(TCustomFFmpeg& task, const std::string& name, const std::string& value) {
    const int64_t us = ParseTimeValue(name, value, false);
    task.Opt.RecTimestamp = std::llround(static_cast<double>(us) / 1000000.0);
}

void InputTsScale(TCustomFFmpeg& task, const std::string&, const std::string& value) {
    size_t pos = 0;
    const int stream = CStrToInt(value, pos);
    if (pos < value.size()) ++pos;
    const double scale = CStrToDouble(value, pos);
    if (stream < 0 || stream >= kMaxStreams)
        throw FFMpegException("stream index over MAX_STREAMS(" + std::to_string(kMaxStreams) + ")");
    const size_t file = task.InputFileCount();
    if (file >= static_cast<size_t>(kMaxFiles))
        throw FFMpegException("input file index over MAX_FILES(" + std::to_string(kMaxFiles) + ")");
    task.Opt.InputTsScale[file][stream] = scale;
}

void Map(TCustomFFmpeg& task, const std::string&, const std::string& value) {
    if (task.Opt.StreamMaps.size() >= static_cast<size_t>(kMaxMaps))
        throw FFMpegException("Too many stream maps: at most " + std::to_string(kMaxMaps) + " are allowed");
    const auto n = ReadMapNumbers(value, true);
    task.Opt.StreamMaps.push_back(TStreamMap{n[0], n[1], n[2], n[3]});
}

void MapMetaData(TCustomFFmpeg& task, const std::string&, const std::string& value) {
    if (task.Opt.MetaDataMaps.size() >= static_cast<size_t>(kMaxMaps))
        throw FFMpegException("Too many metadata maps: at most " + std::to_string(kMaxMaps) + " are allowed");
    const auto n = ReadMapNumbers(value, false);
    task.Opt.MetaDataMaps.push_back(TMetaDataMap{n[0], n[1]});
}

void Verbosity(TCustomFFmpeg& task, const std::string&, const std::string& value) {
    task.SetVerbosity(ParseInt(value));
}

void Target(TCustomFFmpeg& task, const std::string&, const std::string& value) {
    const std::string t = TrimText(value);
    for (const char* norm : {"pal", "ntsc", "film"}) {
        const std::string prefix = std::string(norm) + "-";
        if (t.starts_with(prefix)) {
            task.ApplyTarget(t.substr(prefix.size()), norm, "ntsc");
            return;
        }
    }
    task.ApplyTarget(t, "auto", "ntsc");
}

void Bitrate(TCustomFFmpeg& task, const std::string& name, const std::string& value) {
    if (!task.SetGenericOption(name, value) || !task.LogHandlerBound())
        return;
    AVCodecContext* ctx = task.OptionContexts().codec[name.starts_with("a") ? mkAudio : mkVideo].get();
    int64_t rate = 0;
    if (ctx && av_opt_get_int(ctx, "b", 0, &rate) >= 0 && rate < 1000)
        task.Log(1, "WARNING: The bitrate parameter is set too low. It takes bits/s as argument, not kbits/s");
}

void Pass(TCustomFFmpeg& task, const std::string&, const std::string& value) {
    const int pass = ParseInt(value);
    if (pass != 1 && pass != 2)
        throw FFMpegException("pass number can be only 1 or 2");
    task.Opt.DoPass = pass;
}

void VideoStats(TCustomFFmpeg& task, const std::string&, const std::string&) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char hhnnss[16];
    std::strftime(hhnnss, sizeof hhnnss, "%H%M%S", &local);
    task.Opt.VideoStatsFileName = ProgramFolder() + "vstats_" + hhnnss + ".log";
}

void VideoHook(TCustomFFmpeg& task, const std::string&, const std::string& value) {
    task.Hooks.AddFrameHook(value);
}

void NewStream(TCustomFFmpeg& task, const std::string& name, const std::string&) {
    task.AddStreamToLastOutput(name == "newvideo" ? mkVideo : name == "newaudio" ? mkAudio : mkSubtitle);
}

void AudioSetting(TCustomFFmpeg& task, const std::string& name, const std::string& value) {
    const int v = ParseInt(value);
    if (v > 0)
        (name == "ar" ? task.Opt.AudioSampleRate : task.Opt.AudioChannels) = v;
}

void MaxFrames(TCustomFFmpeg& task, const std::string& name, const std::string& value) {
    const int index = name == "vframes" ? 0 : name == "aframes" ? 1 : 2;
    task.Opt.MaxFrames[index] = ParseInt(value);
}

}  // namespace tavrin::options
