// Whole levels played by the bot without a window, recorded and replayed.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "app/autoplay/HeadlessLevel.h"

namespace tamblor {
namespace {

// A small data folder: four classes of three shapes, and short levels.
struct LevelData {
    test::TempDir dir;
    LevelData() {
        std::string xml = "<?xml version=\"1.0\"?>\n<Level>\n";
        for (int c = 0; c < 4; ++c) {
            xml += "  <ShapeClass name=\"c" + std::to_string(c) + "\" soundEvent=\"s\">\n";
            for (int s = 0; s < 3; ++s) {
                std::string stem = "Graphics\\Shapes\\c" + std::to_string(c) + "_" + std::to_string(s);
                xml += "    <Shape mainImage=\"" + stem + ".png\" maskImage=\"" + stem + "_m.png\"/>\n";
            }
            xml += "  </ShapeClass>\n";
        }
        dir.Write("data/classes.xml", xml + "</Level>\n");
        for (int level = 1; level <= 3; ++level) {
            dir.Write(
                "data/Levels/level_" + std::to_string(level) + ".xml",
                "<?xml version=\"1.0\"?>\n<LevelMap newShapeTime=\"0.1\" levelTime=\"90\" "
                "shapeClassCount=\"3\" "
                "lineSpeed=\"0.03\" fBugAppearanceRange=\"20\" lineShapeCount=\"5\" fBonusAnyShapeP=\"0.05\" "
                "fBonusBandP=\"0.1\" fBonusAreaP=\"0.1\"/>\n");
        }
        dir.Write("user/.keep", "");
    }
    LevelRunSetup Setup(int level, int mode, uint32_t seed) const {
        LevelRunSetup setup;
        setup.dataDir = dir / "data";
        setup.userDir = dir / "user";
        setup.level = level;
        setup.mode = mode;
        setup.seed = seed;
        return setup;
    }
};

TEST(HeadlessLevel, TheBotWinsSmallLevelsInEveryModeIncludingTheTutorial) {
    LevelData data;
    for (int mode : {ModeClassic, ModeTransformer}) {
        for (int level : {1, 2}) {
            HeadlessLevel run(data.Setup(level, mode, 7));
            ASSERT_TRUE(run.Start());
            Autoplayer bot;
            LevelResult result = PlayLevelWithBot(run, bot, nullptr, 200.0);
            EXPECT_TRUE(result.won) << "mode " << mode << " level " << level;
            EXPECT_LT(result.timeUsed, 90.0f);
            EXPECT_GT(result.placements, 0);
            EXPECT_LE(result.placements, result.cells);
            EXPECT_EQ(run.GetGame().filledCount, run.GetGame().cellCount);
            if (mode == ModeTransformer) {
                EXPECT_GT(result.transforms, 0);
            }
        }
    }
    // A level without a file cannot start.
    HeadlessLevel missing(data.Setup(9, ModeClassic, 7));
    EXPECT_FALSE(missing.Start());
}

TEST(HeadlessLevel, ARecordedRunReplaysToTheSameEndAndADifferentOneIsCaughtAtItsFrame) {
    LevelData data;
    LevelRunSetup setup = data.Setup(2, ModeTransformer, 3);
    InputRecording recording;
    DescribeLevelRun(setup, recording);
    HeadlessLevel run(setup);
    ASSERT_TRUE(run.Start());
    Autoplayer bot;
    LevelResult result = PlayLevelWithBot(run, bot, &recording, 200.0);
    ASSERT_TRUE(result.won);
    ASSERT_EQ(static_cast<int>(recording.frames.size()), result.frames);

    // Through the text form and back, replayed in a fresh world: the same end, frame for frame.
    InputRecording reread;
    std::string error;
    ASSERT_TRUE(InputRecording::FromText(recording.ToText(), reread, &error)) << error;
    ReplayResult replay = ReplayLevel(setup.dataDir, setup.userDir, reread);
    EXPECT_TRUE(replay.ok) << replay.error << " frame " << replay.divergedFrame;
    EXPECT_EQ(replay.frames, result.frames);
    EXPECT_EQ(replay.score, result.score);
    EXPECT_EQ(replay.state, LevelWon);

    // One click taken out: the replay says at which frame the run went another way.
    int clickFrame = -1;
    for (size_t f = 0; f < reread.frames.size() && clickFrame < 0; ++f) {
        auto& events = reread.frames[f].events;
        for (size_t e = 0; e < events.size(); ++e) {
            if (events[e].kind == InputEvent::LeftDown) {
                events.erase(events.begin() + static_cast<long>(e));
                clickFrame = static_cast<int>(f);
                break;
            }
        }
    }
    ASSERT_GE(clickFrame, 0);
    ReplayResult changed = ReplayLevel(setup.dataDir, setup.userDir, reread);
    EXPECT_FALSE(changed.ok);
    EXPECT_EQ(changed.divergedFrame, clickFrame);

    // Another seed is another level: it goes another way before the first click.
    reread.SetValue("seed", "4");
    ReplayResult otherSeed = ReplayLevel(setup.dataDir, setup.userDir, reread);
    EXPECT_FALSE(otherSeed.ok);
    EXPECT_LE(otherSeed.divergedFrame, clickFrame);
    // A recording that does not say what it played is refused.
    InputRecording bare;
    EXPECT_FALSE(ReplayLevel(setup.dataDir, setup.userDir, bare).error.empty());
}

}  // namespace
}  // namespace tamblor
