#include <gtest/gtest.h>

#include "platform/display/VideoModes.h"

namespace tamblor {

TEST(VideoModes, ListAlwaysOffersTheTwoClassicSizesInBothDepths) {
    auto texts =
        VideoModeTexts(BuildVideoModes({{640, 480}, {1920, 1080}, {1920, 1080}, {1024, 768}, {800, 500}}));
    std::vector<std::string> expected = {"800 x 600 - 16 bit",   "800 x 600 - 32 bit",
                                         "1024 x 768 - 16 bit",  "1024 x 768 - 32 bit",
                                         "1920 x 1080 - 16 bit", "1920 x 1080 - 32 bit"};
    EXPECT_EQ(texts, expected);
    EXPECT_EQ(VideoModeTexts(BuildVideoModes({})).size(), 4u);
}

TEST(VideoModes, PreselectionFollowsTheConfiguredModeThenTheFixedOrder) {
    std::vector<std::string> all = {"800 x 600 - 16 bit", "800 x 600 - 32 bit", "1024 x 768 - 16 bit",
                                    "1024 x 768 - 32 bit"};
    EXPECT_EQ(PreselectVideoMode(all, "1024 x 768 - 32 bit"), 3);
    EXPECT_EQ(PreselectVideoMode(all, ""), 0);
    EXPECT_EQ(PreselectVideoMode(all, "1024 x 768 - 32 Bit"), 0);  // exact text only
    // A 32-bit-only list picks "800 x 600 - 32 bit".
    std::vector<std::string> only32 = {"1024 x 768 - 32 bit", "800 x 600 - 32 bit"};
    EXPECT_EQ(PreselectVideoMode(only32, ""), 1);
    EXPECT_EQ(PreselectVideoMode({"1024 x 768 - 16 bit", "1024 x 768 - 32 bit"}, ""), 0);
    EXPECT_EQ(PreselectVideoMode({"1280 x 1024 - 32 bit"}, ""), -1);
}

TEST(VideoModes, ParsingAcceptsOnlyTheStoredForm) {
    VideoMode mode;
    ASSERT_TRUE(ParseVideoMode("1024 x 768 - 16 bit", &mode));
    EXPECT_EQ(mode.width, 1024);
    EXPECT_EQ(mode.height, 768);
    EXPECT_EQ(mode.bits, 16);
    EXPECT_EQ(VideoModeText(mode), "1024 x 768 - 16 bit");
    for (const char* bad : {"", "800x600", "800 x 600 - 24 bit", "800 x 600 - 32 bit extra",
                            "-800 x 600 - 32 bit", "99999999 x 600 - 32 bit", "0 x 0 - 32 bit"}) {
        EXPECT_FALSE(ParseVideoMode(bad, &mode)) << bad;
    }
}

}  // namespace tamblor
