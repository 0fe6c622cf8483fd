#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/audio/VolumeCurve.h"

namespace tamblor {
namespace {

TEST(VolumeCurve, LevelsInHundredthsOfADecibel) {
    EXPECT_EQ(VolumeToMillibels(1.0f), 0);
    EXPECT_EQ(VolumeToMillibels(0.75f), -208);
    EXPECT_EQ(VolumeToMillibels(0.5f), -512);
    EXPECT_EQ(VolumeToMillibels(0.25f), -1093);
    EXPECT_EQ(VolumeToMillibels(0.1f), -1973);
    EXPECT_EQ(VolumeToMillibels(0.01f), -4881);
    EXPECT_EQ(VolumeToMillibels(0.0f), -10000);
    // Effects volume 0.75 applied twice (own volume and class volume).
    EXPECT_EQ(VolumeToMillibels(0.75f * 0.75f), -426);

    // Values from a hand-edited config.ini stay inside the curve.
    EXPECT_EQ(VolumeToMillibels(1.7f), 0);
    EXPECT_EQ(VolumeToMillibels(-0.3f), -10000);
    EXPECT_EQ(VolumeToMillibels(std::numeric_limits<float>::quiet_NaN()), -10000);
}

TEST(VolumeCurve, GainIsTheAmplitudeOfTheLevel) {
    EXPECT_FLOAT_EQ(MillibelsToGain(0), 1.0f);
    EXPECT_FLOAT_EQ(MillibelsToGain(-10000), 0.0f);
    EXPECT_FLOAT_EQ(MillibelsToGain(-12000), 0.0f);
    EXPECT_NEAR(MillibelsToGain(-2000), 0.1f, 1e-6);
    EXPECT_NEAR(MillibelsToGain(-512), 0.5546f, 1e-4);
    EXPECT_NEAR(MillibelsToGain(-9999), std::pow(10.0, -9999 / 2000.0), 1e-9);
}

}  // namespace
}  // namespace tamblor
