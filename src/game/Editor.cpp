#include <tinyxml2.h>

#include <cmath>
#include <string>

#include "core/CoreServices.h"
#include "core/Log.h"
#include "core/Random.h"
#include "core/Settings.h"
#include "game/Game.h"
#include "platform/FileSystem.h"
#include "platform/InputState.h"
#include "platform/Message.h"
#include "screens/EffectList.h"
#include "sound/SoundEventPlayer.h"

namespace tamblor {

namespace {
constexpr float kGridX = 0.15f;
constexpr float kGridY = -0.07916667f;
constexpr float kColumnPitch = 0.11875f;
constexpr float kRowPitch = 0.15833333f;
constexpr float kTakenFactor = 1.0f / 3.0f;
constexpr float kRemoveFactor = 0.45f;
}  // namespace

void Game::ToggleEditor() {
    editorMode = editorMode ? 0 : 1;
    // The level stands still while it is edited: its clock (and the bug's) holds as in a pause, so
    // the time spent editing is not taken from the player.
    if (!editorMode) {
        ResumeClock();
        return;
    }
    PauseClock();
    for (int i = 0; i < cellCount; ++i) {
        ShapeItem& cell = cells[static_cast<size_t>(i)];
        cell.y = cell.baseY;
        cell.present = 1;
        cell.filled = 0;
    }
}

void Game::EditorChangeLevel(int step) {
    levelNumber += step;
    LoadLevel();
    // What was on its way for the level that was left (its announcement, its fades) goes with it.
    effects_.Clear();
    sceneFade = 1.0f;
    // The board shows what it holds: pictures for the new cells, every line back in place.
    LoadCellTextures();
    ResetLines();
}

std::pair<float, float> Game::SnapToEditorGrid(float x, float y) {
    float column = std::trunc((x - kGridX + kColumnPitch / 2.0f) / kColumnPitch);
    float row = std::trunc((y - kGridY + kRowPitch / 2.0f) / kRowPitch);
    return {kGridX + column * kColumnPitch, kGridY + row * kRowPitch};
}

void Game::UpdateEditor() {
    InputState& input = services_.input;
    std::pair<int, int> size = hooks.clientSize ? hooks.clientSize() : std::pair<int, int>(800, 600);
    if (size.first > 0 && size.second > 0) {
        mouseX = static_cast<float>(input.CursorX()) / static_cast<float>(size.first);
        mouseY = static_cast<float>(input.CursorY()) / static_cast<float>(size.second);
    }
    auto [sx, sy] = SnapToEditorGrid(mouseX, mouseY);

    if (input.IsKeyDown(VK_LBUTTON)) {
        for (int i = 0; i < cellCount; ++i) {
            const ShapeItem& cell = cells[static_cast<size_t>(i)];
            if (std::fabs(cell.x - sx) < cell.width * kTakenFactor &&
                std::fabs(cell.y - sy) < cell.height * kTakenFactor)
                return;  // the place is taken: nothing more this frame
        }
        if (cellCount < board::kMaxCells && shapeClassCount > 0 && ShapeCountOf(0) > 0) {
            Random& random = services_.random;
            ShapeItem& cell = cells[static_cast<size_t>(cellCount)];
            cell = ShapeItem{};
            cell.x = sx;
            cell.y = sy;
            cell.baseY = sy;
            cell.width = board::kCellWidth;
            cell.height = board::kCellHeight;
            cell.vy = -lineSpeed;
            cell.present = 1;
            cell.filled = 1;
            cell.classIndex = random.RandomInt(0, shapeClassCount - 1);
            cell.shapeIndex = random.RandomInt(0, ShapeCountOf(cell.classIndex) - 1);
            LoadItemTextures(cell);
            ++cellCount;
            sound_.PlayEvent("place_shape");
        }
    }

    if (input.IsKeyDown(VK_RBUTTON)) {
        for (int i = 0; i < cellCount;) {
            const ShapeItem& cell = cells[static_cast<size_t>(i)];
            if (!(std::fabs(cell.x - sx) < cell.width * kRemoveFactor &&
                  std::fabs(cell.y - sy) < cell.height * kRemoveFactor)) {
                ++i;
                continue;
            }
            for (int j = i; j + 1 < cellCount; ++j)
                cells[static_cast<size_t>(j)] = cells[static_cast<size_t>(j + 1)];
            --cellCount;
            // A bug keeps its own cell, or loses it with the cell.
            if (bug.targetCell == i) {
                bug.targetCell = -1;
            } else if (bug.targetCell > i) {
                --bug.targetCell;
            }
            sound_.PlayEvent("delete_shape");
            // The cell that moved into this slot is looked at next.
        }
    }

    // One write for each press of F2.
    bool saveKey = input.IsKeyDown(VK_F2);
    if (saveKey && !editorSaveKeyDown_)
        SaveLevelFile();
    editorSaveKeyDown_ = saveKey;
}

bool Game::SaveLevelFile() {
    tinyxml2::XMLDocument doc;
    tinyxml2::XMLElement* map = doc.NewElement("LevelMap");
    doc.InsertEndChild(map);
    auto number = [&](const char* name, float value) { map->SetAttribute(name, FormatFloat(value).c_str()); };
    number("newShapeTime", newShapeTime);
    number("levelTime", levelTime);
    number("shapeClassCount", static_cast<float>(shapeClassCount));
    if (!bonusLevel.empty())
        map->SetAttribute("bonusLevel", bonusLevel.c_str());
    if (!shapeClassList.empty())
        map->SetAttribute("shapeClassList", shapeClassList.c_str());
    number("lineSpeed", lineSpeed);
    number("fBugAppearanceRange", bug.appearanceRange);
    number("lineShapeCount", static_cast<float>(lineShapeCount));
    number("fBonusAnyShapeP", fBonusAnyShapeP);
    number("fBonusBandP", fBonusBandP);
    number("fBonusAreaP", fBonusAreaP);
    for (int i = 0; i < cellCount; ++i) {
        const ShapeItem& cell = cells[static_cast<size_t>(i)];
        tinyxml2::XMLElement* e = doc.NewElement("ShapeCell");
        e->SetAttribute("xc", FormatFloat(cell.x).c_str());
        e->SetAttribute("yc", FormatFloat(cell.y).c_str());
        map->InsertEndChild(e);
    }
    tinyxml2::XMLPrinter printer;
    doc.Print(&printer);
    std::string fileName = LevelFileName(levelNumber);
    if (!services_.files.WriteFileAtomic(fileName,
                                         std::string_view(printer.CStr(), printer.CStrSize() - 1))) {
        services_.log.WriteLog("Cannot write " + fileName, LOG_WARNING);
        return false;
    }
    return true;
}

}  // namespace tamblor
