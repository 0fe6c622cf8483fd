// Whole frames of the game, headless through real OpenGL, against the committed golden pictures
// (tests/golden/app-*.png).
#include <gtest/gtest.h>

#include "GoldenFrame.h"

namespace tamblor {

TEST(ApplicationGolden, MenuMapLevelPauseAndHighScores) {
    test::HeadlessGame game(2024);
    ASSERT_TRUE(game.Start());
    game.Frames(40);
    Screen& main = game.app->Screens().Get(ScreenId::Main);
    // The pointer over the Classic button fades its information panel in.
    for (int i = 0; i < main.buttonCount; ++i) {
        if (main.buttons[static_cast<size_t>(i)].name == "btnClassicGame") {
            game.MoveTo(static_cast<int>(main.buttons[static_cast<size_t>(i)].x * 800.0f),
                        static_cast<int>(main.buttons[static_cast<size_t>(i)].y * 600.0f));
        }
    }
    game.Frames(30);
    test::ExpectGolden(game, "app-main-menu");

    game.ClickButton(main, "btnClassicGame");
    ASSERT_TRUE(game.FramesUntil([&] { return game.app->GameState().levelPhase == 7; }, 120));
    game.Frames(60);
    test::ExpectGolden(game, "app-stage-map");

    game.ClickButton(game.app->Screens().Get(ScreenId::Map), "btnStart");
    game.Frames(240);
    test::ExpectGolden(game, "app-level");

    game.ClickButton(game.app->Screens().Get(ScreenId::InGame), "btnMenu");
    game.Frames(5);
    test::ExpectGolden(game, "app-pause");

    test::HeadlessGame scores(2025);
    ASSERT_TRUE(scores.Start());
    scores.Frames(40);
    scores.ClickButton(scores.app->Screens().Get(ScreenId::Main), "btnHighScores");
    scores.Frames(20);
    test::ExpectGolden(scores, "app-high-scores");
}

TEST(ApplicationGolden, OptionsAndMainMenuInGermanAndFrench) {
    test::HeadlessGame game(2026);
    ASSERT_TRUE(game.Start());
    game.Frames(40);
    Screen& main = game.app->Screens().Get(ScreenId::Main);
    Screen& options = game.app->Screens().Get(ScreenId::Options);
    // The language button moves through the languages of language.ini; each choice is kept in
    // config.ini and shows at once, on the screen it was made on and on the next.
    for (const char* language : {"GERMAN", "FRENCH"}) {
        SCOPED_TRACE(language);
        game.ClickButton(main, "btnOptions");
        game.Frames(20);
        game.ClickButton(options, "btnLanguage");
        game.Frames(20);
        EXPECT_NE(game.user.Read("config.ini").find(std::string("Name=") + language), std::string::npos);
        ExpectGolden(game, std::string("app-options-") + (language[0] == 'G' ? "german" : "french"));
        game.ClickButton(options, "btnClose");
        game.MoveTo(5, 5);
        game.Frames(40);
        ExpectGolden(game, std::string("app-main-menu-") + (language[0] == 'G' ? "german" : "french"));
    }
    // After the last language comes the first again.
    game.ClickButton(main, "btnOptions");
    game.Frames(5);
    game.ClickButton(options, "btnLanguage");
    EXPECT_NE(game.user.Read("config.ini").find("Name=ENGLISH"), std::string::npos);
}

}  // namespace tamblor
