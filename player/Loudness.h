#pragma once
// The player's loudness scale: a linear level 0..10000 becomes an attenuation in hundredths of
// a decibel, which the audio output takes as a linear gain.

constexpr int kMinVolumeLevel = 0;
constexpr int kMaxVolumeLevel = 10000;
constexpr int kSilentAttenuation = -10000;  // hundredths of a dB

int ClampVolumeLevel(int level);
// round(ln(level + 1) * 1085.73) - 10000 of the clamped level: 10000 -> 0, 0 -> -10000.
int VolumeAttenuation(int level);
// Amplitude gain of an attenuation; the silent end and below give 0.
float AttenuationGain(int hundredthsOfDb);
float VolumeGain(int level);
