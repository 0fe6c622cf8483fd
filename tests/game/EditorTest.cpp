#include <gtest/gtest.h>
#include <tinyxml2.h>

#include "game/GameTestSupport.h"

namespace tamblor {
namespace {

using test::GameWorld;

struct EditorWorld : GameWorld {
    EditorWorld() {
        WriteClasses(3, 2);
        game.LoadShapeClasses("classes.xml");
        WriteLevel(
            3,
            "newShapeTime=\"0.2\" levelTime=\"75.5\" shapeClassCount=\"2\" shapeClassList=\"c2\" "
            "lineSpeed=\"0.035\" fBugAppearanceRange=\"12\" lineShapeCount=\"11\" fBonusAnyShapeP=\"0.04\" "
            "fBonusBandP=\"0.2\" fBonusAreaP=\"0.15\"");
        appStates.SetState(LevelWon);
        game.levelNumber = 3;
        game.StartLevel();
    }
    void Frame() { game.UpdateEditor(); }
    std::string SavedText() { return dir.Read("user/Levels/level_3.xml"); }
};

TEST(Editor, SnappingTruncatesTowardZero) {
    EXPECT_FLOAT_EQ(Game::SnapToEditorGrid(0.21f, 0.5f).first, 0.26875f);
    EXPECT_FLOAT_EQ(Game::SnapToEditorGrid(0.20f, 0.5f).first, 0.15f);
    // The nearest row, half way rounding down the screen.
    EXPECT_FLOAT_EQ(Game::SnapToEditorGrid(0.5f, 0.0f).second, 0.07916666f);
    EXPECT_FLOAT_EQ(Game::SnapToEditorGrid(0.5f, 0.15f).second, 0.07916666f);
    EXPECT_FLOAT_EQ(Game::SnapToEditorGrid(0.5f, 0.2f).second, -0.07916667f + 2 * 0.15833333f);
    EXPECT_FLOAT_EQ(Game::SnapToEditorGrid(0.05f, 0.5f).first, 0.15f);  // left of the grid: the first column
}

TEST(Editor, AddsOneCellPerFreeGridPointAndRemovesUnderTheRightButton) {
    EditorWorld w;
    ASSERT_EQ(w.game.cellCount, 66);
    w.game.cells[3].filled = 1;
    w.game.cells[5].present = 0;
    w.game.cells[7].y += 0.3f;
    w.game.ToggleEditor();
    EXPECT_EQ(w.game.editorMode, 1);
    EXPECT_EQ(w.game.cells[3].filled, 0);
    EXPECT_EQ(w.game.cells[5].present, 1);
    EXPECT_EQ(w.game.cells[7].y, w.game.cells[7].baseY);

    // A free point: x 0.15 is left of the board's first line.
    w.MouseAt(0.16f, 0.08f);
    w.Left(true);
    for (int i = 0; i < 5; ++i) w.Frame();
    ASSERT_EQ(w.game.cellCount, 67);
    const ShapeItem& added = w.game.cells[66];
    EXPECT_FLOAT_EQ(added.x, 0.15f);
    EXPECT_FLOAT_EQ(added.y, 0.07916666f);
    EXPECT_FLOAT_EQ(added.baseY, added.y);
    EXPECT_EQ(added.filled, 1);
    EXPECT_EQ(added.present, 1);
    EXPECT_LT(added.classIndex, 2);
    EXPECT_NE(added.mainTexture, nullptr);
    EXPECT_EQ(w.sound.Count("place_shape"), 1);
    // Moving on while holding adds one at each new free point.
    w.MouseAt(0.16f, 0.24f);
    w.Frame();
    w.Frame();
    w.MouseAt(0.16f, 0.40f);
    w.Frame();
    EXPECT_EQ(w.game.cellCount, 69);
    // An occupied point (a cell of the board) takes nothing.
    w.MouseAt(0.40875f, 0.2375f);
    w.Frame();
    EXPECT_EQ(w.game.cellCount, 69);
    w.Left(false);

    // The table holds 180 cells.
    w.game.cellCount = 179;
    w.Left(true);
    w.MouseAt(0.16f, 0.56f);
    w.Frame();
    w.MouseAt(0.16f, 0.72f);
    w.Frame();
    EXPECT_EQ(w.game.cellCount, 180);
}

TEST(Editor, RemovesAdjacentSlotsAndTheBugFollowsTheRenumbering) {
    // Cells 12 and 13 (line 1) lie on one grid point; the right button there removes both: the cell
    // that moves into slot 12 is looked at again. The bug's target keeps pointing at its own cell.
    const struct {
        int targetBefore, targetAfter;
    } cases[] = {{5, 5}, {11, 11}, {12, -1}, {13, -1}, {14, 12}, {65, 63}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.targetBefore);
        EditorWorld w;
        Game& g = w.game;
        g.ToggleEditor();
        g.cells[13].x = g.cells[12].x;
        g.cells[13].y = g.cells[12].y;
        g.bug.active = 1;
        g.bug.targetCell = c.targetBefore;
        ShapeItem target = g.cells[static_cast<size_t>(c.targetBefore)];
        w.input.SetKeyDown(VK_RBUTTON, true);
        w.MouseAt(g.cells[12].x, g.cells[12].y);
        w.Frame();
        EXPECT_EQ(g.cellCount, 64);
        EXPECT_EQ(w.sound.Count("delete_shape"), 2);
        EXPECT_EQ(g.bug.targetCell, c.targetAfter);
        if (c.targetAfter >= 0) {
            const ShapeItem& now = g.cells[static_cast<size_t>(c.targetAfter)];
            EXPECT_EQ(now.x, target.x);
            EXPECT_EQ(now.y, target.y);
        }
        // The cells behind moved down two slots in order.
        EXPECT_FLOAT_EQ(g.cells[12].y, 0.39583333f);
        EXPECT_FLOAT_EQ(g.cells[63].x, 0.29f + 5 * 0.11875f);
    }
}

TEST(Editor, SavesTheLevelFileAndItLoadsBack) {
    EditorWorld w;
    w.game.ToggleEditor();
    w.MouseAt(0.16f, 0.4f);
    w.Left(true);
    w.Frame();
    w.Left(false);
    w.game.cells[66].y = -0.07916667f;  // the top row, above the reach of the pointer
    w.input.SetKeyDown(VK_F2, true);
    w.Frame();
    std::string text = w.SavedText();
    ASSERT_FALSE(text.empty());
    tinyxml2::XMLDocument doc;
    ASSERT_EQ(doc.Parse(text.c_str()), tinyxml2::XML_SUCCESS);
    const tinyxml2::XMLElement* map = doc.FirstChildElement("LevelMap");
    ASSERT_NE(map, nullptr);
    std::vector<std::string> order;
    for (const tinyxml2::XMLAttribute* a = map->FirstAttribute(); a; a = a->Next())
        order.emplace_back(a->Name());
    EXPECT_EQ(order,
              (std::vector<std::string>{"newShapeTime", "levelTime", "shapeClassCount", "shapeClassList",
                                        "lineSpeed", "fBugAppearanceRange", "lineShapeCount",
                                        "fBonusAnyShapeP", "fBonusBandP", "fBonusAreaP"}));
    EXPECT_STREQ(map->Attribute("lineShapeCount"), "11.000000");
    EXPECT_STREQ(map->Attribute("shapeClassCount"), "2.000000");
    EXPECT_STREQ(map->Attribute("levelTime"), "75.500000");
    int cells = 0;
    const tinyxml2::XMLElement* last = nullptr;
    for (const tinyxml2::XMLElement* e = map->FirstChildElement("ShapeCell"); e;
         e = e->NextSiblingElement("ShapeCell")) {
        ++cells;
        last = e;
    }
    EXPECT_EQ(cells, 67);
    ASSERT_NE(last, nullptr);
    EXPECT_STREQ(last->Attribute("xc"), "0.150000");
    EXPECT_STREQ(last->Attribute("yc"), "-0.079167");

    // Held F2 writes once per press.
    w.dir.Write("user/Levels/level_3.xml", "changed");
    w.Frame();
    EXPECT_EQ(w.SavedText(), "changed");
    w.input.SetKeyDown(VK_F2, false);
    w.Frame();
    w.input.SetKeyDown(VK_F2, true);
    w.Frame();
    EXPECT_NE(w.SavedText(), "changed");

    // Loaded back: the same parameters, the generated grid instead of the saved cells.
    Game& g = w.game;
    float levelTime = g.levelTime, lineSpeed = g.lineSpeed, newShapeTime = g.newShapeTime;
    g.levelTime = 1.0f;
    g.LoadLevel();
    EXPECT_FLOAT_EQ(g.levelTime, levelTime);
    EXPECT_FLOAT_EQ(g.lineSpeed, lineSpeed);
    EXPECT_FLOAT_EQ(g.newShapeTime, newShapeTime);
    EXPECT_EQ(g.lineShapeCount, 11);
    EXPECT_EQ(g.shapeClassCount, 2);
    EXPECT_EQ(g.shapeClassList, "c2");
    EXPECT_EQ(g.levelClasses[0].name, "c2");
    EXPECT_FLOAT_EQ(g.bug.appearanceRange, 12.0f);
    EXPECT_FLOAT_EQ(g.fBonusAreaP, 0.15f);
    EXPECT_FALSE(g.IsBonusLevel());
    EXPECT_EQ(g.cellCount, 66);

    // A bonus level keeps its flag; an empty one writes none.
    g.bonusLevel = "true";
    ASSERT_TRUE(g.SaveLevelFile());
    EXPECT_NE(w.SavedText().find("bonusLevel=\"true\""), std::string::npos);
    g.bonusLevel.clear();
    g.shapeClassList.clear();
    ASSERT_TRUE(g.SaveLevelFile());
    EXPECT_EQ(w.SavedText().find("bonusLevel"), std::string::npos);
    EXPECT_EQ(w.SavedText().find("shapeClassList"), std::string::npos);
}

TEST(Editor, KeypadStepsThroughLevelsAndALevelWithoutFileIsLogged) {
    EditorWorld w;
    w.WriteLevel(4, "levelTime=\"30\" shapeClassCount=\"3\" lineShapeCount=\"4\"");
    w.game.ToggleEditor();
    w.game.lines[2].removed = 1;
    w.game.lines[2].x = 0.9f;
    w.game.linesLeft = 5;
    // The announcement of the level that is left, half faded in, goes with it.
    w.effects.AddFadingText(1, 0.0f, 2.5f, 0.6f, 0.39f, "Level N", 0);
    w.game.sceneFade = 0.4f;
    w.effects.AddTween(0.0f, 0.5f, 0.4f, 1.0f, &w.game.sceneFade);
    w.game.EditorChangeLevel(+1);
    EXPECT_TRUE(w.effects.Empty());
    EXPECT_FLOAT_EQ(w.game.sceneFade, 1.0f);
    EXPECT_EQ(w.game.levelNumber, 4);
    EXPECT_EQ(w.game.cellCount, 24);
    EXPECT_FLOAT_EQ(w.game.levelTime, 30.0f);
    EXPECT_EQ(w.game.linesLeft, 6);
    EXPECT_EQ(w.game.lines[2].removed, 0);
    EXPECT_FLOAT_EQ(w.game.lines[2].x, 0.29f + 2 * 0.11875f);
    for (int i = 0; i < w.game.cellCount; ++i) {
        const ShapeItem& c = w.game.cells[static_cast<size_t>(i)];
        EXPECT_EQ(c.maskTexture, w.textures.Handle(w.game.levelClasses[static_cast<size_t>(c.classIndex)]
                                                       .shapes[static_cast<size_t>(c.shapeIndex)]
                                                       .maskImage));
    }
    w.game.EditorChangeLevel(+1);
    EXPECT_EQ(w.game.levelNumber, 5);
    EXPECT_EQ(w.game.cellCount, 0);
    EXPECT_NE(w.LogText().find("Fatal error, cannot load XML: Levels\\level_5.xml"), std::string::npos);
    w.game.EditorChangeLevel(-1);
    w.game.EditorChangeLevel(-1);
    EXPECT_EQ(w.game.levelNumber, 3);
    EXPECT_EQ(w.game.cellCount, 66);
}

TEST(Editor, EditThenPlayThenRestartFromTheFile) {
    EditorWorld w;
    w.game.ToggleEditor();
    // Remove two cells of the board, add one left of it, save.
    w.input.SetKeyDown(VK_RBUTTON, true);
    w.MouseAt(0.40875f, 0.2375f);  // line 1, its third cell
    w.Frame();
    w.input.SetKeyDown(VK_RBUTTON, false);
    EXPECT_EQ(w.game.cellCount, 65);
    w.MouseAt(0.16f, 0.5f);
    w.Left(true);
    w.Frame();
    w.Left(false);
    w.input.SetKeyDown(VK_F2, true);
    w.Frame();
    w.input.SetKeyDown(VK_F2, false);
    EXPECT_EQ(w.game.cellCount, 66);
    w.game.ToggleEditor();
    EXPECT_EQ(w.game.editorMode, 0);

    // Play goes on with the board as edited: the added cell is filled, 1 of 66.
    w.clock.Advance(20);
    w.game.UpdateLevel(0.02f);
    EXPECT_EQ(w.game.filledCount, 1);
    EXPECT_EQ(w.game.cellCount, 66);

    // Restarting reads the saved file: its parameters and a freshly generated grid.
    w.appStates.SetState(LevelWon);
    w.game.StartLevel();
    EXPECT_EQ(w.game.cellCount, 66);
    EXPECT_EQ(w.game.filledCount, 1);  // not recounted yet
    w.game.CountFilled();
    EXPECT_EQ(w.game.filledCount, 0);
    EXPECT_FLOAT_EQ(w.game.levelTime, 75.5f);
    EXPECT_FLOAT_EQ(w.game.cells[0].x, 0.29f);
}

}  // namespace
}  // namespace tamblor
