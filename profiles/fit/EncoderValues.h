// Values an encoder can take, for the settings some profiles offer but the encoder cannot
// use as they are: AMR-NB only at 8000 Hz, MP3 and MPEG audio layer 2 only at their
// standard sample rates and bit rates, H.263 only at its standard picture sizes, MPEG-1
// video only at its standard frame rates. The job builder moves such a setting to the
// nearest value the encoder takes and says so in the row's log.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tavrin {

struct TFrameSize {
    int Width = 0;
    int Height = 0;
};

struct TFrameRate {
    int Num = 0;
    int Den = 1;
    double Value() const { return static_cast<double>(Num) / Den; }
};

// "640x480" -> 640 by 480; nothing for anything else ("original", "").
std::optional<TFrameSize> ParseFrameSize(std::string_view text);
std::string FrameSizeText(TFrameSize size);
// "25", "29.97", "24000/1001" as the engine's "r" option reads them; nothing when the text
// is none of these or not positive.
std::optional<TFrameRate> ParseFrameRate(std::string_view text);
// The engine's text of a rate: "25", "24000/1001".
std::string FrameRateOptionText(TFrameRate rate);
// A rate for people: "23.976", "29.97", "25".
std::string FpsText(double fps);

// The encoders by the names the profile routines give them ("libfaac", "libamr_nb",
// "mp2", "h263", "mpeg1video" ...). Each returns nothing when the encoder takes the value
// as it is (or takes any value).
std::optional<int> NearestSampleRate(std::string_view audioEncoder, int sampleRate);
// Bit rates in bits per second; some encoders' lists depend on the sample rate.
std::optional<int> NearestAudioBitrate(std::string_view audioEncoder, int sampleRate,
                                       int bitrate);
std::optional<TFrameSize> NearestFrameSize(std::string_view videoEncoder, TFrameSize size);
std::optional<TFrameRate> NearestFrameRate(std::string_view videoEncoder, double fps);

// The encoder's name for a log line: "AMR-NB", "H.263", "MPEG-1 video".
std::string EncoderLabel(std::string_view encoder);

}  // namespace tavrin
