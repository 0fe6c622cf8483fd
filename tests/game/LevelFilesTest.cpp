#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "game/GameTestSupport.h"

namespace tamblor {
namespace {

using test::GameWorld;

TEST(ClassFile, ReadsClassesAndShapesAndSurvivesBadFiles) {
    GameWorld w;
    EXPECT_EQ(w.game.LoadShapeClasses("classes.xml"), 0);
    EXPECT_EQ(w.game.allClassCount, 0);
    EXPECT_NE(w.LogText().find("Fatal error, cannot load XML: classes.xml\n"), std::string::npos);

    w.WriteData("classes.xml",
                "<Level><ShapeClass name=\"star\"><Shape mainImage=\"a.png\"/>"
                "<Shape maskImage=\"m.png\" mainImage=\"b.png\"/></ShapeClass>"
                "<ShapeClass soundEvent=\"snd\"/><Other/></Level>");
    EXPECT_EQ(w.game.LoadShapeClasses("classes.xml"), 1);
    ASSERT_EQ(w.game.allClassCount, 2);
    EXPECT_EQ(w.game.allClasses[0].name, "star");
    EXPECT_EQ(w.game.allClasses[0].shapeCount, 2);
    EXPECT_EQ(w.game.allClasses[0].shapes[0].mainImage, "a.png");
    EXPECT_EQ(w.game.allClasses[0].shapes[0].maskImage, "");
    EXPECT_EQ(w.game.allClasses[0].shapes[1].maskImage, "m.png");
    EXPECT_EQ(w.game.allClasses[1].soundEvent, "snd");
    EXPECT_EQ(w.game.allClasses[1].shapeCount, 0);

    // Past the fixed tables: 30 classes of 10 shapes at most, long names cut to 254 characters.
    w.WriteClasses(35, 12);
    EXPECT_EQ(w.game.LoadShapeClasses("classes.xml"), 1);
    EXPECT_EQ(w.game.allClassCount, 30);
    EXPECT_EQ(w.game.allClasses[29].shapeCount, 10);
    w.WriteData("classes.xml", "<Level><ShapeClass name=\"" + std::string(400, 'n') + "\"/></Level>");
    EXPECT_EQ(w.game.LoadShapeClasses("classes.xml"), 1);
    EXPECT_EQ(w.game.allClasses[0].name.size(), 254u);
    w.WriteData("classes.xml", "<Level><ShapeClass name=\"x\">");
    EXPECT_EQ(w.game.LoadShapeClasses("classes.xml"), 0);
}

TEST(LevelFile, ReadsParametersAndUsesZeroForAbsentNumbers) {
    GameWorld w;
    w.WriteClasses(5, 3);
    ASSERT_EQ(w.game.LoadShapeClasses("classes.xml"), 1);
    w.WriteLevel(1,
                 "newShapeTime=\"0.5\" levelTime=\"120.5s\" shapeClassCount=\"3.9\" bonusLevel=\"true\" "
                 "lineSpeed=\"0.04\" fBugAppearanceRange=\"20\" lineShapeCount=\"7\" "
                 "fBonusAnyShapeP=\"0.1\" fBonusBandP=\"0.2\" fBonusAreaP=\"0.3\"");
    w.game.levelNumber = 1;
    w.game.LoadLevel();
    EXPECT_FLOAT_EQ(w.game.newShapeTime, 0.5f);
    EXPECT_FLOAT_EQ(w.game.levelTime, 120.5f);
    EXPECT_EQ(w.game.shapeClassCount, 3);
    EXPECT_TRUE(w.game.IsBonusLevel());
    EXPECT_FLOAT_EQ(w.game.lineSpeed, 0.04f);
    EXPECT_FLOAT_EQ(w.game.bug.appearanceRange, 20.0f);
    EXPECT_EQ(w.game.lineShapeCount, 7);
    EXPECT_EQ(w.game.cellCount, 42);
    EXPECT_FLOAT_EQ(w.game.fBonusAreaP, 0.3f);
    EXPECT_EQ(w.game.lastPlaced.classIndex, -1);
    // Outside Transformer every class keeps one shape.
    for (int c = 0; c < 3; ++c) EXPECT_EQ(w.game.levelClasses[static_cast<size_t>(c)].shapeCount, 1);

    // Absent numbers read 0: no cells per line gives an empty board, no time a clock at 0.
    w.game.gameMode = ModeTransformer;
    w.WriteLevel(2, "shapeClassCount=\"2\" bonusLevel=\"True\"");
    w.game.levelNumber = 2;
    w.game.LoadLevel();
    EXPECT_EQ(w.game.lineShapeCount, 0);
    EXPECT_EQ(w.game.cellCount, 0);
    EXPECT_EQ(w.game.levelTime, 0.0f);
    EXPECT_EQ(w.game.lineSpeed, 0.0f);
    EXPECT_FALSE(w.game.IsBonusLevel());
    EXPECT_EQ(w.game.levelClasses[0].shapeCount, 3);
    w.WriteLevel(3, "bonusLevel=\"1\" lineShapeCount=\"1e9\" shapeClassCount=\"nan\"");
    w.game.levelNumber = 3;
    w.game.LoadLevel();
    EXPECT_FALSE(w.game.IsBonusLevel());
    EXPECT_EQ(w.game.lineShapeCount, 30);
    EXPECT_EQ(w.game.shapeClassCount, 0);
    EXPECT_EQ(w.game.cellCount, 0);

    // A missing file: logged with its path, values before reading, no board.
    w.game.levelNumber = 9;
    w.game.LoadLevel();
    EXPECT_NE(w.LogText().find("Fatal error, cannot load XML: Levels\\level_9.xml\n"), std::string::npos);
    EXPECT_FLOAT_EQ(w.game.levelTime, 100.0f);
    EXPECT_EQ(w.game.shapeClassCount, 3);
    EXPECT_FLOAT_EQ(w.game.bug.appearanceRange, 15.0f);
    EXPECT_FLOAT_EQ(w.game.fBonusAnyShapeP, 0.05f);
    EXPECT_EQ(w.game.cellCount, 0);
    EXPECT_EQ(w.game.LevelFileExists(1), 1);
    EXPECT_EQ(w.game.LevelFileExists(9), 0);
}

TEST(LevelFile, NamedClassesComeFirstAndTheRestAreDistinct) {
    GameWorld w;
    w.WriteClasses(6, 2);
    ASSERT_EQ(w.game.LoadShapeClasses("classes.xml"), 1);
    w.WriteLevel(1, "shapeClassCount=\"3\" shapeClassList=\"c4,,c1\" lineShapeCount=\"11\" levelTime=\"60\"");
    for (int seed = 1; seed <= 30; ++seed) {
        w.random.SRand15(static_cast<uint32_t>(seed));
        w.game.LoadLevel();
        ASSERT_EQ(w.game.shapeClassCount, 3);
        EXPECT_EQ(w.game.levelClasses[0].name, "c4");
        EXPECT_EQ(w.game.levelClasses[1].name, "c1");
        const std::string& third = w.game.levelClasses[2].name;
        EXPECT_NE(third, "c4");
        EXPECT_NE(third, "c1");
        EXPECT_EQ(w.game.cellCount, 66);
    }
}

TEST(LevelFile, ClassChoiceAlwaysEnds) {
    struct Case {
        std::string classes;
        std::string level;
        int expectedClasses;
    };
    std::string twoShapes = "<Shape mainImage=\"a.png\"/><Shape mainImage=\"b.png\"/>";
    std::vector<Case> cases = {
        {"", "shapeClassCount=\"3\" lineShapeCount=\"11\"", 0},  // no classes.xml at all
        {"<Level><ShapeClass name=\"a\"/><ShapeClass name=\"b\"/></Level>",
         "shapeClassCount=\"2\" lineShapeCount=\"11\"", 0},  // classes without shapes
        {"<Level><ShapeClass name=\"a\">" + twoShapes + "</ShapeClass><ShapeClass name=\"b\"/></Level>",
         "shapeClassCount=\"2\" lineShapeCount=\"11\"", 1},
        {"<Level><ShapeClass name=\"a\">" + twoShapes + "</ShapeClass></Level>",
         "shapeClassCount=\"0\" lineShapeCount=\"11\"", 0},
        {"<Level><ShapeClass name=\"a\">" + twoShapes + "</ShapeClass><ShapeClass name=\"b\">" + twoShapes +
             "</ShapeClass></Level>",
         "shapeClassCount=\"5\" lineShapeCount=\"11\"", 2},
        {"<Level><ShapeClass name=\"a\">" + twoShapes + "</ShapeClass><ShapeClass name=\"a\">" + twoShapes +
             "</ShapeClass><ShapeClass name=\"b\">" + twoShapes + "</ShapeClass></Level>",
         "shapeClassCount=\"3\" lineShapeCount=\"11\"", 2},  // two identical records count once
        {"<Level><ShapeClass name=\"a\">" + twoShapes + "</ShapeClass><ShapeClass name=\"b\">" + twoShapes +
             "</ShapeClass><ShapeClass name=\"c\">" + twoShapes + "</ShapeClass></Level>",
         "shapeClassCount=\"2\" shapeClassList=\"a,a\" lineShapeCount=\"11\"", 2},  // a name twice
        {"<Level><ShapeClass name=\"a\">" + twoShapes + "</ShapeClass><ShapeClass name=\"b\">" + twoShapes +
             "</ShapeClass></Level>",
         "shapeClassCount=\"2\" shapeClassList=\"zz,b\" lineShapeCount=\"11\"", 2},  // an unknown name
    };
    for (const Case& c : cases) {
        GameWorld w;
        if (!c.classes.empty())
            w.WriteData("classes.xml", c.classes);
        w.game.LoadShapeClasses("classes.xml");
        w.WriteLevel(1, c.level + " levelTime=\"60\"");
        w.random.draws = 0;
        w.game.StartLevel();
        EXPECT_LT(w.random.draws, 1000) << c.level;
        EXPECT_EQ(w.game.shapeClassCount, c.expectedClasses) << c.level;
        std::set<std::string> names;
        for (int i = 0; i < w.game.shapeClassCount; ++i)
            names.insert(w.game.levelClasses[static_cast<size_t>(i)].name);
        EXPECT_EQ(static_cast<int>(names.size()), c.expectedClasses) << c.level;
        EXPECT_EQ(w.game.cellCount, c.expectedClasses > 0 ? 66 : 0) << c.level;
        // The level runs: with an empty board the panel and the bug stay idle and the level completes.
        w.game.levelPhase = 3;
        w.game.playStartTime = w.clock.Seconds();
        w.game.bug.appearanceRange = 0.0f;
        w.clock.Advance(1000);
        w.game.UpdateLevel(0.016f);
        EXPECT_LT(w.random.draws, 2000) << c.level;
        if (c.expectedClasses == 0) {
            EXPECT_EQ(w.game.panelCount, 0);
            EXPECT_EQ(w.appStates.State(), LevelWon);
        }
    }
}

TEST(LevelStart, StartLevelResetsLinesPicksBackgroundAndFades) {
    GameWorld w;
    w.WriteClasses(4, 1);
    w.game.LoadShapeClasses("classes.xml");
    for (int level : {1, 6, 7, 30, 31})
        w.WriteLevel(level, "shapeClassCount=\"3\" lineShapeCount=\"11\" levelTime=\"80\"");

    w.appStates.SetState(StageMap);
    w.game.levelNumber = 30;
    w.game.lines[2].removed = 1;
    w.game.linesLeft = 3;
    w.effects.AddSoundCue(5.0f, "stale");
    w.clock.Set(70000);
    w.game.StartLevel();
    EXPECT_EQ(w.appStates.State(), Playing);
    EXPECT_EQ(w.game.backgroundNext, "Graphics\\back_game05.jpg");
    EXPECT_EQ(w.game.backgroundShown, "Graphics\\back_game05.jpg");
    EXPECT_EQ(w.game.levelPhase, 0);
    EXPECT_EQ(w.game.linesLeft, 6);
    EXPECT_EQ(w.game.lines[2].removed, 0);
    EXPECT_FLOAT_EQ(w.game.lines[5].x, 0.29f + 5 * 0.11875f);
    EXPECT_FLOAT_EQ(w.game.levelStartTime, 70.0f);
    EXPECT_FLOAT_EQ(w.game.savedTimeLeft, 80.0f);
    ASSERT_EQ(w.effects.Count(), 1);  // the stale cue is gone; only the fade to black
    EXPECT_EQ(w.effects.At(0).target, &w.game.sceneFade);
    EXPECT_EQ(w.game.cells[0].mainTexture, w.textures.Handle(w.game.ShapeImageFile(w.game.cells[0])));
    EXPECT_NE(w.LogText().find("StartLevel(30)"), std::string::npos);

    // From a level that was just won: no fade, the old background stays until the announcement.
    w.appStates.SetState(LevelWon);
    w.game.levelNumber = 31;
    w.game.StartLevel();
    EXPECT_EQ(w.game.levelPhase, 1);
    EXPECT_EQ(w.game.backgroundNext, "Graphics\\back_game01.jpg");
    EXPECT_EQ(w.game.backgroundShown, "Graphics\\back_game05.jpg");
    EXPECT_EQ(w.effects.Count(), 0);
    for (auto [level, image] : {std::pair{6, 1}, std::pair{7, 2}}) {
        w.game.levelNumber = level;
        w.game.StartLevel();
        EXPECT_EQ(w.game.backgroundNext, "Graphics\\back_game0" + std::to_string(image) + ".jpg");
    }

    // A new game starts at the mode's first level with no score and shows the map.
    int shown = 0;
    w.game.hooks.showStageMap = [&] { ++shown; };
    w.game.score = 999;
    w.game.tutorialActive = 1;
    w.game.startLevelTransformer = 13;
    w.game.gameMode = ModeTransformer;
    w.game.NewGame();
    EXPECT_EQ(w.game.levelNumber, 13);
    EXPECT_EQ(w.game.score, 0);
    EXPECT_EQ(w.game.tutorialActive, 0);
    EXPECT_EQ(shown, 1);
    w.game.gameMode = ModeRelax;
    w.game.NewGame();
    EXPECT_EQ(w.game.levelNumber, 1);
}

}  // namespace
}  // namespace tamblor

