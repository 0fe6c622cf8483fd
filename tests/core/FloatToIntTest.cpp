#include <gtest/gtest.h>

#include <limits>

#include "core/FloatToInt.h"

namespace tamblor {
namespace {

TEST(FloatToInt, TruncatesTowardZeroAndHoldsEveryValueInRange) {
    constexpr int kMax = std::numeric_limits<int>::max();
    constexpr int kMin = std::numeric_limits<int>::min();
    const struct {
        double value;
        int whole;
    } cases[] = {
        {37.8, 37},
        {-0.9, 0},
        {-2.5, -2},
        {2147483520.0, 2147483520},  // the largest float below 2^31
        {2147483648.0, kMax},
        {1e12, kMax},
        {3e38, kMax},
        {-3e38, kMin},
        {std::numeric_limits<double>::infinity(), kMax},
        {-std::numeric_limits<double>::infinity(), kMin},
        {std::numeric_limits<double>::quiet_NaN(), 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(TruncateToInt(c.value), c.whole);
    }
    EXPECT_EQ(TruncateToInt(255.0f * 1e12f, 0, 255), 255);
    EXPECT_EQ(TruncateToInt(255.0f * 0.5f, 0, 255), 127);
    EXPECT_EQ(TruncateToInt(-1e12f, 0, 255), 0);
    EXPECT_EQ(TruncateToInt(std::numeric_limits<float>::quiet_NaN(), 0, 100), 0);
}

}  // namespace
}  // namespace tamblor
