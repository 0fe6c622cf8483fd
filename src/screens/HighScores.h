#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace tamblor {

class Settings;
class SoundEventPlayer;
class Clock;
class ScreenCanvas;
struct Message;

struct HighScoreEntry {
    static constexpr size_t kNameBytes = 32;
    std::array<char, kNameBytes> name{};  // zero-terminated
    uint32_t score = 0;

    std::string Name() const;
};

// The ten best scores of each game mode with the players' names, kept in scores.ini as one block of
// ten tables, and the name entry for a new score.
class HighScores {
public:
    static constexpr int kTables = 10;
    static constexpr int kRows = 10;
    static constexpr size_t kEntryBytes = 36;
    static constexpr size_t kBlockBytes = kTables * kRows * kEntryBytes;  // 3,600
    static constexpr size_t kMaxNameLength = 16;
    static constexpr const char* kFile = "scores.ini";
    static constexpr const char* kSection = "HIGH SCORES";
    static constexpr const char* kKey = "Data";
    static constexpr uint32_t kEntryColour = 0xFFFF5555;
    // The letters that up and down turn through in a name, in order.
    static constexpr const char* kPadLetters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 ";
    // The letter step places after letter in kPadLetters (either way round); A for one not in it.
    static char TurnLetter(char letter, int step);

    HighScores(Settings& settings, SoundEventPlayer& sounds, const Clock& clock)
        : settings_(settings), sounds_(sounds), clock_(clock) {}

    // 1 when scores.ini held a valid block; otherwise every entry is cleared and 0 is returned.
    int Load();
    // Start-up: Load, and when there was no valid block write the empty tables so the file exists,
    // but only when scores.ini is missing or its value is damaged, never when it could not be read.
    int LoadAtStartup();
    int Save();
    void Clear();
    void SetTable(int table);
    int AddScore(int score);
    void MsgProc(const Message& message);
    void Draw(ScreenCanvas& canvas, float y, float size, float rankX, float nameX, float scoreX,
              int header) const;

    int CurrentTable() const { return currentTable_; }
    int Entering() const { return entering_; }
    int EntryRow() const { return entryRow_; }
    // Ends a pending name entry without saving it.
    void EndEntry() { entering_ = 0; }
    const HighScoreEntry& Entry(int table, int row) const {
        return tables_[static_cast<size_t>(table)][static_cast<size_t>(row)];
    }

    // The stored form of the ten tables: each entry as its 32 name bytes and its score, least
    // significant byte first.
    std::array<uint8_t, kBlockBytes> Encode() const;
    // Decodes a block; every name is made to end within its field.
    void Decode(const std::array<uint8_t, kBlockBytes>& block);

private:
    void ClearTables();
    HighScoreEntry& EntryRowRecord() {
        return tables_[static_cast<size_t>(currentTable_)][static_cast<size_t>(entryRow_)];
    }

    Settings& settings_;
    SoundEventPlayer& sounds_;
    const Clock& clock_;
    std::array<std::array<HighScoreEntry, kRows>, kTables> tables_{};
    int currentTable_ = 0;
    int entering_ = 0;
    int entryRow_ = 0;
};

}  // namespace tamblor
