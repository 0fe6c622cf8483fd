#include <gtest/gtest.h>

#include "app/CommandLine.h"

namespace tamblor {
namespace {

TEST(AutoplayCommandLine, ReadsTheBotRecordAndLevelOptionsAndRefusesBadCombinations) {
    CommandLine line = ParseCommandLine({"--headless", "--autoplay", "--level", "12", "--mode=transformer",
                                         "--report", "--record", "run.txt", "--seed", "3"});
    ASSERT_TRUE(line.error.empty()) << line.error;
    EXPECT_TRUE(line.autoplay);
    EXPECT_TRUE(line.report);
    EXPECT_EQ(line.level, 12);
    EXPECT_EQ(line.mode, 1);
    EXPECT_EQ(line.record, "run.txt");
    EXPECT_EQ(ParseCommandLine({"--replay", "run.txt"}).replay, "run.txt");
    EXPECT_EQ(ParseCommandLine({"--autoplay", "--level", "1", "--mode", "relax"}).mode, 2);
    EXPECT_EQ(ParseCommandLine({"--autoplay", "--level", "1", "--mode", "0"}).mode, 0);
    CommandLine soak =
        ParseCommandLine({"--headless", "--autoplay", "--one-game", "--frames-per-picture", "20"});
    ASSERT_TRUE(soak.error.empty()) << soak.error;
    EXPECT_TRUE(soak.oneGame);
    EXPECT_EQ(soak.framesPerPicture, 20);
    EXPECT_EQ(ParseCommandLine({}).framesPerPicture, 1);

    for (std::vector<std::string> bad :
         std::vector<std::vector<std::string>>{{"--level", "0", "--autoplay"},
                                               {"--level", "x", "--autoplay"},
                                               {"--level", "5"},  // nobody to play it
                                               {"--autoplay", "--level", "1", "--mode", "hard"},
                                               {"--report"},  // report of what?
                                               {"--record", "a", "--replay", "b"},
                                               {"--autoplay=1"},
                                               {"--one-game"},                 // nobody to play it
                                               {"--frames-per-picture", "4"},  // a window keeps time
                                               {"--headless", "--frames-per-picture", "0"},
                                               {"--headless", "--frames-per-picture", "1001"},
                                               {"--record"}}) {
        EXPECT_FALSE(ParseCommandLine(bad).error.empty()) << bad[0];
    }
    EXPECT_NE(UsageText("tamblor").find("--replay FILE"), std::string::npos);
    EXPECT_NE(UsageText("tamblor").find("--report"), std::string::npos);
    EXPECT_NE(UsageText("tamblor").find("--frames-per-picture N"), std::string::npos);
    EXPECT_NE(UsageText("tamblor").find("--one-game"), std::string::npos);
}

}  // namespace
}  // namespace tamblor
