#pragma once
// Short media files made with the ffmpeg program once per test run, in a temporary folder.

#include <QSize>
#include <QString>

namespace player_test {

constexpr int kClipWidth = 176;
constexpr int kClipHeight = 144;
constexpr int kClipSeconds = 2;

// Full path of a clip, made on first use: "clip.mp4" (H.264/AAC), "clip.avi" (MPEG-4/MP3),
// "clip.wmv" (WMV/WMA), "tone.mp3", "tone.wav", "notmedia.avi" (text), "truncated.mp4"
// (the head of clip.mp4). Any other name gives a path where no file is. A clip that cannot
// be made fails the running test.
QString Clip(const QString& name);

}  // namespace player_test
