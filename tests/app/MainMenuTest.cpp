#include <gtest/gtest.h>

#include <utility>

#include "app/MainMenu.h"
#include "app/ShellRig.h"
#include "platform/Message.h"

namespace tamblor {
namespace {

using test::ShellRig;

std::pair<int, int> PixelOf(const Screen& s, const std::string& name) {
    for (int i = 0; i < s.buttonCount; ++i)
        if (s.buttons[i].name == name)
            return {static_cast<int>(s.buttons[i].x * 800.0f), static_cast<int>(s.buttons[i].y * 600.0f)};
    return {-1, -1};
}

TEST(MainMenu, InfoPanelsFadeWithTheModeButtons) {
    ShellRig r;
    Screen& main = r.screens.Get(ScreenId::Main);
    Screen& classic = r.screens.Get(ScreenId::InfoClassic);
    Screen& relax = r.screens.Get(ScreenId::InfoRelax);
    r.mainMenu.HideInfoPanels();
    EXPECT_EQ(classic.fade, 0.0f);

    auto [cx, cy] = PixelOf(main, "btnClassicGame");
    auto [rx, ry] = PixelOf(main, "btnRelaxGame");
    ASSERT_GE(cx, 0);
    r.actions.HandleMessage(MouseMessage(WM_MOUSEMOVE, cx, cy));
    for (int i = 0; i < 10; ++i) r.mainMenu.DrawMainMenu(0.02f);
    EXPECT_NEAR(classic.fade, 0.6f, 1e-5);
    EXPECT_EQ(relax.fade, 0.0f);
    for (int i = 0; i < 10; ++i) r.mainMenu.DrawMainMenu(0.02f);
    EXPECT_EQ(classic.fade, 1.0f);  // in within a third of a second, then held

    r.actions.HandleMessage(MouseMessage(WM_MOUSEMOVE, rx, ry));
    for (int i = 0; i < 5; ++i) r.mainMenu.DrawMainMenu(0.0333334f);
    EXPECT_NEAR(classic.fade, 0.5f, 1e-4);
    EXPECT_NEAR(relax.fade, 0.5f, 1e-4);
    for (int i = 0; i < 6; ++i) r.mainMenu.DrawMainMenu(0.0333334f);
    EXPECT_EQ(classic.fade, 0.0f);
    EXPECT_EQ(relax.fade, 1.0f);

    // The panels are drawn without filtering, the rest with.
    r.canvas.calls.clear();
    r.mainMenu.DrawMainMenu(0.01f);
    std::vector<std::string> filters;
    for (const auto& c : r.canvas.calls)
        if (c.kind == "filter")
            filters.push_back(c.name);
    EXPECT_EQ(filters, (std::vector<std::string>{"none", "linear"}));
    EXPECT_EQ(r.canvas.calls.front().name, "Graphics\\back_menu.jpg");
}

TEST(MainMenu, EightButterfliesAreMadeOnceAndFlyOn) {
    ShellRig r;
    r.mainMenu.DrawMenuBackdrop(0.0f);
    ASSERT_TRUE(r.mainMenu.butterfliesMade);
    for (const Butterfly& b : r.mainMenu.butterflies) {
        EXPECT_GE(b.x, 0.1f);
        EXPECT_LE(b.x, 0.9f);
        EXPECT_EQ(b.wander, 1);
    }
    const float x0 = r.mainMenu.butterflies[0].x;
    r.clock.Advance(100);
    r.mainMenu.DrawMenuBackdrop(0.5f);
    EXPECT_NE(r.mainMenu.butterflies[0].x, x0);  // moved, not made again
}

TEST(MainMenu, HighScoreAndContinueScreensShowTheGamesNumbers) {
    ShellRig r;
    const Screen& hs = r.screens.Get(ScreenId::HighScores);
    // Every mode's table has its title.
    for (auto [mode, name] : {std::pair{0, "Classic"}, std::pair{1, "Transformer"}, std::pair{2, "Relax"}}) {
        r.canvas.calls.clear();
        r.game.gameMode = mode;
        r.mainMenu.DrawHighScoreScreen(0.01f);
        EXPECT_EQ(r.highScores.CurrentTable(), mode);
        auto title = r.canvas.Named(name);
        ASSERT_EQ(title.size(), 1u) << name;
        EXPECT_FLOAT_EQ(title[0].x, hs.GetTextX("txtGameType"));
        EXPECT_EQ(title[0].flags, ScreenCanvas::kTextCenter);
        EXPECT_EQ(r.canvas.Named("10").size(), 1u);                     // the rank of the last row
        EXPECT_TRUE(r.canvas.Named(MainMenuView::kEntryHint).empty());  // no name is being typed
    }
    // The hint to finish a name shows while one is typed, at its anchor.
    r.canvas.calls.clear();
    ASSERT_EQ(r.highScores.AddScore(500), 1);
    r.mainMenu.DrawHighScoreScreen(0.01f);
    auto hint = r.canvas.Named(MainMenuView::kEntryHint);
    ASSERT_EQ(hint.size(), 1u);
    EXPECT_FLOAT_EQ(hint[0].y, hs.GetTextY("txtEntryHint"));

    r.canvas.calls.clear();
    r.game.levelNumber = 9;
    r.game.score = 1234;
    r.mainMenu.DrawContinueConfirmation(0.01f);
    EXPECT_EQ(r.canvas.Named("Level: 9").size(), 1u);
    EXPECT_EQ(r.canvas.Named("Score: 1234").size(), 1u);
}

}  // namespace
}  // namespace tamblor
