#include <gtest/gtest.h>

#include <functional>
#include <string_view>
#include <utility>

#include "app/MenuActions.h"
#include "app/ShellRig.h"
#include "platform/Message.h"

namespace tamblor {
namespace {

using test::ShellRig;

struct Row {
    int state;
    const char* action;
    int expectedState;  // -1: the state does not change
    std::function<void(ShellRig&)> check;
};

TEST(MenuActions, EveryActionOfEveryState) {
    const std::vector<Row> rows = {
        {MainMenu, "procOptions", Options, nullptr},
        {MainMenu, "procInstructions", Instructions1, nullptr},
        {MainMenu, "procHighScores", HighScoresState, nullptr},
        {MainMenu, "procExit", -1, [](ShellRig& r) { EXPECT_EQ(r.host.closes, 1); }},
        {MainMenu, "procLogo", -1, [](ShellRig& r) { EXPECT_EQ(r.host.siteOpens, 1); }},
        {MainMenu, "procLevelSimple", -1, [](ShellRig& r) { EXPECT_EQ(r.game.startLevelClassic, 2); }},
        {MainMenu, "procLevelAdvanced", -1, [](ShellRig& r) { EXPECT_EQ(r.game.startLevelTransformer, 2); }},
        {MainMenu, "procClassicGame", StageMap,
         [](ShellRig& r) {
             EXPECT_EQ(r.game.gameMode, 0);
             EXPECT_EQ(r.game.levelPhase, 6);
             EXPECT_EQ(r.game.levelNumber, 1);
         }},
        {MainMenu, "procRelaxGame", StageMap, [](ShellRig& r) { EXPECT_EQ(r.game.gameMode, 2); }},
        {MainMenu, "procTransformerGame", StageMap, [](ShellRig& r) { EXPECT_EQ(r.game.gameMode, 1); }},
        {MainMenu, "procResume", -1, nullptr},
        {StageMap, "procStart", Playing, [](ShellRig& r) { EXPECT_EQ(r.game.levelNumber, 1); }},
        // Back keeps the game as the mode's saved game; the main menu fades in.
        {StageMap, "procBack", MainMenu,
         [](ShellRig& r) {
             EXPECT_EQ(r.saved.IsGameSaved(), 1);
             EXPECT_EQ(r.game.sceneFade, 0.0f);
             EXPECT_FALSE(r.effects.Empty());
         }},
        {StageMap, "procStage2", -1,
         [](ShellRig& r) {
             EXPECT_EQ(r.game.levelNumber, 7);
             const Screen& map = r.screens.Get(ScreenId::Map);
             EXPECT_FLOAT_EQ(r.stageMap.markerX, map.buttons[2].x);
             EXPECT_FLOAT_EQ(r.stageMap.markerY, map.buttons[2].y);
             ASSERT_EQ(r.sound.played.size(), 1u);
             EXPECT_EQ(r.sound.played[0], r.game.allClasses[5].soundEvent);
         }},
        {StageMap, "procStage", -1,
         [](ShellRig& r) {
             EXPECT_EQ(r.game.levelNumber, 1);
             EXPECT_TRUE(r.sound.played.empty());
         }},
        {StageMap, "procStage0", -1, [](ShellRig& r) { EXPECT_EQ(r.game.levelNumber, 1); }},
        {StageMap, "procStage-3", -1, [](ShellRig& r) { EXPECT_EQ(r.game.levelNumber, 1); }},
        {StageMap, "procStage99999999999", -1, [](ShellRig& r) { EXPECT_EQ(r.game.levelNumber, 1); }},
        {StageMap, "procStage40", -1,
         [](ShellRig& r) {
             EXPECT_EQ(r.game.levelNumber, 235);  // no button 40: the marker stays
             EXPECT_EQ(r.stageMap.markerX, 0.0f);
         }},
        {Instructions1, "procNext", Instructions2, nullptr},
        {Instructions1, "procClose", MainMenu, nullptr},
        {Instructions1, "procPrevious", -1, nullptr},
        {Instructions2, "procPrevious", Instructions1, nullptr},
        {Instructions2, "procNext", Instructions3, nullptr},
        {Instructions2, "procClose", MainMenu, nullptr},
        {Instructions3, "procPrevious", Instructions2, nullptr},
        {Instructions3, "procClose", MainMenu, nullptr},
        {Instructions3, "procNext", -1, nullptr},
        {Playing, "procMenu", Paused, nullptr},
        {Paused, "procOptions", Options, nullptr},
        {Paused, "procResume", Playing, nullptr},
        {Paused, "procEnd", MainMenu,
         [](ShellRig& r) {
             EXPECT_EQ(r.saved.IsGameSaved(), 1);  // score 0 never enters the table
         }},
        {HighScoresState, "procClear", ClearScoresConfirm, nullptr},
        {HighScoresState, "procClose", MainMenu, nullptr},
        {HighScoresState, "procPrevious", -1, [](ShellRig& r) { EXPECT_EQ(r.game.gameMode, 0); }},
        {HighScoresState, "procNext", -1, [](ShellRig& r) { EXPECT_EQ(r.game.gameMode, 1); }},
        {Options, "procSoundMode", -1,
         [](ShellRig& r) { EXPECT_EQ(r.host.sfxVolumes, std::vector<float>{0.75f}); }},
        {Options, "procMusicMode", -1,
         [](ShellRig& r) { EXPECT_EQ(r.host.musicVolumes, std::vector<float>{0.75f}); }},
        {Options, "procFullScreenMode", -1, [](ShellRig& r) { EXPECT_EQ(r.host.toggles, 0); }},
        {Options, "procClose", MainMenu, nullptr},
        {GameOver, "procContinue", Playing,
         [](ShellRig& r) { EXPECT_EQ(r.host.musicVolumes, std::vector<float>{0.75f}); }},
        {GameOver, "procExit", MainMenu,
         [](ShellRig& r) { EXPECT_EQ(r.host.musicVolumes, std::vector<float>{0.75f}); }},
        {GameComplete, "procMenu", MainMenu,
         [](ShellRig& r) {
             EXPECT_EQ(r.host.musicVolumes, std::vector<float>{0.75f});
             EXPECT_TRUE(r.effects.Empty());
         }},
        {ClearScoresConfirm, "procYes", HighScoresState,
         [](ShellRig& r) { EXPECT_TRUE(r.dir.Has("user/scores.ini")); }},
        {ClearScoresConfirm, "procNo", HighScoresState,
         [](ShellRig& r) { EXPECT_FALSE(r.dir.Has("user/scores.ini")); }},
        {ContinueConfirm, "procNew", StageMap, nullptr},
        // The record went missing after the question: a new game, and the reason in the log.
        {ContinueConfirm, "procLoad", StageMap,
         [](ShellRig& r) {
             EXPECT_NE(r.LogText().find("File 'saved.ini' is corrupted!"), std::string::npos);
         }},
        {ContinueConfirm, "procCancel", MainMenu, nullptr},
        {LevelWon, "procMenu", -1, nullptr},
        {UnusedState10, "procClose", -1, nullptr},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string("state ") + std::to_string(row.state) + " " + row.action);
        ShellRig r;
        r.states.SetState(row.state);
        r.actions.Perform(row.action);
        EXPECT_EQ(r.states.State(), row.expectedState < 0 ? row.state : row.expectedState);
        if (row.check)
            row.check(r);
    }
}

TEST(MenuActions, StartLevelButtonsWrapAtForty) {
    ShellRig r;
    for (int i = 0; i < 40; ++i) r.actions.Perform("procLevelSimple");
    EXPECT_EQ(r.game.startLevelClassic, 1);
    r.game.startLevelClassic = 40;
    r.actions.Perform("procLevelSimple");
    EXPECT_EQ(r.game.startLevelClassic, 1);
    r.game.startLevelTransformer = 40;
    r.actions.Perform("procLevelAdvanced");
    EXPECT_EQ(r.game.startLevelTransformer, 1);
}

TEST(MenuActions, HighScoreBrowsingCoversAllThreeTables) {
    ShellRig r;
    r.states.SetState(HighScoresState);
    std::vector<int> seen;
    for (const char* action :
         {"procNext", "procNext", "procNext", "procPrevious", "procPrevious", "procPrevious"}) {
        r.actions.Perform(action);
        seen.push_back(r.game.gameMode);
    }
    EXPECT_EQ(seen, (std::vector<int>{ModeTransformer, ModeRelax, ModeRelax, ModeTransformer, ModeClassic,
                                      ModeClassic}));
}

TEST(MenuActions, EscapeIsTheButtonOfTheScreenThatLeadsBack) {
    // Each state's Escape action is one a button of its screen performs (in play the Menu button), so
    // the key and the button cannot drift apart when a screen file changes.
    const std::vector<std::pair<int, const char*>> expected = {
        {MainMenu, ""},
        {StageMap, "btnBack"},
        {Instructions1, "btnClose"},
        {Instructions2, "btnClose"},
        {Instructions3, "btnClose"},
        {Playing, "btnMenu"},
        {Paused, "btnResume"},
        {HighScoresState, "btnClose"},
        {Options, "btnClose"},
        {LevelWon, ""},
        {GameComplete, "btnMenu"},
        {GameOver, "btnExit"},
        {ClearScoresConfirm, "btnNo"},
        {ContinueConfirm, "btnCancel"},
    };
    ShellRig r;
    for (auto [state, button] : expected) {
        SCOPED_TRACE(state);
        std::string_view action = MenuActions::EscapeAction(state);
        if (*button == '\0') {
            EXPECT_TRUE(action.empty());
            continue;
        }
        const Screen* screen = r.screens.ForState(state);
        ASSERT_NE(screen, nullptr);
        bool found = false;
        for (int i = 0; i < screen->buttonCount; ++i) {
            const ScreenButton& b = screen->buttons[static_cast<size_t>(i)];
            found = found || (b.name == button && b.action == action);
        }
        EXPECT_TRUE(found) << button << " " << action;
    }
}

TEST(MenuActions, OptionsFromPauseReturnToThePausedLevel) {
    ShellRig r;
    r.game.levelNumber = 2;
    r.game.StartLevel();
    ASSERT_EQ(r.states.State(), Playing);
    r.actions.Perform("procMenu");
    EXPECT_EQ(r.game.PauseDepth(), 1);
    r.actions.Perform("procOptions");
    EXPECT_EQ(r.states.State(), Options);
    EXPECT_EQ(r.game.PauseDepth(), 1);
    r.actions.Perform("procClose");
    EXPECT_EQ(r.states.State(), Paused);
    EXPECT_EQ(r.game.PauseDepth(), 1);  // still frozen
    r.actions.Perform("procResume");
    EXPECT_EQ(r.states.State(), Playing);
    EXPECT_EQ(r.game.PauseDepth(), 0);  // resumed once
}

TEST(MenuActions, FullScreenSwitchThatFailsPutsTheBoxBack) {
    ShellRig r;
    r.states.SetState(Options);
    Screen& options = r.screens.Get(ScreenId::Options);
    int fx = -1, fy = -1;
    for (int i = 0; i < options.buttonCount; ++i) {
        if (options.buttons[i].name == "btnFullScreen") {
            fx = static_cast<int>(options.buttons[i].x * 800.0f);
            fy = static_cast<int>(options.buttons[i].y * 600.0f);
        }
    }
    ASSERT_GE(fx, 0);
    r.actions.HandleMessage(MouseMessage(WM_LBUTTONDOWN, fx, fy));
    EXPECT_EQ(r.host.toggles, 1);
    EXPECT_TRUE(r.host.fullScreen);
    EXPECT_EQ(r.Config("OPTIONS", "btnFullScreen"), "1");

    r.host.toggleWorks = false;
    r.actions.HandleMessage(MouseMessage(WM_LBUTTONDOWN, fx, fy));
    EXPECT_EQ(r.host.toggles, 2);
    EXPECT_TRUE(r.host.fullScreen);
    EXPECT_EQ(options.IsChecked("btnFullScreen"), 1);
    EXPECT_EQ(r.Config("OPTIONS", "btnFullScreen"), "1");

    // The full-screen keys take the same path: the box flips, the window follows, a failure undoes it.
    r.actions.ToggleFullScreen();
    EXPECT_EQ(r.host.toggles, 3);
    EXPECT_EQ(options.IsChecked("btnFullScreen"), 1);
    r.host.toggleWorks = true;
    r.actions.ToggleFullScreen();
    EXPECT_EQ(r.host.toggles, 4);
    EXPECT_FALSE(r.host.fullScreen);
    EXPECT_EQ(options.IsChecked("btnFullScreen"), 0);
    EXPECT_EQ(r.Config("OPTIONS", "btnFullScreen"), "0");
}

TEST(MenuActions, NameEntryGetsKeysBeforeTheScreen) {
    ShellRig r;
    r.game.score = 500;
    r.states.SetState(Paused);
    r.actions.Perform("procEnd");
    ASSERT_EQ(r.states.State(), HighScoresState);
    EXPECT_EQ(r.highScores.Entering(), 1);
    r.actions.HandleMessage(KeyMessage(WM_CHAR, 'A'));
    r.actions.HandleMessage(KeyMessage(WM_KEYDOWN, VK_RETURN));
    EXPECT_EQ(r.highScores.Entry(0, 0).Name(), "A");
    EXPECT_EQ(r.highScores.Entry(0, 0).score, 500u);
    EXPECT_TRUE(r.dir.Has("user/scores.ini"));
    // Ended games are saved, and the same game can be continued.
    EXPECT_EQ(r.saved.IsGameSaved(), 1);
}

}  // namespace
}  // namespace tamblor
