#include <gtest/gtest.h>

#include "app/CommandLine.h"

namespace tamblor {

TEST(CommandLine, SetupOnlyWhenItIsTheWholeLine) {
    EXPECT_TRUE(ParseCommandLine({"/setup"}).setup);
    for (const auto& args :
         std::vector<std::vector<std::string>>{{"/SETUP"}, {"/setup", "--windowed"}, {"/Setup"}, {}}) {
        CommandLine line = ParseCommandLine(args);
        EXPECT_FALSE(line.setup);
        EXPECT_EQ(line.error, "");  // the game starts normally
    }
}

TEST(CommandLine, OptionsWithAndWithoutValues) {
    CommandLine line = ParseCommandLine({"--headless", "--seed", "42", "--frames=120", "--screenshot",
                                         "out.png", "--datadir=/d", "--userdir", "/u", "--windowed"});
    EXPECT_EQ(line.error, "");
    EXPECT_TRUE(line.headless);
    EXPECT_EQ(line.seed, 42u);
    EXPECT_EQ(line.frames, 120);
    EXPECT_EQ(line.screenshot, "out.png");
    EXPECT_EQ(line.dataDir, "/d");
    EXPECT_EQ(line.userDir, "/u");
    EXPECT_EQ(line.fullScreen, false);
    EXPECT_EQ(ParseCommandLine({"--fullscreen"}).fullScreen, true);
    EXPECT_FALSE(ParseCommandLine({}).fullScreen.has_value());
    EXPECT_TRUE(ParseCommandLine({"--help"}).help);
    EXPECT_TRUE(ParseCommandLine({"--version"}).version);
    EXPECT_EQ(ParseCommandLine({"--seed", "4294967295"}).seed, 4294967295u);
    // The developer keys are off unless asked for.
    EXPECT_FALSE(ParseCommandLine({}).developer);
    EXPECT_TRUE(ParseCommandLine({"--developer"}).developer);
}

TEST(CommandLine, BadArgumentsAreErrors) {
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"--bogus"},
             {"-x"},
             {"--seed"},
             {"--seed", "abc"},
             {"--seed", "-1"},
             {"--seed", "4294967296"},
             {"--frames", "0"},
             {"--frames", "12x"},
             {"--frames", "99999999999999"},
             {"--screenshot"},
             {"--userdir="},
             {"--headless=1"},
             {"--developer=yes"},
             {"--headless", "--fullscreen"},
             {"game.ini"},
         }) {
        CommandLine line = ParseCommandLine(args);
        EXPECT_NE(line.error, "") << args[0];
    }
    EXPECT_NE(ParseCommandLine({"--bogus"}).error.find("--bogus"), std::string::npos);
    EXPECT_NE(UsageText("tamblor").find("--screenshot FILE"), std::string::npos);
    EXPECT_NE(UsageText("tamblor").find("--developer"), std::string::npos);
}

}  // namespace tamblor
