// The options of the option language that need more than storing their value. Each takes
// the task, the option name (several options share one handler) and the value.
#pragma once

#include <cstdint>
#include <string>

namespace tavrin {

class TCustomFFmpeg;

namespace options {

using Handler = void (*)(TCustomFFmpeg& task, const std::string& name, const std::string& value);

// Files, times, maps and task-wide settings (OptionHandlersTask.cpp).
void Format(TCustomFFmpeg&, const std::string&, const std::string&);
void Duration(TCustomFFmpeg&, const std::string&, const std::string&);
void Timestamp(TCustomFFmpeg&, const std::string&, const std::string&);
void InputTsScale(TCustomFFmpeg&, const std::string&, const std::string&);
void Map(TCustomFFmpeg&, const std::string&, const std::string&);
void MapMetaData(TCustomFFmpeg&, const std::string&, const std::string&);
void Verbosity(TCustomFFmpeg&, const std::string&, const std::string&);
void Target(TCustomFFmpeg&, const std::string&, const std::string&);
void Bitrate(TCustomFFmpeg&, const std::string&, const std::string&);
void Pass(TCustomFFmpeg&, const std::string&, const std::string&);
void VideoStats(TCustomFFmpeg&, const std::string&, const std::string&);
void VideoHook(TCustomFFmpeg&, const std::string&, const std::string&);
void NewStream(TCustomFFmpeg&, const std::string&, const std::string&);
void AudioSetting(TCustomFFmpeg&, const std::string&, const std::string&);
void MaxFrames(TCustomFFmpeg&, const std::string&, const std::string&);

// Picture and codec settings (OptionHandlersPicture.cpp).
void FrameRate(TCustomFFmpeg&, const std::string&, const std::string&);
void FrameSize(TCustomFFmpeg&, const std::string&, const std::string&);
void Aspect(TCustomFFmpeg&, const std::string&, const std::string&);
void PixelFormat(TCustomFFmpeg&, const std::string&, const std::string&);
void Crop(TCustomFFmpeg&, const std::string&, const std::string&);
void Pad(TCustomFFmpeg&, const std::string&, const std::string&);
void PadColor(TCustomFFmpeg&, const std::string&, const std::string&);
void QScale(TCustomFFmpeg&, const std::string&, const std::string&);
void Codec(TCustomFFmpeg&, const std::string&, const std::string&);
void Tag(TCustomFFmpeg&, const std::string&, const std::string&);
void Matrix(TCustomFFmpeg&, const std::string&, const std::string&);

// "pgmyuv" becomes "image2" with the compatibility flag and a notice.
std::string FormatName(TCustomFFmpeg& task, const std::string& name);
// The pad colour from a 0x00BBGGRR value.
void SetPadColor(TCustomFFmpeg& task, uint32_t bgr);

}  // namespace options
}  // namespace tavrin
