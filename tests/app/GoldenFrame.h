#pragma once
// The frame a headless game drew last, against its golden picture (tests/golden/NAME.png).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ApplicationTestSupport.h"
#include "platform/gl/GoldenImage.h"

namespace tamblor::test {

inline void ExpectGolden(HeadlessGame& game, const std::string& name) {
    std::vector<uint8_t> rgba;
    int w = 0, h = 0;
    ASSERT_TRUE(game.app->CapturePicture(rgba, &w, &h));
    EXPECT_TRUE(MatchesGolden(name, w, h, rgba, game.app->RendererName()));
}

}  // namespace tamblor::test
