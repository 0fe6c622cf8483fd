#include <gtest/gtest.h>

#include "game/GameTestSupport.h"

namespace tamblor {
namespace {

using test::GameWorld;
using test::ScriptedRandom;

// Draw values: a fraction draw below / above a probability, and the draw that makes
// RandomInt(0, n - 1) give k.
int Below(double p) {
    return ScriptedRandom::FractionDraw(p) - 1;
}
int Above(double p) {
    return ScriptedRandom::FractionDraw(p) + 1;
}
int Pick(int k, int n) {
    return static_cast<int>(32767.0 * k / n) + 1;
}

TEST(Panel, BonusRollsOverrideInOrderAndClassesFollowEmptyCells) {
    GameWorld w;
    w.UseClasses(3);
    w.SetBoard({
        "2222",
        "2222",
        "bbbb",
        "aaaa",
        "cccc",
        "cccc",
    });
    w.game.levelPhase = 2;
    w.game.fBonusAnyShapeP = 0.05f;
    w.game.fBonusBandP = 0.25f;
    w.game.fBonusAreaP = 0.25f;
    // All empty cells are class 2: any uniform start is replaced by class 2.
    w.random.queued = {
        Below(0.05), Below(0.25), Above(0.25), Pick(0, 3), ScriptedRandom::FractionDraw(0.5), 0};
    w.game.SpawnPanelShape();
    ASSERT_EQ(w.game.panelCount, 1);
    const ShapeItem& first = w.game.panel[0];
    EXPECT_EQ(first.bonusKind, BonusBand);  // the band roll overrode the any-shape roll
    EXPECT_EQ(first.classIndex, 2);
    EXPECT_FLOAT_EQ(first.x, 1.059375f);
    EXPECT_FLOAT_EQ(first.y, 0.915f);
    EXPECT_EQ(first.mainTexture, w.textures.Handle("Graphics\\am_bonus02.png"));
    EXPECT_EQ(w.game.lastPanelClass, 2);
    EXPECT_EQ(w.game.spawnedCount, 1);

    // The last shape is still at the entry: no new shape.
    w.game.SpawnPanelShape();
    EXPECT_EQ(w.game.panelCount, 1);

    // Every cell filled: all weights 0, the uniform choice stands; class 2 again is avoided.
    w.game.panel[0].x = 0.9f;
    for (int i = 0; i < w.game.cellCount; ++i) w.game.cells[static_cast<size_t>(i)].filled = 1;
    w.random.queued = {Above(0.05), Above(0.25), Below(0.25), Pick(2, 3), 100, Pick(1, 3), 100, 0};
    w.game.SpawnPanelShape();
    ASSERT_EQ(w.game.panelCount, 2);
    EXPECT_EQ(w.game.panel[1].bonusKind, BonusArea);
    EXPECT_EQ(w.game.panel[1].classIndex, 1);
    EXPECT_EQ(w.game.panel[1].mainTexture, w.textures.Handle("Graphics\\am_bonus03.png"));
}

TEST(Panel, OneClassGivesUpAvoidingRepeatsAfterTenAttempts) {
    GameWorld w;
    w.UseClasses(1);
    w.SetBoard({"....", "....", "....", "....", "....", "...."});
    w.game.levelPhase = 3;
    w.game.lastPanelClass = 0;
    w.random.draws = 0;
    w.game.SpawnPanelShape();
    ASSERT_EQ(w.game.panelCount, 1);
    EXPECT_EQ(w.game.panel[0].classIndex, 0);
    // Three bonus rolls, ten attempts of (uniform class, fraction), and the shape.
    EXPECT_GE(w.random.draws, 3 + 10 * 2 + 1);
    EXPECT_LE(w.random.draws, 3 + 10 * 2 + 1 + 10);  // RandomInt(0, 0) may reject a few draws

    // Not in the intro phases.
    w.game.panelCount = 0;
    w.game.levelPhase = 1;
    w.game.SpawnPanelShape();
    EXPECT_EQ(w.game.panelCount, 0);
}

TEST(Panel, ShapesQueueOnePitchApartAndTenBlockTheNext) {
    GameWorld w;
    w.UseClasses(3);
    w.SetBoard({"0120", "1201", "2012", "0120", "1201", "2012"});
    w.game.levelPhase = 3;
    w.game.dt = 0.02f;
    for (int frame = 0; frame < 1000; ++frame) {
        w.game.SpawnPanelShape();
        w.game.MovePanel();
    }
    // The first shape stops at the left end; the others queue one pitch apart until the queue reaches
    // the entry.
    ASSERT_EQ(w.game.panelCount, 7);
    EXPECT_LE(w.game.panel[0].x, 0.3f);
    EXPECT_GT(w.game.panel[0].x, 0.3f - 0.75f * 0.02f - 1e-6f);
    for (int i = 1; i < 7; ++i) {
        EXPECT_NEAR(w.game.panel[static_cast<size_t>(i)].x - w.game.panel[static_cast<size_t>(i - 1)].x,
                    0.11875f, 1e-5);
    }

    // Ten shapes: no eleventh, whatever the position of the last.
    w.game.panelCount = 10;
    for (int i = 0; i < 10; ++i)
        w.game.panel[static_cast<size_t>(i)].x = 0.3f + 0.06f * static_cast<float>(i);
    w.game.SpawnPanelShape();
    EXPECT_EQ(w.game.panelCount, 10);
    // One is taken: the next enters at the entry point.
    w.MouseAt(w.game.panel[3].x, 0.915f);
    w.Left(true);
    ASSERT_TRUE(w.game.TakeFromPanel());
    EXPECT_EQ(w.game.panelCount, 9);
    w.game.SpawnPanelShape();
    EXPECT_EQ(w.game.panelCount, 10);
    EXPECT_FLOAT_EQ(w.game.panel[9].x, 1.059375f);

    // A shape left of 0.140625 leaves the panel at the front.
    w.game.panel[0].x = 0.14f;
    float second = w.game.panel[1].x;
    w.game.MovePanel();
    EXPECT_EQ(w.game.panelCount, 9);
    EXPECT_NEAR(w.game.panel[0].x, second - 0.75f * 0.02f, 1e-6);  // it moved on, then became the first
}

TEST(Lines, SpeedGrowsWithRemovedLinesAndCellsWrap) {
    GameWorld w;
    w.UseClasses(2);
    w.SetBoard({"...", "...", "...", "...", "...", "..."});
    w.game.lineSpeed = 0.03f;
    w.game.linesLeft = 3;
    w.game.dt = 0.5f;
    float y = w.Cell(0, 1).y;
    float scroll = w.game.lines[0].scroll;
    w.game.MoveLines();
    EXPECT_NEAR(w.Cell(0, 1).y, y - 0.09f * 0.5f, 1e-6);
    EXPECT_FLOAT_EQ(w.Cell(0, 1).vy, -0.09f);
    EXPECT_NEAR(w.game.lines[0].scroll, scroll + 0.045f, 1e-6);
    // A cell rising over the top reappears at the bottom of the band.
    w.game.cells[0].y = -0.07f;
    w.game.MoveLines();
    EXPECT_FLOAT_EQ(w.game.cells[0].y, 3 * 0.15833333f - 0.07916667f);
    // A cell moving down past the bottom comes back at the top; a negative scroll runs the other way.
    w.game.cells[1].vy = 1.0f;
    w.game.cells[1].y = 0.39f;
    w.game.lines[1].scroll = -0.2f;
    w.game.MoveLines();
    EXPECT_FLOAT_EQ(w.game.cells[1].y, -0.07916667f);
    EXPECT_NEAR(w.game.lines[1].scroll, -0.245f, 1e-6);
    // The tutorial holds the lines.
    w.game.tutorialActive = 1;
    float before = w.game.cells[2].y;
    w.game.MoveLines();
    EXPECT_EQ(w.game.cells[2].y, before);
}

TEST(Panel, TakingNeedsTheButtonOverAShapeAndDiscardThrowsOneAway) {
    GameWorld w;
    w.UseClasses(3);
    w.SetBoard({"....", "....", "....", "....", "....", "...."});
    w.game.levelNumber = 1;
    w.game.levelPhase = 2;
    for (int i = 0; i < 3; ++i) {
        ShapeItem& p = w.game.panel[static_cast<size_t>(i)];
        p = ShapeItem{};
        p.classIndex = i;
        p.x = 0.3f + 0.11875f * static_cast<float>(i);
        p.y = 0.915f;
    }
    w.game.panelCount = 3;
    w.MouseAt(0.42f, 0.915f);
    w.Left(true);
    EXPECT_FALSE(w.game.TakeFromPanel());  // level 1 before play starts
    w.game.levelPhase = 3;
    w.Left(false);
    EXPECT_FALSE(w.game.TakeFromPanel());
    w.Left(true);
    w.MouseAt(0.42f, 0.85f);
    EXPECT_FALSE(w.game.TakeFromPanel());  // above the shape's half height
    w.MouseAt(0.42f, 0.915f);
    ASSERT_TRUE(w.game.TakeFromPanel());
    EXPECT_EQ(w.game.held.classIndex, 1);
    EXPECT_EQ(w.game.held.present, 1);
    EXPECT_EQ(w.game.panelCount, 2);
    EXPECT_EQ(w.game.panel[1].classIndex, 2);
    EXPECT_EQ(w.sound.played.back(), "take_shape");
    EXPECT_FALSE(w.game.TakeFromPanel());  // one at a time

    // Space with the first shape still right of 0.5 does nothing.
    w.game.panel[0].x = 0.6f;
    w.game.OnKey(WM_KEYDOWN, VK_SPACE);
    EXPECT_EQ(w.game.held.present, 1);
    w.game.panel[0].x = 0.3f;
    w.game.OnKey(WM_CHAR, VK_SPACE);
    EXPECT_EQ(w.game.held.present, 1);
    w.game.OnKey(WM_KEYDOWN, VK_SPACE);
    EXPECT_EQ(w.game.held.present, 0);
    EXPECT_EQ(w.game.panelCount, 2);  // the held shape went, not a panel shape
    EXPECT_EQ(w.sound.played.back(), "drop_shape");
    ASSERT_EQ(w.effects.Count(), 1);
    const Effect& shrink = w.effects.At(0);
    EXPECT_EQ(shrink.kind, EffectShrinkSprite);
    EXPECT_EQ(shrink.layer, 2);
    EXPECT_FLOAT_EQ(shrink.x, 0.1f);
    EXPECT_FLOAT_EQ(shrink.y, 0.915f);
    EXPECT_FLOAT_EQ(shrink.w, 0.0890625f);
    EXPECT_EQ(shrink.texture, w.textures.Handle("Shapes\\c1_s0.png"));
    // Nothing held: the first panel shape goes.
    w.game.OnKey(WM_KEYDOWN, VK_SPACE);
    EXPECT_EQ(w.game.panelCount, 1);
    EXPECT_EQ(w.game.panel[0].classIndex, 2);
    // An empty panel and nothing held: nothing happens.
    w.game.panelCount = 0;
    w.sound.played.clear();
    w.game.OnKey(WM_KEYDOWN, VK_SPACE);
    EXPECT_TRUE(w.sound.played.empty());
    // An empty panel with a shape held: the held shape is thrown away.
    w.Hold(0);
    w.game.panel[0].x = 0.9f;  // a vacated slot is not looked at
    w.game.OnKey(WM_KEYDOWN, VK_SPACE);
    EXPECT_EQ(w.game.held.present, 0);

    // The tutorial only lets its own panel slot go.
    w.game.panelCount = 6;
    for (int i = 0; i < 6; ++i) {
        w.game.panel[static_cast<size_t>(i)].x = 0.3f + 0.11875f * static_cast<float>(i);
        w.game.panel[static_cast<size_t>(i)].y = 0.915f;
    }
    w.game.tutorialActive = 1;
    w.game.tutorialStep = 1;
    w.game.tutorialPanelIndex = 4;
    w.MouseAt(w.game.panel[2].x, 0.915f);
    EXPECT_FALSE(w.game.TakeFromPanel());
    // Nothing can be thrown away during the tutorial, so its panel shape cannot run out.
    w.game.OnKey(WM_KEYDOWN, VK_SPACE);
    EXPECT_EQ(w.game.panelCount, 6);
    w.MouseAt(w.game.panel[4].x, 0.915f);
    EXPECT_TRUE(w.game.TakeFromPanel());
    EXPECT_EQ(w.game.tutorialStep, 3);
    w.game.Discard();
    EXPECT_EQ(w.game.held.present, 1);
}

}  // namespace
}  // namespace tamblor
