#include <gtest/gtest.h>

#include "game/GameTestSupport.h"

namespace tamblor {
namespace {

using test::GameWorld;

TEST(Board, GridGeometryStaggersEvenLinesHalfACellLower) {
    GameWorld w;
    w.UseClasses(3);
    w.game.lineSpeed = 0.03f;
    w.game.BuildGrid(11, 6);
    ASSERT_EQ(w.game.cellCount, 66);
    EXPECT_FLOAT_EQ(w.Cell(0, 0).x, 0.29f);
    EXPECT_NEAR(w.Cell(0, 0).y, 0.0f, 1e-6);
    EXPECT_FLOAT_EQ(w.Cell(1, 0).x, 0.40875f);
    EXPECT_FLOAT_EQ(w.Cell(1, 0).y, -0.07916667f);
    EXPECT_FLOAT_EQ(w.Cell(2, 0).y, w.Cell(0, 0).y);
    EXPECT_FLOAT_EQ(w.Cell(0, 1).y - w.Cell(0, 0).y, 0.15833333f);
    EXPECT_FLOAT_EQ(w.Cell(5, 10).x, 0.29f + 5 * 0.11875f);
    for (int i = 0; i < 66; ++i) {
        const ShapeItem& c = w.game.cells[static_cast<size_t>(i)];
        EXPECT_EQ(c.present, 1);
        EXPECT_EQ(c.filled, 0);
        EXPECT_FLOAT_EQ(c.vy, -0.03f);
        EXPECT_FLOAT_EQ(c.baseY, c.y);
        EXPECT_GE(c.classIndex, 0);
        EXPECT_LT(c.classIndex, 3);
        EXPECT_EQ(c.shapeIndex, 0);
    }
    // Cells per line are capped at what the 180 slots hold.
    w.game.BuildGrid(31, 6);
    EXPECT_EQ(w.game.cellCount, 180);
}

TEST(Board, EveryLevelClassGetsACellAndNoUsableClassMeansNoBoard) {
    GameWorld w;
    w.UseClasses(12, 4);
    w.game.lineShapeCount = 2;  // 12 cells for 12 classes: nothing is forced, so use 3 per line
    for (int seed = 1; seed <= 20; ++seed) {
        w.random.SRand15(static_cast<uint32_t>(seed));
        w.game.BuildGrid(3, 6);
        w.game.ForceEveryClass();
        std::array<int, 12> seen{};
        for (int i = 0; i < w.game.cellCount; ++i) {
            const ShapeItem& c = w.game.cells[static_cast<size_t>(i)];
            ++seen[static_cast<size_t>(c.classIndex)];
            EXPECT_LT(c.shapeIndex, 4);
        }
        for (int c = 0; c < 12; ++c)
            EXPECT_GT(seen[static_cast<size_t>(c)], 0) << "class " << c << " seed " << seed;
    }
    // One class: forcing changes nothing but shapes.
    w.UseClasses(1, 1);
    w.game.BuildGrid(11, 6);
    w.game.ForceEveryClass();
    for (int i = 0; i < 66; ++i) EXPECT_EQ(w.game.cells[static_cast<size_t>(i)].classIndex, 0);

    // Without classes, or with a class that has no shapes, there is nothing to build.
    w.UseClasses(0);
    w.game.BuildGrid(11, 6);
    EXPECT_EQ(w.game.cellCount, 0);
    w.UseClasses(2, 0);
    int before = w.random.draws;
    w.game.BuildGrid(11, 6);
    w.game.ForceEveryClass();
    EXPECT_EQ(w.game.cellCount, 0);
    EXPECT_EQ(w.random.draws, before);
}

TEST(Board, LinesCompleteOnlyWhenPresentAndFilledAndRemovedCellsStillCount) {
    GameWorld w;
    w.SetBoard({
        "####",
        "###.",
        "----",
        "....",
        "#...",
        "....",
    });
    EXPECT_TRUE(w.game.IsLineComplete(0));
    EXPECT_FALSE(w.game.IsLineComplete(1));
    EXPECT_FALSE(w.game.IsLineComplete(2));  // gone: its cells are no longer on the board
    w.game.CountFilled();
    EXPECT_EQ(w.game.filledCount, 4 + 3 + 4 + 1);
    EXPECT_FLOAT_EQ(w.game.progress, 12.0f / 24.0f);

    w.UseClasses(0);
    w.game.BuildGrid(11, 6);
    w.game.CountFilled();
    EXPECT_EQ(w.game.filledCount, 0);
    EXPECT_EQ(w.game.progress, 0.0f);  // no cells: nothing to divide by

    EXPECT_EQ(Game::StageOf(1), 1);
    EXPECT_EQ(Game::StageOf(6), 1);
    EXPECT_EQ(Game::StageOf(7), 2);
}

TEST(Board, ImageNamesAndTextures) {
    GameWorld w;
    w.UseClasses(2, 2);
    ShapeItem item;
    item.classIndex = 1;
    item.shapeIndex = 1;
    EXPECT_EQ(w.game.ShapeImageFile(item), "Shapes\\c1_s1.png");
    item.bonusKind = BonusAnyShape;
    EXPECT_EQ(w.game.ShapeImageFile(item), "Graphics\\am_bonus01.png");
    item.bonusKind = BonusBand;
    EXPECT_EQ(w.game.ShapeImageFile(item), "Graphics\\am_bonus02.png");
    item.bonusKind = BonusArea;
    EXPECT_EQ(w.game.ShapeImageFile(item), "Graphics\\am_bonus03.png");
    item.bonusKind = BonusNone;

    w.game.LoadItemTextures(item);
    EXPECT_EQ(item.mainTexture, w.textures.Handle("Shapes\\c1_s1.png"));
    EXPECT_EQ(item.maskTexture, w.textures.Handle("Shapes\\c1_s1_mask.png"));
    // Indices outside the level's classes give no picture rather than reading past the tables.
    for (auto [c, s] : {std::pair{-1, 0}, std::pair{2, 0}, std::pair{1, 2}, std::pair{0, -1}}) {
        item.classIndex = c;
        item.shapeIndex = s;
        w.game.LoadItemTextures(item);
        EXPECT_EQ(item.mainTexture, nullptr);
        EXPECT_EQ(item.maskTexture, nullptr);
        EXPECT_EQ(w.game.ShapeImageFile(item), "");
    }
}

}  // namespace
}  // namespace tamblor
