#include "Loudness.h"

#include <algorithm>
#include <cmath>

int ClampVolumeLevel(int level)
{
    return std::clamp(level, kMinVolumeLevel, kMaxVolumeLevel);
}

int VolumeAttenuation(int level)
{
    const double clamped = ClampVolumeLevel(level);
    const int attenuation = static_cast<int>(std::lround(std::log(clamped + 1.0) * 1085.73)) - 10000;
    // ln(10001) * 1085.73 rounds to 10000, but keep the loud end exact whatever the rounding.
    return std::clamp(attenuation, kSilentAttenuation, 0);
}

float AttenuationGain(int hundredthsOfDb)
{
    if (hundredthsOfDb <= kSilentAttenuation)
        return 0.0f;
    if (hundredthsOfDb >= 0)
        return 1.0f;
    // dB = h / 100; amplitude = 10^(dB / 20).
    return static_cast<float>(std::pow(10.0, hundredthsOfDb / 2000.0));
}

float VolumeGain(int level)
{
    return AttenuationGain(VolumeAttenuation(level));
}
