#include "platform/audio/VolumeCurve.h"

#include <cmath>

namespace tamblor {

int VolumeToMillibels(float level) {
    // Slider values come straight from config.ini: anything outside 0..1 (or not a number) is held
    // to the range rather than producing a positive level or the log of a negative number.
    if (!(level > 0.0f))
        level = 0.0f;
    if (level > 1.0f)
        level = 1.0f;
    long n = std::lround(static_cast<double>(level) * 255.0);
    double shaped = std::log10(1.0 + (9.0 / 8.0) * std::log2(1.0 + static_cast<double>(n)));
    return static_cast<int>(std::lround(10000.0 * shaped)) - 10000;
}

float MillibelsToGain(int millibels) {
    if (millibels <= -10000)
        return 0.0f;
    if (millibels >= 0)
        return 1.0f;
    return static_cast<float>(std::pow(10.0, millibels / 2000.0));
}

}  // namespace tamblor
