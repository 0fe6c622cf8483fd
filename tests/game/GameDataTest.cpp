#include <gtest/gtest.h>

#include <set>

#include "game/GameTestSupport.h"
#include "BuildPaths.h"

namespace tamblor {
namespace {

// Every level the game ships loads into a full board of distinct, existing classes, in every mode,
// and names only pictures that exist.
TEST(GameData, ShippedLevelsLoadCleanly) {
    test::TempDir user;
    test::GameWorld w;
    FileSystem files(user.Path(), TAMBLOR_BUILD_GAME_DIR);
    CoreServices services{w.clock, w.random, w.input, files, w.log, w.settings, w.language, w.dialogs};
    for (int mode : {ModeClassic, ModeTransformer, ModeRelax}) {
        Game game{services, w.appStates, w.mouse, w.effects, w.sound, w.textures};
        game.gameMode = mode;
        ASSERT_EQ(game.LoadShapeClasses("classes.xml"), 1);
        ASSERT_GE(game.allClassCount, 15);
        for (int c = 0; c < game.allClassCount; ++c) {
            const ShapeClass& sc = game.allClasses[static_cast<size_t>(c)];
            ASSERT_GT(sc.shapeCount, 0) << sc.name;
            for (int s = 0; s < sc.shapeCount; ++s) {
                EXPECT_TRUE(files.Exists(sc.shapes[static_cast<size_t>(s)].mainImage)) << sc.name;
                EXPECT_TRUE(files.Exists(sc.shapes[static_cast<size_t>(s)].maskImage)) << sc.name;
            }
        }
        int levels = 0;
        for (int level = 1; game.LevelFileExists(level); ++level) {
            ++levels;
            game.levelNumber = level;
            game.LoadLevel();
            SCOPED_TRACE(level);
            EXPECT_GT(game.cellCount, 0);
            EXPECT_GT(game.levelTime, 0.0f);
            EXPECT_GT(game.shapeClassCount, 0);
            std::set<std::string> names;
            for (int c = 0; c < game.shapeClassCount; ++c)
                names.insert(game.levelClasses[static_cast<size_t>(c)].name);
            EXPECT_EQ(static_cast<int>(names.size()), game.shapeClassCount);
            std::set<int> used;
            for (int i = 0; i < game.cellCount; ++i)
                used.insert(game.cells[static_cast<size_t>(i)].classIndex);
            EXPECT_EQ(static_cast<int>(used.size()), game.shapeClassCount);
            game.levelNumber = level;
            EXPECT_TRUE(files.Exists(Game::LevelFileName(level)));
        }
        EXPECT_GE(levels, 30);
    }
    // Nothing was refused or replaced while loading.
    std::string log = user.Read("app.log") + w.LogText();
    EXPECT_EQ(log.find("Warning"), std::string::npos) << log;
    EXPECT_EQ(log.find("Fatal"), std::string::npos) << log;
}

}  // namespace
}  // namespace tamblor
