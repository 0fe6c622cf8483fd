#pragma once
// Golden-image comparison for pictures drawn through real OpenGL.
//
// On Mesa's llvmpipe, whose output does not change from run to run, a picture must match its golden
// image exactly. On any other renderer the drivers may round differently, so a channel may differ by
// up to kTolerance, and up to kOutlierShare of the pixels may differ by more (edges of filtered
// quads). On a mismatch the actual picture and a difference picture (differing pixels red on grey) go
// to <build>/tests/golden-failures/. TAMBLOR_UPDATE_GOLDEN=1 rewrites the golden images instead.
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tamblor::test {

constexpr int kTolerance = 3;
constexpr double kOutlierShare = 0.002;

::testing::AssertionResult MatchesGolden(const std::string& name, int width, int height,
                                         const std::vector<uint8_t>& rgba, const std::string& renderer);

}  // namespace tamblor::test
