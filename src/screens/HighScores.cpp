#include "screens/HighScores.h"

#include <cstring>
#include <string>
#include <string_view>

#include "core/Settings.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "platform/Message.h"
#include "screens/ScreenCanvas.h"
#include "sound/SoundEventPlayer.h"

namespace tamblor {

std::string HighScoreEntry::Name() const {
    return std::string(name.data(), strnlen(name.data(), name.size()));
}

void HighScores::ClearTables() {
    for (auto& table : tables_) table.fill(HighScoreEntry{});
}

std::array<uint8_t, HighScores::kBlockBytes> HighScores::Encode() const {
    std::array<uint8_t, kBlockBytes> block{};
    size_t at = 0;
    for (const auto& table : tables_) {
        for (const auto& entry : table) {
            std::memcpy(&block[at], entry.name.data(), HighScoreEntry::kNameBytes);
            for (int b = 0; b < 4; ++b)
                block[at + HighScoreEntry::kNameBytes + b] = static_cast<uint8_t>(entry.score >> (8 * b));
            at += kEntryBytes;
        }
    }
    return block;
}

void HighScores::Decode(const std::array<uint8_t, kBlockBytes>& block) {
    size_t at = 0;
    for (auto& table : tables_) {
        for (auto& entry : table) {
            std::memcpy(entry.name.data(), &block[at], HighScoreEntry::kNameBytes);
            // A hand-edited name without its terminating zero must still end inside its field.
            entry.name[HighScoreEntry::kNameBytes - 1] = 0;
            entry.score = 0;
            for (int b = 0; b < 4; ++b)
                entry.score |= static_cast<uint32_t>(block[at + HighScoreEntry::kNameBytes + b]) << (8 * b);
            at += kEntryBytes;
        }
    }
}

int HighScores::Load() {
    std::array<uint8_t, kBlockBytes> block{};
    if (!settings_.ReadProfileStruct(kSection, kKey, block.data(), block.size(), kFile)) {
        ClearTables();
        return 0;
    }
    Decode(block);
    return 1;
}

int HighScores::LoadAtStartup() {
    if (Load())
        return 1;
    const FileSystem& files = settings_.Files();
    std::string contents;
    const bool missing = !files.Exists(kFile);
    const bool readable = !missing && files.ReadFile(kFile, contents);
    // A file that exists but cannot be read may still hold the player's scores: leave it alone.
    if (missing || readable)
        Save();
    return 0;
}

int HighScores::Save() {
    const auto block = Encode();
    return settings_.WriteProfileStruct(kSection, kKey, block.data(), block.size(), kFile);
}

void HighScores::Clear() {
    ClearTables();
    Save();
}

void HighScores::SetTable(int table) {
    if (table >= 0 && table < kTables)
        currentTable_ = table;
}

int HighScores::AddScore(int score) {
    // A negative score would become a huge unsigned one and top the table.
    if (score <= 0)
        return 0;
    const uint32_t value = static_cast<uint32_t>(score);
    auto& table = tables_[static_cast<size_t>(currentTable_)];
    int row = -1;
    for (int r = 0; r < kRows; ++r) {
        if (table[static_cast<size_t>(r)].score < value) {
            row = r;
            break;
        }
    }
    if (row < 0)
        return 0;
    for (int r = kRows - 1; r > row; --r) table[static_cast<size_t>(r)] = table[static_cast<size_t>(r - 1)];
    table[static_cast<size_t>(row)] = HighScoreEntry{};
    table[static_cast<size_t>(row)].score = value;
    entering_ = 1;
    entryRow_ = row;
    return 1;
}

char HighScores::TurnLetter(char letter, int step) {
    const std::string_view letters = kPadLetters;
    const size_t at = letters.find(letter);
    if (at == std::string_view::npos)
        return letters[0];
    const int count = static_cast<int>(letters.size());
    return letters[static_cast<size_t>((static_cast<int>(at) + step % count + count) % count)];
}

void HighScores::MsgProc(const Message& message) {
    if (!entering_)
        return;
    HighScoreEntry& entry = EntryRowRecord();
    const size_t length = strnlen(entry.name.data(), entry.name.size());
    if (message.message == WM_KEYDOWN) {
        if (message.wParam == static_cast<uintptr_t>(VK_ESCAPE)) {
            sounds_.PlayEvent("type_01");
            entering_ = 0;
            Load();
        } else if (message.wParam == static_cast<uintptr_t>(VK_RETURN)) {
            if (length == 0)
                return;
            sounds_.PlayEvent("type_01");
            entering_ = 0;
            Save();
        } else if (message.wParam == static_cast<uintptr_t>(VK_BACK) ||
                   message.wParam == static_cast<uintptr_t>(VK_LEFT)) {
            if (length == 0)
                return;
            sounds_.PlayEvent("type_01");
            entry.name[length - 1] = 0;
        } else if (message.wParam == static_cast<uintptr_t>(VK_UP) ||
                   message.wParam == static_cast<uintptr_t>(VK_DOWN)) {
            // Without letter keys (a game pad): up and down turn the last letter through the
            // alphabet; the first turn of an empty name starts it at A.
            if (length == 0) {
                entry.name[0] = kPadLetters[0];
                entry.name[1] = 0;
                return;
            }
            entry.name[length - 1] =
                TurnLetter(entry.name[length - 1], message.wParam == static_cast<uintptr_t>(VK_UP) ? 1 : -1);
        } else if (message.wParam == static_cast<uintptr_t>(VK_RIGHT)) {
            // The next letter, starting at A.
            if (length > 0 && length < kMaxNameLength) {
                entry.name[length] = kPadLetters[0];
                entry.name[length + 1] = 0;
            }
        }
    } else if (message.message == WM_CHAR) {
        const uintptr_t c = message.wParam;
        if (c == 0 || c > 0xFF || c == static_cast<uintptr_t>(VK_BACK) ||
            c == static_cast<uintptr_t>(VK_RETURN) || c == static_cast<uintptr_t>(VK_ESCAPE))
            return;
        if (length < kMaxNameLength) {
            entry.name[length] = static_cast<char>(c);
            entry.name[length + 1] = 0;
        }
    }
}

void HighScores::Draw(ScreenCanvas& canvas, float y, float size, float rankX, float nameX, float scoreX,
                      int header) const {
    constexpr uint32_t kWhite = 0xFFFFFFFF;
    if (header) {
        canvas.DrawString(rankX, y, size, kWhite, ScreenCanvas::kTextLeft, "#");
        canvas.DrawString(nameX, y, size, kWhite, ScreenCanvas::kTextLeft, "Name");
        canvas.DrawString(scoreX, y, size, kWhite, ScreenCanvas::kTextLeft, "Score");
    }
    const bool cursorShown = (clock_.TimeGetTime() / 500u) % 2u == 0u;
    const auto& table = tables_[static_cast<size_t>(currentTable_)];
    for (int i = 0; i < kRows; ++i) {
        const HighScoreEntry& entry = table[static_cast<size_t>(i)];
        const float rowY = y + static_cast<float>(i + 1) * size * 1.25f;
        const bool typing = entering_ && i == entryRow_;
        const uint32_t colour = typing ? kEntryColour : kWhite;
        std::string name = entry.Name();
        if (typing)
            name += cursorShown ? '_' : ' ';
        canvas.DrawString(rankX, rowY, size, colour, ScreenCanvas::kTextLeft, std::to_string(i + 1));
        canvas.DrawString(nameX, rowY, size, colour, ScreenCanvas::kTextLeft, name);
        canvas.DrawString(scoreX, rowY, size, colour, ScreenCanvas::kTextLeft, std::to_string(entry.score));
    }
}

}  // namespace tamblor
