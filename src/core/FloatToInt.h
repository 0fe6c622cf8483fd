#pragma once
#include <algorithm>
#include <cmath>
#include <limits>

namespace tamblor {

// The integer part of v (rounded toward zero) as an int, held within int's range; 0 for a value that
// is not a number. Every float that becomes an int in drawing and scoring goes through here, so a wild
// number (from a file, or grown without bound) gives a wrong picture at worst, never undefined
// behaviour.
inline int TruncateToInt(double v) {
    if (std::isnan(v))
        return 0;
    double t = std::trunc(v);
    if (t >= static_cast<double>(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (t <= static_cast<double>(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return static_cast<int>(t);
}

// The same, kept within lo..hi (a colour byte, a percentage).
inline int TruncateToInt(double v, int lo, int hi) {
    return std::clamp(TruncateToInt(v), lo, hi);
}

}  // namespace tamblor
