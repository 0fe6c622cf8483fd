#include "app/SavedGame.h"

#include <array>
#include <cstdint>
#include <string>

#include "core/Log.h"
#include "app/SavedGameRecord.h"
#include "core/Settings.h"
#include "game/Game.h"
#include "game/TextureFinder.h"
#include "platform/Clock.h"

namespace tamblor {
namespace {

SavedShape ToSaved(const ShapeItem& item) {
    SavedShape s;
    s.classIndex = item.classIndex;
    s.shapeIndex = item.shapeIndex;
    s.baseY = item.baseY;
    s.x = item.x;
    s.y = item.y;
    s.width = item.width;
    s.height = item.height;
    s.vy = item.vy;
    s.present = item.present;
    s.filled = item.filled;
    s.bonusKind = item.bonusKind;
    return s;
}

ShapeItem FromSaved(const SavedShape& s) {
    ShapeItem item;
    item.classIndex = s.classIndex;
    item.shapeIndex = s.shapeIndex;
    item.baseY = s.baseY;
    item.x = s.x;
    item.y = s.y;
    item.width = s.width;
    item.height = s.height;
    item.vy = s.vy;
    item.present = s.present;
    item.filled = s.filled;
    item.bonusKind = s.bonusKind;
    return item;
}

}  // namespace

std::string_view SavedGame::SectionFor(int gameMode) {
    switch (gameMode) {
        case 0:
            return "Classic";
        case 1:
            return "Relax";
        case 2:
            return "Transformer";
        default:
            return {};
    }
}

int SavedGame::IsGameSaved() const {
    std::string_view section = SectionFor(game_.gameMode);
    if (section.empty())
        return 0;
    std::array<uint8_t, 4> bytes{};
    if (!settings_.ReadProfileStruct(section, kFlagKey, bytes.data(), bytes.size(), kFile))
        return 0;
    return (bytes[0] | bytes[1] | bytes[2] | bytes[3]) != 0 ? 1 : 0;
}

int SavedGame::SetGameSaved(int flag) {
    std::string_view section = SectionFor(game_.gameMode);
    if (section.empty())
        return 0;
    const uint32_t value = static_cast<uint32_t>(flag);
    const std::array<uint8_t, 4> bytes = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
                                          static_cast<uint8_t>(value >> 16),
                                          static_cast<uint8_t>(value >> 24)};
    return settings_.WriteProfileStruct(section, kFlagKey, bytes.data(), bytes.size(), kFile);
}

int SavedGame::SaveGame() {
    std::string_view section = SectionFor(game_.gameMode);
    if (section.empty())
        return 0;
    SavedGameRecord record;
    for (size_t i = 0; i < record.panel.size(); ++i) record.panel[i] = ToSaved(game_.panel[i]);
    for (size_t i = 0; i < record.cells.size(); ++i) record.cells[i] = ToSaved(game_.cells[i]);
    record.panelCount = game_.panelCount;
    record.cellCount = game_.cellCount;
    for (size_t i = 0; i < record.lines.size(); ++i) {
        const BoardLine& line = game_.lines[i];
        record.lines[i] = {line.x, line.y, line.color, line.alpha, line.removed, line.scroll};
    }
    record.linesLeft = game_.linesLeft;
    record.levelNumber = game_.levelNumber;
    record.score = game_.score;
    record.sinceLevelStart = game_.sinceLevelStart;
    record.elapsed = game_.elapsed;
    record.spawnedCount = game_.spawnedCount;
    const auto bytes = record.Encode();
    // Without the data the flag would offer an older game, or none at all.
    if (!settings_.WriteProfileStruct(section, kDataKey, bytes.data(), bytes.size(), kFile))
        return 0;
    return SetGameSaved(1);
}

int SavedGame::SaveLevelStart() {
    game_.ResetLines();
    game_.LoadLevel();
    game_.sinceLevelStart = 0.0f;
    game_.elapsed = 0.0f;
    return SaveGame();
}

bool SavedGame::ReadRecord(SavedGameRecord& record) const {
    std::string_view section = SectionFor(game_.gameMode);
    std::array<uint8_t, SavedGameRecord::kBytes> bytes{};
    if (section.empty() || !settings_.ReadProfileStruct(section, kDataKey, bytes.data(), bytes.size(), kFile))
        return false;
    record = SavedGameRecord::Decode(bytes);
    return record.Sanitise();
}

int SavedGame::LoadSavedGame(int checkOnly) {
    SavedGameRecord record;
    if (!ReadRecord(record)) {
        log_.WriteLog(kCorruptedMessage, LOG_TIME);
        return 0;
    }
    game_.levelNumber = record.levelNumber;
    game_.score = record.score;
    if (checkOnly)
        return 1;
    game_.StartLevel();
    Restore(record);
    return 1;
}

void SavedGame::Restore(const SavedGameRecord& record) {
    for (size_t i = 0; i < record.panel.size(); ++i) game_.panel[i] = FromSaved(record.panel[i]);
    for (size_t i = 0; i < record.cells.size(); ++i) game_.cells[i] = FromSaved(record.cells[i]);
    game_.panelCount = record.panelCount;
    game_.cellCount = record.cellCount;
    for (size_t i = 0; i < record.lines.size(); ++i) {
        const SavedLine& l = record.lines[i];
        BoardLine& line = game_.lines[i];
        line.x = l.x;
        line.y = l.y;
        line.color = l.color;
        line.alpha = l.alpha;
        line.removed = l.removed;
        line.scroll = l.scroll;
    }
    game_.linesLeft = record.linesLeft;

    // The level file chose its classes again; a stored class or shape outside them is brought back
    // into range so every record stays usable.
    auto fitIndices = [this](ShapeItem& item) {
        if (item.classIndex < 0)
            return;
        if (game_.shapeClassCount <= 0) {
            item.classIndex = -1;
            return;
        }
        item.classIndex %= game_.shapeClassCount;
        const int shapes = game_.ShapeCountOf(item.classIndex);
        item.shapeIndex = shapes > 0 ? item.shapeIndex % shapes : 0;
    };
    for (int i = 0; i < game_.cellCount; ++i) {
        ShapeItem& cell = game_.cells[static_cast<size_t>(i)];
        fitIndices(cell);
        game_.LoadItemTextures(cell);
    }
    for (int i = 0; i < game_.panelCount; ++i) {
        ShapeItem& shape = game_.panel[static_cast<size_t>(i)];
        fitIndices(shape);
        shape.maskTexture = nullptr;
        const std::string_view picture = game_.ShapeImageFile(shape);
        shape.mainTexture = picture.empty() ? nullptr : textures_.FindTexture(picture);
    }

    const float now = static_cast<float>(clock_.TimeGetTime()) * 0.001f;
    game_.levelStartTime = now - record.sinceLevelStart;
    game_.playStartTime = now - record.elapsed;
    game_.savedTimeLeft = game_.levelTime - record.elapsed;
    game_.spawnedCount = record.spawnedCount;
    game_.restoredFromSave = 1;
    game_.levelPhase = 3;
    game_.backgroundShown = game_.backgroundNext;
}

}  // namespace tamblor
