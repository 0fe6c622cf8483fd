#include <gtest/gtest.h>

#include <filesystem>

#include "core/AppState.h"
#include "app/ScreenSet.h"
#include "screens/ScreenRig.h"
#include "BuildPaths.h"

namespace tamblor {
namespace {

std::string DataDir() {
    return (std::filesystem::path(TAMBLOR_TEST_FIXTURES).parent_path().parent_path() / "data").string();
}

bool HasButton(const Screen& s, const std::string& name, const std::string& action) {
    for (int i = 0; i < s.buttonCount; ++i)
        if (s.buttons[i].name == name && s.buttons[i].action == action)
            return true;
    return false;
}

bool HasText(const Screen& s, const std::string& name) {
    for (int i = 0; i < s.textCount; ++i)
        if (s.texts[i].name == name)
            return true;
    return false;
}

TEST(ScreenSet, TheGameScreensLoadWithTheWidgetsTheShellNeeds) {
    test::ScreenRig rig;
    FileSystem files(rig.dir.Path(), DataDir());
    Settings settings(files, rig.log);
    ScreenEnvironment env{settings, rig.log, rig.input, rig.canvas, rig.sounds};
    ScreenSet set(env);
    ASSERT_EQ(set.LoadAll(), 17);

    const Screen& main = set.Get(ScreenId::Main);
    EXPECT_TRUE(HasButton(main, "btnClassicGame", "procClassicGame"));
    EXPECT_TRUE(HasButton(main, "btnRelaxGame", "procRelaxGame"));
    EXPECT_TRUE(HasButton(main, "btnTransformerGame", "procTransformerGame"));
    const Screen& options = set.Get(ScreenId::Options);
    EXPECT_TRUE(HasButton(options, "btnFullScreen", "procFullScreenMode"));
    EXPECT_FLOAT_EQ(options.GetSliderValue("SfxVolume"), 0.75f);  // from the shipped config.ini
    EXPECT_FLOAT_EQ(options.GetSliderValue("MusicVolume"), 0.75f);
    EXPECT_TRUE(HasText(set.Get(ScreenId::HighScores), "txtGameType"));
    EXPECT_TRUE(HasText(set.Get(ScreenId::ContinueConfirmation), "txtLevelNum"));
    EXPECT_TRUE(HasText(set.Get(ScreenId::ContinueConfirmation), "txtScoreNum"));
    for (const char* anchor : {"txtLevelNum", "txtTimeNum", "txtScoreNum", "txtMeterBar"})
        EXPECT_TRUE(HasText(set.Get(ScreenId::InGame), anchor)) << anchor;

    // Button number s of the map is stage s.
    const Screen& map = set.Get(ScreenId::Map);
    ASSERT_GE(map.buttonCount, 8);
    EXPECT_EQ(map.buttons[0].action, "procStart");
    for (int s = 1; s <= 7; ++s) {
        EXPECT_EQ(map.buttons[s].name, "btnStage" + std::to_string(s));
        EXPECT_EQ(map.buttons[s].action, "procStage" + std::to_string(s));
    }

    EXPECT_EQ(set.ForState(MainMenu), &set.Get(ScreenId::Main));
    EXPECT_EQ(set.ForState(Playing), &set.Get(ScreenId::InGame));
    EXPECT_EQ(set.ForState(HighScoresState), &set.Get(ScreenId::HighScores));
    EXPECT_EQ(set.ForState(ContinueConfirm), &set.Get(ScreenId::ContinueConfirmation));
    EXPECT_EQ(set.ForState(Instructions3), &set.Get(ScreenId::Instructions3));
    EXPECT_EQ(set.ForState(LevelWon), nullptr);
    EXPECT_EQ(set.ForState(UnusedState10), nullptr);
    EXPECT_EQ(rig.dir.Has("app.log"), false);  // nothing failed
}

TEST(ScreenSet, MissingFilesLeaveEmptyScreens) {
    test::ScreenRig rig;
    ScreenSet set(rig.env);
    EXPECT_EQ(set.LoadAll(), 0);
    EXPECT_EQ(set.Get(ScreenId::Main).buttonCount, 0);
    EXPECT_NE(rig.LogText().find("Fatal error, cannot load XML: menu-intro.xml\n"), std::string::npos);
}

}  // namespace
}  // namespace tamblor
