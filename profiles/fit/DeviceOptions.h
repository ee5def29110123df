// A device's limits as encoder options: the ExtraOptions lines of the engine's option
// language that make libx264 or the MPEG-4 encoder keep within them, and the log lines for
// the user's choices that go beyond them.
#pragma once

#include "fit/DeviceLimits.h"
#include "fit/EncoderValues.h"
#include "OptionRecords.h"

#include <string>
#include <vector>

namespace tavrin {

// The family of a video encoder name ("libx264", "mpeg4"); nothing for the others.
std::optional<TVideoFamily> VideoFamilyOf(std::string_view videoEncoder);

// Video of options (size frame, rate fps, codec and bit rate as set) on device: adds the
// encoder option lines to options.ExtraOptions and the notes to notes.
void ApplyDeviceVideoLimits(TDevice device, TFrameSize frame, double fps,
                            TOutputOptions& options, std::vector<std::string>& notes);
// Audio of options on device: AAC Low Complexity, channels capped, notes for bit rate and
// sample rate beyond the device.
void ApplyDeviceAudioLimits(TDevice device, TOutputOptions& options,
                            std::vector<std::string>& notes);

}  // namespace tavrin