namespace tamblor {
namespace {

TEST(LevelFile, OddFilesGiveAPlayableOrEmptyLevel) {
    std::string manyNames;
    for (int i = 0; i < 100; ++i) manyNames += "c" + std::to_string(i % 7) + ",";
    const std::vector<std::pair<std::string, int>> cases = {
        {"", 0},                                // an empty file
        {"not xml at all", 0},                  // no document
        {"<Other lineShapeCount=\"11\"/>", 0},  // no LevelMap
        {"<LevelMap lineShapeCount=\"-5\" shapeClassCount=\"3\"/>", 0},
        {"<LevelMap lineShapeCount=\"abc\" shapeClassCount=\"3\"/>", 0},
        {"<LevelMap lineShapeCount=\"4\" shapeClassCount=\"-2\"/>", 0},
        {"<LevelMap lineShapeCount=\"4\" shapeClassCount=\"1e300\" levelTime=\"1e300\"/>", 24},
        {"<LevelMap lineShapeCount=\"4\" shapeClassCount=\"3\" shapeClassList=\"" + manyNames + "\"/>", 24},
        {"<LevelMap lineShapeCount=\"4\" shapeClassCount=\"3\">" + std::string(500, ' ') +
             "<ShapeCell xc=\"nan\" yc=\"inf\"/></LevelMap>",
         24},
    };
    for (const auto& [text, cells] : cases) {
        test::GameWorld w;
        w.WriteClasses(7, 2);
        w.game.LoadShapeClasses("classes.xml");
        w.WriteData("Levels/level_1.xml", text);
        w.game.LoadLevel();
        EXPECT_EQ(w.game.cellCount, cells) << text;
        EXPECT_TRUE(std::isfinite(w.game.levelTime)) << text;
        EXPECT_LE(w.game.shapeClassList.size(), 254u);
        for (int i = 0; i < w.game.cellCount; ++i) {
            const ShapeItem& c = w.game.cells[static_cast<size_t>(i)];
            EXPECT_TRUE(c.classIndex >= 0 && c.classIndex < w.game.shapeClassCount) << text;
            EXPECT_TRUE(std::isfinite(c.x) && std::isfinite(c.y)) << text;
        }
    }
}

}  // namespace
}  // namespace tamblor
