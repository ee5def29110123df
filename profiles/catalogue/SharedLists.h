// Item lists that several profiles offer unchanged. The blanks inside items are part of the
// text: the value rules cut at the first blank.
#pragma once

#include <array>
#include <string_view>

namespace tavrin {

// Audio bit rates.
inline constexpr std::array<std::string_view, 13> kListA{
    "32 Kbps",  "40 Kbps",  "48 Kbps",  "64 Kbps",  "80 Kbps",  "96 Kbps", "112 Kbps",
    "128 Kbps", "160 Kbps", "192 Kbps", "224 Kbps", "256 Kbps", "320 Kbps"};

// AMR audio bit rates, in bits per second.
inline constexpr std::array<std::string_view, 8> kListB{
    "4750 bps", "5150 bps", "5900 bps", "6700 bps", "7400 bps", "7950 bps", "10200 bps",
    "12200 bps"};

// Sample rates.
inline constexpr std::array<std::string_view, 8> kListR{
    "8000 Hz", "16000 Hz", "22050 Hz", "32000 Hz", "44100 Hz", "48000 Hz", "54000 Hz",
    "96000 Hz"};

// Sample rates whose first item carries two blanks.
inline constexpr std::array<std::string_view, 8> kListR2{
    "8000  Hz", "16000 Hz", "22050 Hz", "32000 Hz", "44100 Hz", "48000 Hz", "54000 Hz",
    "96000 Hz"};

// Frame rates.
inline constexpr std::array<std::string_view, 7> kListF{
    "Auto", "14.985 fps", "15.0 fps", "23.975 fps", "25.0 fps", "29.97 fps", "30.0 fps"};

// Frame sizes.
inline constexpr std::array<std::string_view, 23> kListS{
    "Original Video Size", "128 x 96 (SQCIF)", "160 x 120 (QVGA)", "176 x 120",
    "176 x 144 (QCIF)",    "192 x 144",        "208 x 176",        "220 x 176",
    "240 x 180",           "320 x 200",        "320 x 240 (VGA)",  "352 x 240",
    "352 x 288 (CIF)",     "480 x 272",        "480 x 360",        "480 x 480",
    "480 x 576",           "624 x 352",        "640 x 352",        "640 x 480",
    "704 x 576 (4CIF)",    "720 x 480",        "720 x 576"};

// Video bit rates.
inline constexpr std::array<std::string_view, 13> kListV{
    "192 Kbps",  "200 Kbps",  "216 Kbps",  "384 Kbps",  "512 Kbps",  "640 Kbps", "768 Kbps",
    "1000 Kbps", "1200 Kbps", "1500 Kbps", "1600 Kbps", "2000 Kbps", "2500 Kbps"};

// AVI video bit rates.
inline constexpr std::array<std::string_view, 13> kListV2{
    "192 Kbps", "200 Kbps",  "216 Kbps",  "256 Kbps",  "384 Kbps",  "512 Kbps", "640 Kbps",
    "768 Kbps", "800 Kbps",  "1000 Kbps", "1200 Kbps", "1500 Kbps", "2500 Kbps"};

// Apple video bit rates.
inline constexpr std::array<std::string_view, 5> kListVA{
    "512 Kbps", "800 Kbps", "1200 Kbps", "1500 Kbps", "2500 Kbps"};

}  // namespace tavrin
