#include <gtest/gtest.h>

#include <cstring>

#include "app/SavedGame.h"
#include "app/SavedGameRecord.h"
#include "app/ShellRig.h"
#include "core/IniText.h"

namespace tamblor {
namespace {

using test::ShellRig;

// A level in play with a few things changed from how it started.
void PlaySome(ShellRig& r, int mode, int level) {
    r.game.gameMode = mode;
    r.game.levelNumber = level;
    r.game.StartLevel();
    r.game.score = 4321;
    r.game.cells[0].filled = 1;
    r.game.cells[3].filled = 1;
    r.game.lines[2].removed = 1;
    r.game.lines[2].alpha = 0.0f;
    r.game.linesLeft = 5;
    r.game.panelCount = 2;
    r.game.panel[0].classIndex = 1;
    r.game.panel[0].x = 0.4f;
    r.game.panel[0].present = 1;
    r.game.panel[1].classIndex = 0;
    r.game.panel[1].bonusKind = 2;
    r.game.sinceLevelStart = 30.0f;
    r.game.elapsed = 25.5f;
    r.game.spawnedCount = 9;
}

std::string SavedText(ShellRig& r) {
    return r.dir.Read("user/saved.ini");
}

TEST(SavedGame, SectionsAreCrossedForTransformerAndRelax) {
    ShellRig r;
    PlaySome(r, 1, 3);
    ASSERT_EQ(r.saved.SaveGame(), 1);
    const std::string text = SavedText(r);
    EXPECT_TRUE(IniGet(text, "Relax", "Data").has_value());
    EXPECT_EQ(IniGet(text, "Relax", "Data")->size(), 21170u);
    EXPECT_EQ(IniGet(text, "Relax", "IsGameSaved").value_or(""), "0100000001");
    EXPECT_FALSE(IniGet(text, "Transformer", "Data").has_value());
    r.game.gameMode = 1;
    EXPECT_EQ(r.saved.IsGameSaved(), 1);
    r.game.gameMode = 2;
    EXPECT_EQ(r.saved.IsGameSaved(), 0);
    r.game.gameMode = 0;
    EXPECT_EQ(r.saved.IsGameSaved(), 0);
    r.game.gameMode = 7;
    EXPECT_EQ(r.saved.IsGameSaved(), 0);
    // Through the main menu: Transformer offers it, Relax starts a new game.
    r.states.SetState(MainMenu);
    r.actions.Perform("procRelaxGame");
    EXPECT_EQ(r.states.State(), StageMap);
    r.states.SetState(MainMenu);
    r.actions.Perform("procTransformerGame");
    EXPECT_EQ(r.states.State(), ContinueConfirm);
    EXPECT_EQ(r.game.levelNumber, 3);
    EXPECT_EQ(SavedGame::SectionFor(0), "Classic");
    EXPECT_EQ(SavedGame::SectionFor(2), "Transformer");

    // The record's bytes: level at 10556, score at 10560.
    std::array<uint8_t, SavedGameRecord::kBytes> bytes{};
    ASSERT_TRUE(r.settings.ReadProfileStruct("Relax", "Data", bytes.data(), bytes.size(), "saved.ini"));
    EXPECT_EQ(bytes[10556], 3);
    EXPECT_EQ(bytes[10557], 0);
    EXPECT_EQ(bytes[10560] | bytes[10561] << 8, 4321);
}

TEST(SavedGame, ContinuingRestoresTheLevelAndPlaysOnInPhaseThree) {
    ShellRig r;
    PlaySome(r, 0, 3);
    const auto cellsBefore = r.game.cells;
    const int cellCount = r.game.cellCount;
    r.states.SetState(Paused);
    r.actions.Perform("procEnd");
    ASSERT_EQ(r.states.State(), HighScoresState);  // and the score is offered to the table
    r.actions.Perform("procClose");

    // A new game later changes everything; the check only takes level and score.
    r.game.levelNumber = 1;
    r.game.score = 0;
    r.clock.Advance(100000);
    r.actions.Perform("procClassicGame");
    ASSERT_EQ(r.states.State(), ContinueConfirm);
    EXPECT_EQ(r.game.levelNumber, 3);
    EXPECT_EQ(r.game.score, 4321);

    r.actions.Perform("procLoad");
    EXPECT_EQ(r.states.State(), Playing);
    EXPECT_EQ(r.game.levelPhase, 3);
    EXPECT_EQ(r.game.restoredFromSave, 1);
    EXPECT_EQ(r.game.backgroundShown, r.game.backgroundNext);
    EXPECT_EQ(r.game.cellCount, cellCount);
    for (int i = 0; i < cellCount; ++i) {
        EXPECT_EQ(r.game.cells[i].filled, cellsBefore[i].filled) << i;
        EXPECT_EQ(r.game.cells[i].y, cellsBefore[i].y) << i;
    }
    EXPECT_EQ(r.game.linesLeft, 5);
    EXPECT_EQ(r.game.lines[2].removed, 1);
    EXPECT_EQ(r.game.panelCount, 2);
    EXPECT_FLOAT_EQ(r.game.panel[0].x, 0.4f);
    EXPECT_EQ(r.game.panel[1].bonusKind, 2);
    EXPECT_EQ(r.game.spawnedCount, 9);
    const float now = r.clock.Seconds();
    EXPECT_FLOAT_EQ(r.game.playStartTime, now - 25.5f);
    EXPECT_FLOAT_EQ(r.game.levelStartTime, now - 30.0f);
    EXPECT_FLOAT_EQ(r.game.savedTimeLeft, r.game.levelTime - 25.5f);
    // The save stays: it can be continued again.
    EXPECT_EQ(r.saved.IsGameSaved(), 1);

    // Ending the continued game again replaces the save; a game over then voids it.
    r.game.score = 5000;
    r.states.SetState(Paused);
    r.actions.Perform("procEnd");
    r.game.score = 0;
    ASSERT_EQ(r.saved.LoadSavedGame(1), 1);
    EXPECT_EQ(r.game.score, 5000);
    r.game.hooks.markNoSavedGame();
    EXPECT_EQ(r.saved.IsGameSaved(), 0);
}

TEST(SavedGame, DamagedRecordsStartANewGame) {
    ShellRig r;
    PlaySome(r, 0, 5);
    ASSERT_EQ(r.saved.SaveGame(), 1);
    std::string data = IniGet(SavedText(r), "Classic", "Data").value();

    // One digit short.
    ASSERT_TRUE(r.settings.WriteString("saved.ini", "Classic", "Data", data.substr(0, data.size() - 1)));
    r.game.levelNumber = 1;
    r.game.score = 0;
    r.states.SetState(MainMenu);
    r.actions.Perform("procClassicGame");
    EXPECT_EQ(r.states.State(), StageMap);
    EXPECT_EQ(r.game.levelNumber, 1);
    EXPECT_NE(r.LogText().find("File 'saved.ini' is corrupted!"), std::string::npos);
    EXPECT_EQ(r.saved.IsGameSaved(), 1);  // the flag is left as it was

    // Checksum-valid records with an impossible count, or finite numbers far from any the game makes.
    std::array<uint8_t, SavedGameRecord::kBytes> good{};
    DecodeStructText(data, good.data(), good.size());
    auto put = [](std::array<uint8_t, SavedGameRecord::kBytes>& bytes, size_t at, uint32_t bits) {
        for (int b = 0; b < 4; ++b)
            bytes[at + static_cast<size_t>(b)] = static_cast<uint8_t>(bits >> (8 * b));
    };
    auto floatBits = [](float f) {
        uint32_t bits;
        std::memcpy(&bits, &f, sizeof bits);
        return bits;
    };
    const struct {
        const char* what;
        size_t at;
        uint32_t bits;
    } damages[] = {
        {"cell count 5000", SavedGameRecord::kCellCountOffset, 5000},
        {"line alpha 1e12", SavedGameRecord::kLinesOffset + 3 * SavedGameRecord::kLineBytes + 12,
         floatBits(1e12f)},
        {"elapsed -3e38", SavedGameRecord::kElapsedOffset, floatBits(-3e38f)},
        {"cell far off screen", SavedGameRecord::kCellsOffset + 12, floatBits(-1e6f)},
    };
    for (const auto& d : damages) {
        SCOPED_TRACE(d.what);
        std::array<uint8_t, SavedGameRecord::kBytes> bytes = good;
        put(bytes, d.at, d.bits);
        ASSERT_TRUE(
            r.settings.WriteProfileStruct("Classic", "Data", bytes.data(), bytes.size(), "saved.ini"));
        r.dir.Write("user/app.log", "");
        r.game.score = 77;
        EXPECT_EQ(r.saved.LoadSavedGame(1), 0);
        EXPECT_EQ(r.game.score, 77);  // nothing changed
        EXPECT_EQ(r.saved.LoadSavedGame(0), 0);
        EXPECT_EQ(r.game.score, 77);
        EXPECT_NE(r.LogText().find("File 'saved.ini' is corrupted!"), std::string::npos);
        // Chosen in the main menu, the mode starts a new game.
        r.states.SetState(MainMenu);
        r.actions.Perform("procClassicGame");
        EXPECT_EQ(r.states.State(), StageMap);
        EXPECT_EQ(r.game.score, 0);
    }
}

TEST(SavedGame, TheFlagIsSetOnlyWhenTheDataWasWritten) {
    ShellRig r;
    PlaySome(r, 2, 4);
    r.dir.Write("user/saved.ini/blocked", "a folder where the file should be");
    EXPECT_EQ(r.saved.SaveGame(), 0);
    EXPECT_EQ(r.saved.IsGameSaved(), 0);
}

TEST(SavedGame, GameOverAndGameCompleteVoidTheSave) {
    ShellRig r;
    PlaySome(r, 0, 4);
    ASSERT_EQ(r.saved.SaveGame(), 1);
    r.progression.StartGameComplete();
    EXPECT_EQ(r.saved.IsGameSaved(), 0);
    EXPECT_TRUE(IniGet(SavedText(r), "Classic", "Data").has_value());
}

}  // namespace
}  // namespace tamblor
