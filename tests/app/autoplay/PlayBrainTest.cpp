// The bot's choices on small boards. Board pictures have one row per line (line 0 first, cells from
// the top): '.' free hole of class 0, '#' filled, '0'..'9' free hole of that class, 'a'..'j' filled.
#include <gtest/gtest.h>

#include "app/autoplay/PlayBrain.h"
#include "game/GameTestSupport.h"

namespace tamblor {
namespace {

void SetPanel(test::GameWorld& world, const std::vector<ShapeItem>& items) {
    Game& game = world.game;
    game.panelCount = static_cast<int>(items.size());
    for (size_t i = 0; i < items.size(); ++i) {
        game.panel[i] = items[i];
        game.panel[i].x = 0.3f + static_cast<float>(i) * board::kLinePitch;
        game.panel[i].y = board::kPanelY;
    }
}

ShapeItem Shape(int classIndex, int shapeIndex = 0, int bonus = BonusNone) {
    ShapeItem item;
    item.classIndex = classIndex;
    item.shapeIndex = shapeIndex;
    item.bonusKind = bonus;
    return item;
}

int Index(const test::GameWorld& world, int line, int k) {
    return line * world.game.lineShapeCount + k;
}

TEST(PlayBrain, PrefersHolesThatCompleteALineAndKeepsRunsGoing) {
    test::GameWorld world;
    world.UseClasses(3);
    // Line 1 lacks one hole of class 1 (cell 2); line 3 has three free holes of class 2.
    world.SetBoard({"######", "##1###", "######", "#2222#", "######", "######"});
    SetPanel(world, {Shape(2), Shape(1), Shape(0)});
    PlayChoice choice = ChooseMove(world.game, ReachLimits{});
    ASSERT_EQ(choice.kind, PlayChoice::Place);
    EXPECT_EQ(choice.panelIndex, 1);
    EXPECT_EQ(choice.cellIndex, Index(world, 1, 2));

    // Without the completing hole in reach (scrolled to the top) the class-2 shape goes into line 3,
    // and the hole nearest to finishing a run of class 2 wins over an equal one when the last drop was 2.
    world.game.cells[static_cast<size_t>(Index(world, 1, 2))].y = 0.05f;
    world.game.lastPlaced.classIndex = 2;
    choice = ChooseMove(world.game, ReachLimits{});
    ASSERT_EQ(choice.kind, PlayChoice::Place);
    EXPECT_EQ(choice.panelIndex, 0);
    EXPECT_EQ(world.game.cells[static_cast<size_t>(choice.cellIndex)].classIndex, 2);
    EXPECT_EQ(choice.cellIndex / world.game.lineShapeCount, 3);
}

TEST(PlayBrain, SpendsBandAndAreaBonusesWhereTheyFillMost) {
    test::GameWorld world;
    world.UseClasses(2);
    world.SetBoard({"#.##..", "######", "#1111#", "######", "######", "######"});
    // A band bonus fills the whole line: line 2 (four holes) beats line 0 (three).
    SetPanel(world, {Shape(0, 0, BonusBand)});
    PlayChoice choice = ChooseMove(world.game, ReachLimits{});
    ASSERT_EQ(choice.kind, PlayChoice::Place);
    EXPECT_EQ(choice.cellIndex / world.game.lineShapeCount, 2);

    // An area bonus fills the neighbours of its hole within reach of 1.9 cells: the middle of line 2
    // (with its neighbours above and below) is worth more than the two holes at the end of line 0.
    SetPanel(world, {Shape(0, 0, BonusArea)});
    choice = ChooseMove(world.game, ReachLimits{});
    ASSERT_EQ(choice.kind, PlayChoice::Place);
    EXPECT_EQ(choice.cellIndex / world.game.lineShapeCount, 2);
    int k = choice.cellIndex % world.game.lineShapeCount;
    EXPECT_TRUE(k == 2 || k == 3) << k;
}

TEST(PlayBrain, TransformsOnlyInTransformerModeAndDiscardsWhatFitsNowhere) {
    test::GameWorld world;
    world.UseClasses(3, 3);
    world.SetBoard({"######", "######", "###0##", "######", "######", "######"});
    world.game.cells[static_cast<size_t>(Index(world, 2, 3))].shapeIndex = 2;
    world.game.held = Shape(0, 0);
    world.game.held.present = 1;

    world.game.gameMode = ModeClassic;
    EXPECT_EQ(BestCellFor(world.game, world.game.held, ReachLimits{}).kind, PlayChoice::Wait);
    world.game.gameMode = ModeTransformer;
    PlayChoice choice = ChooseMove(world.game, ReachLimits{});
    ASSERT_EQ(choice.kind, PlayChoice::Place);
    EXPECT_EQ(choice.panelIndex, -1);
    EXPECT_EQ(choice.cellIndex, Index(world, 2, 3));
    EXPECT_EQ(choice.transforms, 2);
    world.game.held.shapeIndex = 2;
    EXPECT_EQ(ChooseMove(world.game, ReachLimits{}).transforms, 0);

    // Nothing held; the first panel shape is of a class with no free hole anywhere: thrown away. A
    // bonus shape or a shape whose hole is only out of reach for now is kept.
    world.game.held.present = 0;
    world.game.gameMode = ModeClassic;
    SetPanel(world, {Shape(1), Shape(2)});
    EXPECT_TRUE(FitsNowhere(world.game, world.game.panel[0]));
    EXPECT_EQ(ChooseMove(world.game, ReachLimits{}).kind, PlayChoice::Discard);
    SetPanel(world, {Shape(1, 0, BonusAnyShape), Shape(2)});
    PlayChoice bonus = ChooseMove(world.game, ReachLimits{});
    EXPECT_EQ(bonus.kind, PlayChoice::Place);
    EXPECT_EQ(bonus.panelIndex, 0);
    world.game.cells[static_cast<size_t>(Index(world, 2, 3))].y = 0.9f;  // under the panel
    SetPanel(world, {Shape(0, 2), Shape(2)});
    EXPECT_EQ(ChooseMove(world.game, ReachLimits{}).kind, PlayChoice::Wait);
}

TEST(PlayBrain, FollowsTheTutorialAndPredictsWhereThingsWillBe) {
    test::GameWorld world;
    world.UseClasses(3);
    world.SetBoard({"......", "......", "......", "......", "......", "......"});
    SetPanel(world, {Shape(1), Shape(1), Shape(2), Shape(2), Shape(0), Shape(1)});
    world.game.tutorialActive = 1;
    world.game.tutorialPanelIndex = 4;
    world.game.tutorialCellIndex = 4;
    PlayChoice choice = ChooseMove(world.game, ReachLimits{});
    ASSERT_EQ(choice.kind, PlayChoice::Place);
    EXPECT_EQ(choice.panelIndex, 4);
    EXPECT_EQ(choice.cellIndex, 4);
    // Once the shape is held, only the tutorial's hole takes it, in Transformer mode after turning it,
    // even where another hole of its class would complete a line.
    world.game.gameMode = ModeTransformer;
    world.UseClasses(3, 3);
    world.game.cells[4].shapeIndex = 1;
    world.game.held = Shape(0, 0);
    world.game.held.present = 1;
    for (int k = 0; k < 6; ++k)
        world.game.cells[static_cast<size_t>(Index(world, 2, k))].filled = k == 2 ? 0 : 1;
    world.game.cells[static_cast<size_t>(Index(world, 2, 2))].shapeIndex = 0;
    choice = ChooseMove(world.game, ReachLimits{});
    ASSERT_EQ(choice.kind, PlayChoice::Place);
    EXPECT_EQ(choice.cellIndex, 4);
    EXPECT_EQ(choice.transforms, 1);
    world.game.held.present = 0;
    world.game.gameMode = ModeClassic;
    // The tutorial holds the lines still.
    auto still = PredictCell(world.game, 4, 0.5f);
    EXPECT_FLOAT_EQ(still.second, world.game.cells[4].y);

    world.game.tutorialActive = 0;
    world.game.linesLeft = 4;  // two lines gone: everything scrolls 0.04 faster
    const ShapeItem& cell = world.game.cells[7];
    auto moved = PredictCell(world.game, 7, 0.5f);
    EXPECT_NEAR(moved.second, cell.y - (world.game.lineSpeed + 0.04f) * 0.5f, 1e-6);
    // A hole at the top edge comes back at the bottom.
    world.game.cells[7].y = board::kTopWrapY + 0.001f;
    EXPECT_GT(PredictCell(world.game, 7, 0.5f).second, 0.5f);

    // The panel: the first shape slides to its stop, the rest keep their spacing behind it.
    world.game.panel[0].x = 0.305f;
    world.game.panel[1].x = 0.5f;
    world.game.panelCount = 2;
    EXPECT_NEAR(PredictPanel(world.game, 0, 0.01f).first, 0.2975f, 1e-6);
    EXPECT_NEAR(PredictPanel(world.game, 1, 0.01f).first, 0.4925f, 1e-6);
}

}  // namespace
}  // namespace tamblor
