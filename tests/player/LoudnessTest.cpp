#include "Loudness.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(Loudness, AttenuationTableOfTheSpeakerMenu)
{
    EXPECT_EQ(VolumeAttenuation(10000), 0);
    EXPECT_EQ(VolumeAttenuation(0), -10000);
    EXPECT_EQ(VolumeAttenuation(6000), std::lround(std::log(6001.0) * 1085.73) - 10000);
    EXPECT_EQ(VolumeAttenuation(6000), -554);
    EXPECT_EQ(VolumeAttenuation(10), std::lround(std::log(11.0) * 1085.73) - 10000);
}

TEST(Loudness, LevelIsClampedBeforeConversion)
{
    EXPECT_EQ(ClampVolumeLevel(20000), 10000);
    EXPECT_EQ(ClampVolumeLevel(-5), 0);
    EXPECT_EQ(ClampVolumeLevel(6000), 6000);
    EXPECT_EQ(VolumeAttenuation(20000), 0);  // "Full Volume" asks for 20000
    EXPECT_EQ(VolumeAttenuation(-1), -10000);
}

TEST(Loudness, AttenuationFallsSteadilyWithTheLevel)
{
    int previous = VolumeAttenuation(0);
    for (int level = 1; level <= 10000; ++level) {
        const int attenuation = VolumeAttenuation(level);
        ASSERT_GE(attenuation, previous) << "level " << level;
        previous = attenuation;
    }
}

TEST(Loudness, GainOfTheAttenuation)
{
    EXPECT_FLOAT_EQ(VolumeGain(10000), 1.0f);
    EXPECT_FLOAT_EQ(VolumeGain(0), 0.0f);
    // -5.54 dB is a little over half the amplitude.
    EXPECT_NEAR(VolumeGain(6000), std::pow(10.0, -554 / 2000.0), 1e-6);
    EXPECT_NEAR(VolumeGain(6000), 0.528, 0.001);
    EXPECT_FLOAT_EQ(AttenuationGain(-2000), 0.1f);  // -20 dB
    EXPECT_FLOAT_EQ(AttenuationGain(-20000), 0.0f);
}

TEST(Loudness, MuteIsNearlySilentButNotOff)
{
    const float mute = VolumeGain(10);
    EXPECT_GT(mute, 0.0f);
    EXPECT_LT(mute, 0.001f);
}
