#include "app/autoplay/PlayBrain.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace tamblor {

namespace {

// Mirrors of the level's own geometry: the band and area bonus reach, the panel's motion.
constexpr float kAreaFactor = 1.9f;
constexpr float kPanelSpeed = 0.75f;
constexpr float kPanelStopX = 0.3f;
constexpr float kPanelSpacing = board::kLinePitch;
constexpr float kLineCompleteWeight = 3.0f;
constexpr float kRunWeight = 0.6f;
constexpr float kTransformCost = 0.25f;

bool IsFree(const ShapeItem& cell) {
    return cell.present && !cell.filled;
}

int LineOf(const Game& game, int cellIndex) {
    return game.lineShapeCount > 0 ? cellIndex / game.lineShapeCount : 0;
}

struct BoardCounts {
    std::array<int, board::kLineCount> freeInLine{};
};

BoardCounts Count(const Game& game) {
    BoardCounts counts;
    for (int i = 0; i < game.cellCount; ++i) {
        int line = LineOf(game, i);
        if (line < board::kLineCount && IsFree(game.cells[static_cast<size_t>(i)]))
            ++counts.freeInLine[static_cast<size_t>(line)];
    }
    return counts;
}

bool Reachable(const Game& game, int cellIndex, const ReachLimits& limits) {
    const ShapeItem& cell = game.cells[static_cast<size_t>(cellIndex)];
    return IsFree(cell) && cell.y >= limits.cellMinY && cell.y <= limits.cellMaxY && cell.x > 0.0f &&
           cell.x < 1.0f;
}

// The value of dropping a shape of bonus kind `bonus` into the cell: holes filled, lines completed,
// a run of one class kept going, and a small pull toward lines that are nearly full.
float DropValue(const Game& game, const BoardCounts& counts, int target, int bonus) {
    const ShapeItem& cell = game.cells[static_cast<size_t>(target)];
    std::array<int, board::kLineCount> filledInLine{};
    int fills = 0;
    for (int j = 0; j < game.cellCount; ++j) {
        const ShapeItem& other = game.cells[static_cast<size_t>(j)];
        if (!IsFree(other))
            continue;
        bool covered = j == target;
        if (bonus == BonusBand)
            covered = covered || std::fabs(other.x - cell.x) < cell.width / 10.0f;
        if (bonus == BonusArea) {
            covered = covered || (std::fabs(other.x - cell.x) < kAreaFactor * cell.width &&
                                  std::fabs(other.y - cell.y) < kAreaFactor * cell.height);
        }
        if (!covered)
            continue;
        ++fills;
        int line = LineOf(game, j);
        if (line < board::kLineCount)
            ++filledInLine[static_cast<size_t>(line)];
    }
    float value = static_cast<float>(fills);
    for (int line = 0; line < board::kLineCount; ++line) {
        int before = counts.freeInLine[static_cast<size_t>(line)];
        if (before > 0 && before == filledInLine[static_cast<size_t>(line)])
            value += kLineCompleteWeight;
    }
    int line = LineOf(game, target);
    if (line < board::kLineCount && game.lineShapeCount > 0) {
        int left = counts.freeInLine[static_cast<size_t>(line)];
        value += 0.3f * (1.0f - static_cast<float>(left) / static_cast<float>(game.lineShapeCount));
    }
    if (game.lastPlaced.classIndex >= 0 && cell.classIndex == game.lastPlaced.classIndex)
        value += kRunWeight;
    return value;
}

bool PanelReachable(const ShapeItem& item, const ReachLimits& limits) {
    return item.x >= limits.panelMinX && item.x <= limits.panelMaxX;
}

}  // namespace

int TransformsNeeded(const Game& game, const ShapeItem& shape, const ShapeItem& cell) {
    if (shape.bonusKind != BonusNone)
        return 0;
    if (shape.classIndex != cell.classIndex)
        return -1;
    if (shape.shapeIndex == cell.shapeIndex)
        return 0;
    if (game.gameMode != ModeTransformer)
        return -1;
    int count = game.ShapeCountOf(shape.classIndex);
    if (count <= 0 || cell.shapeIndex < 0 || cell.shapeIndex >= count)
        return -1;
    return ((cell.shapeIndex - shape.shapeIndex) % count + count) % count;
}

bool FitsNowhere(const Game& game, const ShapeItem& shape) {
    if (shape.bonusKind != BonusNone)
        return false;
    for (int i = 0; i < game.cellCount; ++i) {
        const ShapeItem& cell = game.cells[static_cast<size_t>(i)];
        if (IsFree(cell) && TransformsNeeded(game, shape, cell) >= 0)
            return false;
    }
    return true;
}

