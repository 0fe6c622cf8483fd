#include <gtest/gtest.h>

#include <cstdio>

#include "TestSupport.h"
#include "app/autoplay/LevelCommand.h"

namespace tamblor {
namespace {

TEST(LevelCommand, ReportsRecordsAndReplaysThroughFiles) {
    test::TempDir dir;
    std::string xml = "<?xml version=\"1.0\"?>\n<Level>\n";
    for (int c = 0; c < 3; ++c) {
        xml += "<ShapeClass name=\"k" + std::to_string(c) + "\" soundEvent=\"s\"><Shape mainImage=\"a" +
               std::to_string(c) + ".png\" maskImage=\"m.png\"/></ShapeClass>\n";
    }
    dir.Write("data/classes.xml", xml + "</Level>\n");
    dir.Write("data/Levels/level_4.xml",
              "<LevelMap newShapeTime=\"0.1\" levelTime=\"60\" shapeClassCount=\"3\" lineSpeed=\"0.03\" "
              "fBugAppearanceRange=\"30\" lineShapeCount=\"4\" fBonusAnyShapeP=\"0\" fBonusBandP=\"0\" "
              "fBonusAreaP=\"0\"/>");
    dir.Write("user/.keep", "");

    LevelCommand command;
    command.level = 4;
    command.seed = 11;
    command.report = true;
    command.record = dir / "user/level4.txt";
    std::string out;
    EXPECT_EQ(RunLevelCommand(command, dir / "data", dir / "user", out), 0) << out;
    EXPECT_EQ(out.rfind("level 4 classic: won in ", 0), 0u) << out;
    EXPECT_NE(out.find("of 60 s"), std::string::npos) << out;
    // The level's own score and the score once the 1500 for completion and the time left have landed.
    int score = -1, final = -1;
    size_t at = out.find("score ");
    ASSERT_NE(at, std::string::npos) << out;
    ASSERT_EQ(
        std::sscanf(out.c_str() + at, "score %d (%d with the completion and time bonuses)", &score, &final),
        2)
        << out;
    EXPECT_GE(final, score + 1500) << out;
    EXPECT_TRUE(LevelRecordingFile(command.record));

    LevelCommand replay;
    replay.replay = command.record;
    EXPECT_EQ(RunLevelCommand(replay, dir / "data", dir / "user", out), 0) << out;
    EXPECT_NE(out.find("frames as recorded"), std::string::npos) << out;

    // The level file changed since the recording: the replay goes another way and says where.
    dir.Write("data/Levels/level_4.xml",
              "<LevelMap newShapeTime=\"0.1\" levelTime=\"60\" shapeClassCount=\"3\" lineSpeed=\"0.05\" "
              "fBugAppearanceRange=\"30\" lineShapeCount=\"4\" fBonusAnyShapeP=\"0\" fBonusBandP=\"0\" "
              "fBonusAreaP=\"0\"/>");
    EXPECT_EQ(RunLevelCommand(replay, dir / "data", dir / "user", out), 1);
    EXPECT_EQ(out.rfind("replay diverges at frame ", 0), 0u) << out;

    replay.replay = dir / "user/none.txt";
    EXPECT_EQ(RunLevelCommand(replay, dir / "data", dir / "user", out), 2);
    EXPECT_FALSE(LevelRecordingFile(replay.replay));
    command.level = 5;
    command.record.clear();
    EXPECT_EQ(RunLevelCommand(command, dir / "data", dir / "user", out), 2);
}

}  // namespace
}  // namespace tamblor
