#include <gtest/gtest.h>

#include "app/Progression.h"
#include "app/ShellRig.h"
#include "graphics/GameScene.h"

namespace tamblor {
namespace {

using test::ShellRig;

// Level `level` was just won in Classic mode; its closing effects are over.
void WinLevel(ShellRig& r, int level) {
    r.game.gameMode = 0;
    r.game.levelNumber = level;
    r.game.StartLevel();
    r.effects.Clear();
    r.states.SetState(LevelWon);
}

TEST(Progression, WinningTheLastLevelOfAStageOpensTheNextOnTheMap) {
    ShellRig r;
    ASSERT_EQ(r.game.LastOpenedLevel, 1);
    r.game.LastOpenedLevel = 6;
    WinLevel(r, 6);
    r.effects.AddSoundCue(0.2f, "still_running");
    r.progression.AdvanceLevel();
    EXPECT_EQ(r.game.levelNumber, 6);  // waits for the level's effects
    for (int frame = 0; frame < 300 && r.states.State() == LevelWon; ++frame) {
        r.clock.Advance(10);
        r.progression.AdvanceLevel();
    }

    EXPECT_EQ(r.game.levelNumber, 7);
    EXPECT_EQ(r.game.LastOpenedLevel, 7);
    EXPECT_EQ(r.Config("GAMEPLAY", "LastOpenedLevel"), "7");
    EXPECT_EQ(r.states.State(), StageMap);
    EXPECT_EQ(r.game.levelPhase, 6);

    const Screen& map = r.screens.Get(ScreenId::Map);
    r.sound.played.clear();
    r.MapFrames(450);
    EXPECT_EQ(r.game.levelPhase, 6);  // still fading out
    r.MapFrames(100);
    EXPECT_EQ(r.game.levelPhase, 7);
    EXPECT_FLOAT_EQ(r.stageMap.markerX, map.buttons[1].x);  // starts at stage 1
    EXPECT_EQ(map.buttons[2].visible, 1);                   // stage 2 open, 3 not
    EXPECT_EQ(map.buttons[3].visible, 0);
    const std::string arrival = r.game.allClasses[3].soundEvent;
    r.MapFrames(2400);
    EXPECT_EQ(r.sound.Count(arrival), 0);
    r.MapFrames(200);
    EXPECT_EQ(r.sound.Count(arrival), 1);  // plays on arrival
    r.MapFrames(500);
    EXPECT_FLOAT_EQ(r.stageMap.markerX, map.buttons[2].x);
    EXPECT_FLOAT_EQ(r.stageMap.markerY, map.buttons[2].y);
    EXPECT_FLOAT_EQ(r.game.sceneFade, 1.0f);
    EXPECT_FALSE(r.canvas.Named("Graphics\\grey.png").empty());  // locked stages greyed
}

TEST(Progression, TheMapFadesOutTheMenuItCameFrom) {
    ShellRig r;
    r.actions.Perform("procOptions");
    r.actions.Perform("procClose");
    ASSERT_EQ(r.states.State(), MainMenu);
    r.actions.Perform("procClassicGame");
    ASSERT_EQ(r.states.State(), StageMap);
    EXPECT_EQ(r.states.PreviousState(), MainMenu);
    r.canvas.calls.clear();
    r.MapFrames(10);
    EXPECT_FALSE(r.canvas.Named("Graphics\\back_menu.jpg").empty());  // the main menu, fading out
    EXPECT_TRUE(r.canvas.Named("Graphics\\am_effect_star.png").empty());
    r.MapFrames(600);
    r.canvas.calls.clear();
    r.MapFrames(10);
    EXPECT_TRUE(r.canvas.Named("Graphics\\back_menu.jpg").empty());
    EXPECT_EQ(r.canvas.Named("Graphics\\am_effect_star.png").size(), 10u);
    const Screen& map = r.screens.Get(ScreenId::Map);
    EXPECT_FLOAT_EQ(r.stageMap.markerX, map.buttons[1].x);  // stage 1: no glide
    EXPECT_EQ(map.buttons[1].visible, 1);
    for (int s = 2; s <= 7; ++s) EXPECT_EQ(map.buttons[s].visible, 0) << s;
    EXPECT_EQ(r.canvas.Named("Graphics\\grey.png").size(), 6u);

    // From the continue question the map fades out that question.
    r.states.SetState(ContinueConfirm);
    r.actions.Perform("procNew");
    r.canvas.calls.clear();
    r.MapFrames(10);
    EXPECT_FALSE(r.canvas.Named("Level: 1").empty());
}

TEST(Progression, WithinAStageTheNextLevelStartsAtOnce) {
    ShellRig r;
    r.game.LastOpenedLevel = 7;
    WinLevel(r, 7);
    r.progression.AdvanceLevel();
    EXPECT_EQ(r.states.State(), Playing);
    EXPECT_EQ(r.game.levelNumber, 8);
    EXPECT_EQ(r.game.LastOpenedLevel, 8);

    // Replaying an early stage never lowers it.
    WinLevel(r, 2);
    r.progression.AdvanceLevel();
    EXPECT_EQ(r.game.levelNumber, 3);
    EXPECT_EQ(r.game.LastOpenedLevel, 8);
    EXPECT_EQ(r.Config("GAMEPLAY", "LastOpenedLevel"), "8");
}

TEST(Progression, LastOpenedLevelIsReadAtStart) {
    ShellRig r;
    r.settings.WriteConfigInt("GAMEPLAY", "LastOpenedLevel", 13);
    r.progression.LoadLastOpenedLevel();
    EXPECT_EQ(r.game.LastOpenedLevel, 13);
    r.settings.WriteConfigInt("GAMEPLAY", "LastOpenedLevel", -4);
    r.progression.LoadLastOpenedLevel();
    EXPECT_EQ(r.game.LastOpenedLevel, 1);
}

TEST(Progression, AfterTheLastLevelTheGameIsComplete) {
    ShellRig r;
    int last = 1;
    while (r.game.LevelFileExists(last + 1)) ++last;
    WinLevel(r, last);
    r.game.score = 1000;
    r.progression.AdvanceLevel();
    EXPECT_EQ(r.states.State(), GameComplete);
    EXPECT_EQ(r.game.levelNumber, last);  // the side panel shows no level beyond the last
    EXPECT_EQ(r.host.musicVolumes, std::vector<float>{0.0f});
    EXPECT_EQ(r.sound.Count("game_complete"), 1);

    // A picture every half second, 1000 each.
    for (int frame = 0; frame < 900; ++frame) {
        r.clock.Advance(10);
        r.progression.DrawGameComplete();
        if (frame == 740) {
            EXPECT_LT(r.game.score, 16000);
        }
    }
    EXPECT_EQ(r.game.score, 16000);
    EXPECT_EQ(r.progression.completeShown, 15u);
    EXPECT_EQ(r.sound.Count("shape_chomp"), 15);
}

TEST(Progression, OneLongFrameStillPaysEveryPicture) {
    ShellRig r;
    r.game.score = 0;
    r.progression.StartGameComplete();
    r.clock.Advance(10);
    r.progression.DrawGameComplete();
    r.clock.Advance(3000);  // a stall: six pictures come into view at once
    for (int i = 0; i < 3; ++i) {
        r.progression.DrawGameComplete();
        r.clock.Advance(10);
    }
    EXPECT_EQ(r.game.score, 6000);
    r.clock.Advance(9000);
    for (int i = 0; i < 3; ++i) {
        r.progression.DrawGameComplete();
        r.clock.Advance(10);
    }
    EXPECT_EQ(r.game.score, 15000);

    // A score at the top of its range stays there.
    r.progression.StartGameComplete();
    r.game.score = 2147483000;
    r.clock.Advance(10000);
    for (int i = 0; i < 3; ++i) {
        r.progression.DrawGameComplete();
        r.clock.Advance(10);
    }
    EXPECT_EQ(r.game.score, 2147483647);
}

TEST(Progression, TutorialHintsFollowTheStep) {
    ShellRig r;
    r.game.levelNumber = 1;
    r.game.StartLevel();
    r.game.tutorialActive = 1;
    r.game.tutorialStep = 1;
    r.game.panel[4].x = 0.5f;
    r.game.panel[4].y = 0.9f;
    r.progression.DrawTutorialHints();
    auto hint = r.canvas.Named("English\\hint1.png");
    ASSERT_EQ(hint.size(), 1u);
    EXPECT_FLOAT_EQ(hint[0].y, 0.65f);
    EXPECT_EQ(hint[0].flags, 9u);
    EXPECT_EQ(r.game.cells[4].classIndex, 0);

    r.canvas.calls.clear();
    r.game.tutorialStep = 3;
    r.game.cells[4].y = 0.2f;  // near the top: below the cell, arrow turned up
    r.progression.DrawTutorialHints();
    auto arrow = r.canvas.Named("Graphics\\arrow.png");
    ASSERT_EQ(arrow.size(), 1u);
    EXPECT_EQ(arrow[0].kind, "rotated");
    EXPECT_NEAR(arrow[0].angle, 3.14159265f, 1e-5);
    EXPECT_FLOAT_EQ(r.canvas.Named("English\\hint2.png")[0].y, 0.45f);

    r.canvas.calls.clear();
    r.game.tutorialActive = 0;
    r.progression.DrawTutorialHints();
    EXPECT_TRUE(r.canvas.calls.empty());
}

}  // namespace
}  // namespace tamblor