PlayChoice BestCellFor(const Game& game, const ShapeItem& shape, const ReachLimits& limits) {
    BoardCounts counts = Count(game);
    PlayChoice best;
    for (int i = 0; i < game.cellCount; ++i) {
        if (!Reachable(game, i, limits))
            continue;
        // The tutorial takes its shape into its one hole and no other.
        if (game.tutorialActive && i != game.tutorialCellIndex)
            continue;
        int transforms = TransformsNeeded(game, shape, game.cells[static_cast<size_t>(i)]);
        if (transforms < 0)
            continue;
        float value =
            DropValue(game, counts, i, shape.bonusKind) - kTransformCost * static_cast<float>(transforms);
        if (best.kind == PlayChoice::Wait || value > best.value) {
            best.kind = PlayChoice::Place;
            best.cellIndex = i;
            best.transforms = transforms;
            best.value = value;
        }
    }
    return best;
}

PlayChoice ChooseMove(const Game& game, const ReachLimits& limits) {
    if (game.held.present)
        return BestCellFor(game, game.held, limits);
    if (game.tutorialActive) {
        // The tutorial takes one given panel shape into one given hole and nothing else.
        int slot = game.tutorialPanelIndex;
        int target = game.tutorialCellIndex;
        PlayChoice choice;
        if (slot < 0 || slot >= game.panelCount || target < 0 || target >= game.cellCount)
            return choice;
        if (!PanelReachable(game.panel[static_cast<size_t>(slot)], limits))
            return choice;
        choice.kind = PlayChoice::Place;
        choice.panelIndex = slot;
        choice.cellIndex = target;
        choice.transforms = 0;
        return choice;
    }
    PlayChoice best;
    for (int p = 0; p < game.panelCount; ++p) {
        const ShapeItem& item = game.panel[static_cast<size_t>(p)];
        if (!PanelReachable(item, limits))
            continue;
        PlayChoice choice = BestCellFor(game, item, limits);
        if (choice.kind != PlayChoice::Place)
            continue;
        // A little less for shapes further along the panel: the hand travels further.
        choice.value -= 0.05f * static_cast<float>(p);
        if (best.kind == PlayChoice::Wait || choice.value > best.value) {
            best = choice;
            best.panelIndex = p;
        }
    }
    if (best.kind == PlayChoice::Place)
        return best;
    if (game.panelCount > 0 && game.panel[0].x < 0.5f && FitsNowhere(game, game.panel[0])) {
        best.kind = PlayChoice::Discard;
        best.panelIndex = 0;
    }
    return best;
}

std::pair<float, float> PredictCell(const Game& game, int cellIndex, float dt) {
    const ShapeItem& cell = game.cells[static_cast<size_t>(cellIndex)];
    if (game.tutorialActive)
        return {cell.x, cell.y};
    float speed = game.lineSpeed + static_cast<float>(board::kLineCount - game.linesLeft) * 0.02f;
    float y = cell.y + (cell.vy > 0.0f ? speed : -speed) * dt;
    float bottom = static_cast<float>(game.lineShapeCount) * board::kCellPitch - board::kHalfCellPitch;
    if (y < board::kTopWrapY) {
        y = bottom;
    } else if (y > bottom) {
        y = board::kTopWrapY;
    }
    return {cell.x, y};
}

std::pair<float, float> PredictPanel(const Game& game, int panelIndex, float dt) {
    std::array<float, board::kMaxPanelSlots> x{};
    int count = std::min(game.panelCount, board::kMaxPanelSlots);
    for (int i = 0; i < count; ++i) x[static_cast<size_t>(i)] = game.panel[static_cast<size_t>(i)].x;
    bool still = game.tutorialActive && game.spawnedCount >= 9;
    float step = -kPanelSpeed * dt;
    for (int i = 0; i < count && !still; ++i) {
        float& item = x[static_cast<size_t>(i)];
        if (i == 0) {
            if (item > kPanelStopX)
                item += step;
            continue;
        }
        float before = x[static_cast<size_t>(i - 1)];
        if (item - before > kPanelSpacing)
            item += step;
        if (item - before < kPanelSpacing)
            item = before + kPanelSpacing;
    }
    int index = std::clamp(panelIndex, 0, std::max(0, count - 1));
    return {x[static_cast<size_t>(index)], game.panel[static_cast<size_t>(index)].y};
}

}  // namespace tamblor
