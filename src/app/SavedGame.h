#pragma once
#include <string_view>

namespace tamblor {

class Game;
class Settings;
class Log;
class Clock;
class TextureFinder;
struct SavedGameRecord;

// The game put aside from the pause screen: one per game mode in saved.ini, continued from the
// main menu.
class SavedGame {
public:
    static constexpr const char* kFile = "saved.ini";
    static constexpr const char* kFlagKey = "IsGameSaved";
    static constexpr const char* kDataKey = "Data";
    static constexpr const char* kCorruptedMessage = "File 'saved.ini' is corrupted!";

    // The section of a mode. Transformer games live in "Relax" and Relax games in "Transformer", as
    // the files of earlier versions have them. Empty for a mode that has none.
    static std::string_view SectionFor(int gameMode);

    SavedGame(Game& game, Settings& settings, Log& log, const Clock& clock, TextureFinder& textures)
        : game_(game), settings_(settings), log_(log), clock_(clock), textures_(textures) {}

    // 1 when the current mode's section holds a game that may be continued.
    int IsGameSaved() const;
    // Writes the flag of the current mode; 1 when written.
    int SetGameSaved(int flag);
    // Stores the running level of the current mode; the flag is set only once the data is written.
    // 1 on success.
    int SaveGame();
    // Stores the game as it stands before its next level begins (the stage map): that level's board
    // as it starts, with the game's score. Continuing it starts the level with its whole time.
    int SaveLevelStart();
    // checkOnly 1: takes over only the level number and the score. 0: restarts the saved level as it
    // was. 0 (logged) when the record is missing, damaged or out of range; the game is then unchanged.
    int LoadSavedGame(int checkOnly);

private:
    bool ReadRecord(SavedGameRecord& record) const;
    void Restore(const SavedGameRecord& record);

    Game& game_;
    Settings& settings_;
    Log& log_;
    const Clock& clock_;
    TextureFinder& textures_;
};

}  // namespace tamblor