namespace tamblor {
namespace {

TEST(Shell, ConnectsTheGamesHooks) {
    test::ShellRig r;
    r.game.gameMode = 0;
    r.game.levelNumber = 3;
    r.game.StartLevel();
    ASSERT_EQ(r.saved.SaveGame(), 1);
    r.game.hooks.silenceMusic();
    EXPECT_EQ(r.host.musicVolumes, std::vector<float>{0.0f});
    r.game.hooks.markNoSavedGame();
    EXPECT_EQ(r.saved.IsGameSaved(), 0);
    r.game.hooks.gameComplete();
    EXPECT_EQ(r.states.State(), GameComplete);
    r.game.NewGame();
    EXPECT_EQ(r.states.State(), StageMap);

    // The scene's hooks draw through the shell's screens.
    GameScene scene(r.game, r.gfx.graphics, r.effects, r.states, r.clock);
    float frameTime = 0.01f;
    r.shell.ConnectScene(scene, frameTime);
    r.canvas.calls.clear();
    scene.hooks.renderInGameScreen();
    EXPECT_FALSE(r.canvas.Named("Level").empty());
    ASSERT_TRUE(scene.hooks.drawStageMap && scene.hooks.drawTutorialHints && scene.hooks.renderMainMenu);
    ASSERT_TRUE(r.stageMap.drawGameScene);
    r.canvas.calls.clear();
    scene.hooks.renderMainMenu();
    EXPECT_FALSE(r.canvas.Named("Graphics\\logo.png").empty());
}

}  // namespace
}  // namespace tamblor
