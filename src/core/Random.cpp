#include "core/Random.h"

#include <cmath>

namespace tamblor {

int Random::RandomInt(int lo, int hi) {
    if (hi < lo) return lo;
    // The constant is the single-precision value nearest 1/32767; the product is formed in double.
    constexpr double kScale = static_cast<double>(3.051851e-05f);
    for (;;) {
        int r = Rand15();
        int v = lo + static_cast<int>(std::floor(static_cast<double>(r) * static_cast<double>(hi + 1) * kScale));
        if (v >= lo && v <= hi) return v;
    }
}

}  // namespace tamblor
