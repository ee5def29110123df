// The three routines that turn the setting combos into the engine's output record. Each
// profile kind uses one of them; a text that should hold a number and does not raises
// ESettingTextError.
#pragma once

#include "OptionRecords.h"
#include "catalogue/ProfileControls.h"

#include <string_view>

namespace tavrin {

// Signature shared by the three routines; key is the profile's container key ("MP4").
using TOutputSettingsRoutine = void (*)(const TProfileControls& controls, std::string_view key,
                                        TOutputOptions& options);

// Codec, bit rates, sample rate, size, aspect, channels and the audio-only flag.
void MapCommonSettings(const TProfileControls& controls, std::string_view key,
                       TOutputOptions& options);
// iPod, iPod Touch and Apple TV kinds: always AAC, always a fixed size.
void MapAppleSettings(const TProfileControls& controls, std::string_view key,
                      TOutputOptions& options);
// 3GP and 3G2 kinds: AMR mono, audio bit rates in bits per second.
void Map3GPSettings(const TProfileControls& controls, std::string_view key,
                    TOutputOptions& options);

// Keys of containers that carry sound only; their jobs send no video.
bool IsAudioOnlyKey(std::string_view key);

}  // namespace tavrin
