#include "game/Game.h"

#include <algorithm>

#include "core/CoreServices.h"
#include "core/Random.h"
#include "game/TextureFinder.h"
#include "platform/Clock.h"

namespace tamblor {

bool ShapeClass::SameAs(const ShapeClass& other) const {
    if (shapeCount != other.shapeCount || name != other.name || soundEvent != other.soundEvent)
        return false;
    for (size_t i = 0; i < shapes.size(); ++i) {
        if (shapes[i].mainImage != other.shapes[i].mainImage ||
            shapes[i].maskImage != other.shapes[i].maskImage)
            return false;
    }
    return true;
}

Game::Game(CoreServices& services, AppStates& appStates, MouseButtons& mouse, EffectList& effects,
           SoundEventPlayer& sound, TextureFinder& textures)
    : services_(services),
      appStates_(appStates),
      mouse_(mouse),
      effects_(effects),
      sound_(sound),
      textures_(textures) {
    ResetLines();
    lastPlaced.classIndex = -1;
}

float Game::SystemNow() const {
    return services_.clock.Seconds();
}

int Game::ShapeCountOf(int classIndex) const {
    if (classIndex < 0 || classIndex >= shapeClassCount || classIndex >= board::kMaxClasses)
        return 0;
    return levelClasses[static_cast<size_t>(classIndex)].shapeCount;
}

void Game::BuildGrid(int lineShapeCountArg, int lineCountArg) {
    int perLine = std::clamp(lineShapeCountArg, 0, board::kMaxCellsPerLine);
    int lineTotal = std::clamp(lineCountArg, 0, board::kLineCount);
    // Without a class that has shapes there is nothing to put into a cell: the board stays empty.
    bool usable = shapeClassCount > 0;
    for (int c = 0; usable && c < shapeClassCount; ++c) usable = ShapeCountOf(c) > 0;
    if (!usable) {
        cellCount = 0;
        return;
    }
    Random& random = services_.random;
    for (int line = 0; line < lineTotal; ++line) {
        for (int k = 0; k < perLine; ++k) {
            ShapeItem& cell = cells[static_cast<size_t>(line * perLine + k)];
            cell = ShapeItem{};
            cell.x = static_cast<float>(line) * board::kLinePitch + board::kFirstLineX;
            cell.y = static_cast<float>(k) * board::kCellPitch - board::kHalfCellPitch;
            if (line % 2 == 0)
                cell.y += board::kHalfCellPitch;
            cell.baseY = cell.y;
            cell.width = board::kCellWidth;
            cell.height = board::kCellHeight;
            cell.filled = 0;
            cell.present = 1;
            cell.classIndex = random.RandomInt(0, shapeClassCount - 1);
            cell.shapeIndex = random.RandomInt(0, ShapeCountOf(cell.classIndex) - 1);
            cell.vy = -lineSpeed;
        }
    }
    cellCount = lineTotal * perLine;
}

void Game::ForceEveryClass() {
    if (cellCount <= shapeClassCount || shapeClassCount <= 0)
        return;
    Random& random = services_.random;
    std::array<int, board::kMaxClasses> chosen{};
    for (int c = 0; c < shapeClassCount; ++c) {
        int index = 0;
        bool repeat = true;
        while (repeat) {
            index = random.RandomInt(0, cellCount - 1);
            repeat = false;
            for (int e = 0; e < c; ++e) repeat = repeat || chosen[static_cast<size_t>(e)] == index;
        }
        chosen[static_cast<size_t>(c)] = index;
        ShapeItem& cell = cells[static_cast<size_t>(index)];
        cell.classIndex = c;
        cell.shapeIndex = random.RandomInt(0, ShapeCountOf(c) - 1);
    }
}

std::string_view Game::ShapeImageFile(const ShapeItem& item) const {
    switch (item.bonusKind) {
        case BonusAnyShape:
            return "Graphics\\am_bonus01.png";
        case BonusBand:
            return "Graphics\\am_bonus02.png";
        case BonusArea:
            return "Graphics\\am_bonus03.png";
        default:
            break;
    }
    if (item.shapeIndex < 0 || item.shapeIndex >= ShapeCountOf(item.classIndex))
        return {};
    return levelClasses[static_cast<size_t>(item.classIndex)]
        .shapes[static_cast<size_t>(item.shapeIndex)]
        .mainImage;
}

void Game::LoadItemTextures(ShapeItem& item) {
    item.maskTexture = nullptr;
    item.mainTexture = nullptr;
    if (item.shapeIndex < 0 || item.shapeIndex >= ShapeCountOf(item.classIndex))
        return;
    const ShapeImages& images =
        levelClasses[static_cast<size_t>(item.classIndex)].shapes[static_cast<size_t>(item.shapeIndex)];
    if (!images.maskImage.empty())
        item.maskTexture = textures_.FindTexture(images.maskImage);
    if (!images.mainImage.empty())
        item.mainTexture = textures_.FindTexture(images.mainImage);
}

void Game::LoadCellTextures() {
    for (int i = 0; i < cellCount; ++i) LoadItemTextures(cells[static_cast<size_t>(i)]);
}

bool Game::IsLineComplete(int line) const {
    if (line < 0 || lineShapeCount <= 0)
        return false;
    for (int k = 0; k < lineShapeCount; ++k) {
        int index = line * lineShapeCount + k;
        if (index >= cellCount)
            return false;
        const ShapeItem& cell = cells[static_cast<size_t>(index)];
        if (!cell.present || !cell.filled)
            return false;
    }
    return true;
}

void Game::CountFilled() {
    int count = 0;
    for (int i = 0; i < cellCount; ++i) count += cells[static_cast<size_t>(i)].filled ? 1 : 0;
    filledCount = count;
    progress = cellCount > 0 ? static_cast<float>(filledCount) / static_cast<float>(cellCount) : 0.0f;
}

}  // namespace tamblor
