// Whole frames of the moments where the game draws over its own side panel and board (tutorial
// hints, the end of a level, the editor, the end of the game), headless through real OpenGL, against
// the committed golden pictures (tests/golden/app-*.png).
#include <gtest/gtest.h>

#include "GoldenFrame.h"

namespace tamblor {

namespace {

// From the main menu through the stage map into the first level of a Classic game.
void StartClassicGame(test::HeadlessGame& game) {
    ASSERT_TRUE(game.Start());
    game.Frames(40);
    game.ClickButton(game.app->Screens().Get(ScreenId::Main), "btnClassicGame");
    ASSERT_TRUE(game.FramesUntil([&] { return game.app->GameState().levelPhase == 7; }, 120));
    game.Frames(40);
    game.ClickButton(game.app->Screens().Get(ScreenId::Map), "btnStart");
    ASSERT_EQ(game.app->State(), Playing);
}

void ClickItem(test::HeadlessGame& game, const ShapeItem& item) {
    game.Click(static_cast<int>(item.x * 800.0f), static_cast<int>(item.y * 600.0f));
}

// Every hole filled at once, as the last placement of a level would leave the board.
void FillBoard(Game& level) {
    for (int i = 0; i < level.cellCount; ++i) level.cells[static_cast<size_t>(i)].filled = 1;
}

}  // namespace

TEST(ApplicationLayoutGolden, TutorialHintThenLevelCompleteWithFlyingNumbers) {
    test::HeadlessGame game(31);
    StartClassicGame(game);
    Game& level = game.app->GameState();
    ASSERT_TRUE(game.FramesUntil([&] { return level.tutorialActive == 1; }, 600));
    ClickItem(game, level.panel[static_cast<size_t>(level.tutorialPanelIndex)]);
    ASSERT_EQ(level.tutorialStep, 3);
    game.Frames(20);
    test::ExpectGolden(game, "app-tutorial-hint");

    ClickItem(game, level.cells[static_cast<size_t>(level.tutorialCellIndex)]);
    ASSERT_EQ(level.tutorialActive, 0);
    game.Frames(30);
    FillBoard(level);
    game.Frames(1);
    ASSERT_EQ(game.app->State(), LevelWon);
    // Two seconds on, the time and completion bonuses are on their way to the score.
    game.Frames(120);
    test::ExpectGolden(game, "app-level-complete");
}

TEST(ApplicationLayoutGolden, EditorAfterChangingTheLevel) {
    test::HeadlessGame game(32);
    StartClassicGame(game);
    Game& level = game.app->GameState();
    // The level's announcement is on screen when the editor comes on and moves to the next level.
    ASSERT_TRUE(game.FramesUntil([&] { return level.levelPhase == 2; }, 120));
    game.Frames(90);
    game.Key(VK_F12);
    game.Key(VK_ADD);
    ASSERT_EQ(level.levelNumber, 2);
    game.Frames(30);
    test::ExpectGolden(game, "app-editor");
}

TEST(ApplicationLayoutGolden, GameCompleteAfterTheLastLevel) {
    test::HeadlessGame game(33);
    StartClassicGame(game);
    Game& level = game.app->GameState();
    // The last level of the game, played to its end.
    int last = 1;
    while (level.LevelFileExists(last + 1)) ++last;
    level.levelNumber = last;
    level.StartLevel();
    ASSERT_TRUE(game.FramesUntil([&] { return level.levelPhase == 3; }, 600));
    FillBoard(level);
    ASSERT_TRUE(game.FramesUntil([&] { return game.app->State() == GameComplete; }, 900));
    // Every picture of the sequence has come into view.
    game.Frames(8 * 60);
    test::ExpectGolden(game, "app-game-complete");
}

}  // namespace tamblor
