#include "app/LevelCursor.h"

#include <cmath>
#include <limits>

#include "game/Game.h"

namespace tamblor {

namespace {

// A step prefers targets straight along the direction: sideways distance counts this much more.
constexpr float kSidewaysWeight = 2.0f;
// Targets closer than this along the direction are not "in" it.
constexpr float kMinStep = 0.01f;

template <typename Visit>
void ForEachTarget(const Game& game, Visit visit) {
    for (int i = 0; i < game.panelCount; ++i) visit(LevelCursor::Panel, i);
    for (int i = 0; i < game.cellCount; ++i) visit(LevelCursor::Hole, i);
}

}  // namespace

bool LevelCursor::Centre(const Game& game, Kind kind, int index, float& x, float& y) const {
    if (kind == Panel && index >= 0 && index < game.panelCount) {
        x = game.panel[static_cast<size_t>(index)].x;
        y = game.panel[static_cast<size_t>(index)].y;
        return true;
    }
    if (kind == Hole && index >= 0 && index < game.cellCount) {
        x = game.cells[static_cast<size_t>(index)].x;
        y = game.cells[static_cast<size_t>(index)].y;
        return true;
    }
    return false;
}

bool LevelCursor::Reachable(const Game& game, Kind kind, int index, bool followOnly) const {
    float x = 0.0f, y = 0.0f;
    if (!Centre(game, kind, index, x, y))
        return false;
    if (kind == Panel)
        return x > kPanelMinX && x < kPanelMaxX;
    const ShapeItem& cell = game.cells[static_cast<size_t>(index)];
    // The cursor stays on a hole just filled through it; steps only go to free ones.
    return cell.present && (followOnly || !cell.filled) && y > kHoleMinY && y < kHoleMaxY;
}

void LevelCursor::Nearest(const Game& game, float x, float y) {
    float best = std::numeric_limits<float>::max();
    Kind bestKind = None;
    int bestIndex = -1;
    ForEachTarget(game, [&](Kind kind, int index) {
        float tx = 0.0f, ty = 0.0f;
        if (!Reachable(game, kind, index, false) || !Centre(game, kind, index, tx, ty))
            return;
        float d = std::hypot(tx - x, ty - y);
        if (d < best) {
            best = d;
            bestKind = kind;
            bestIndex = index;
        }
    });
    kind_ = bestKind;
    index_ = bestIndex;
}

void LevelCursor::Move(const Game& game, Direction direction, float x, float y) {
    if (kind_ == None || !Reachable(game, kind_, index_, true)) {
        Nearest(game, x, y);
        return;
    }
    const float dx = direction == Left ? -1.0f : direction == Right ? 1.0f : 0.0f;
    const float dy = direction == Up ? -1.0f : direction == Down ? 1.0f : 0.0f;
    float best = std::numeric_limits<float>::max();
    ForEachTarget(game, [&](Kind kind, int index) {
        float tx = 0.0f, ty = 0.0f;
        if ((kind == kind_ && index == index_) || !Reachable(game, kind, index, false) ||
            !Centre(game, kind, index, tx, ty))
            return;
        const float along = (tx - x) * dx + (ty - y) * dy;
        const float sideways = std::fabs((tx - x) * dy - (ty - y) * dx);
        if (along < kMinStep)
            return;
        const float score = along + kSidewaysWeight * sideways;
        if (score < best) {
            best = score;
            kind_ = kind;
            index_ = index;
        }
    });
}

bool LevelCursor::Follow(const Game& game, float& x, float& y) {
    if (kind_ == None)
        return false;
    if (!Reachable(game, kind_, index_, true))
        Nearest(game, lastX_, lastY_);
    if (!Centre(game, kind_, index_, x, y))
        return false;
    lastX_ = x;
    lastY_ = y;
    return true;
}

}  // namespace tamblor
