#include <array>
#include <cmath>

#include "core/CoreServices.h"
#include "core/Random.h"
#include "game/Game.h"
#include "game/TextureFinder.h"
#include "platform/InputState.h"
#include "platform/Message.h"
#include "screens/EffectList.h"
#include "sound/SoundEventPlayer.h"

namespace tamblor {

namespace {
constexpr float kPanelEntryX = 1.0f + board::kLinePitch / 2.0f;       // 1.059375
constexpr float kPanelNextSpawnX = kPanelEntryX - board::kLinePitch;  // 0.940625
constexpr float kPanelSpacing = board::kLinePitch;
constexpr float kPanelStopX = 0.3f;
constexpr float kPanelLeaveX = 0.2f - board::kLinePitch / 2.0f;  // 0.140625
constexpr float kPanelSpeed = 0.75f;
constexpr int kClassAttempts = 10;
}  // namespace

void Game::SpawnPanelShape() {
    if (levelPhase != 2 && levelPhase != 3)
        return;
    bool room = panelCount == 0 || (panelCount >= 1 && panelCount <= board::kMaxPanelShapes - 1 &&
                                    panel[static_cast<size_t>(panelCount - 1)].x < kPanelNextSpawnX);
    if (!room)
        return;
    // No class with shapes: nothing can be made.
    if (shapeClassCount <= 0)
        return;
    for (int c = 0; c < shapeClassCount; ++c) {
        if (ShapeCountOf(c) <= 0)
            return;
    }
    Random& random = services_.random;
    ShapeItem& item = panel[static_cast<size_t>(panelCount)];
    item = ShapeItem{};
    item.x = kPanelEntryX;
    item.y = board::kPanelY;
    item.width = board::kCellWidth;
    item.height = board::kCellHeight;
    item.bonusKind = BonusNone;
    // Later rolls override earlier ones.
    if (random.Fraction() < fBonusAnyShapeP)
        item.bonusKind = BonusAnyShape;
    if (random.Fraction() < fBonusBandP)
        item.bonusKind = BonusBand;
    if (random.Fraction() < fBonusAreaP)
        item.bonusKind = BonusArea;

    // Classes weighted by their empty cells.
    std::array<double, board::kMaxClasses> weight{};
    double total = 0.0;
    for (int i = 0; i < cellCount; ++i) {
        const ShapeItem& cell = cells[static_cast<size_t>(i)];
        if (cell.classIndex < 0 || cell.classIndex >= shapeClassCount || cell.filled)
            continue;
        weight[static_cast<size_t>(cell.classIndex)] += 1.0;
        total += 1.0;
    }
    for (int c = 0; c < shapeClassCount; ++c) {
        weight[static_cast<size_t>(c)] = total > 0.0 ? weight[static_cast<size_t>(c)] / total : 0.0;
    }
    int choice = 0;
    for (int attempt = 0; attempt < kClassAttempts; ++attempt) {
        choice = random.RandomInt(0, shapeClassCount - 1);
        double r = random.Fraction();
        double start = 0.0;
        for (int c = 0; c < shapeClassCount; ++c) {
            double end = start + weight[static_cast<size_t>(c)];
            if (r >= start && r <= end)
                choice = c;
            start = end;
        }
        if (choice != lastPanelClass)
            break;
    }
    lastPanelClass = choice;
    item.classIndex = choice;
    item.shapeIndex = random.RandomInt(0, ShapeCountOf(choice) - 1);
    item.mainTexture = textures_.FindTexture(ShapeImageFile(item));
    ++panelCount;
    ++spawnedCount;
}

void Game::MovePanel() {
    if (tutorialActive && spawnedCount >= 9)
        return;
    float step = -kPanelSpeed * dt;
    for (int i = 0; i < panelCount; ++i) {
        ShapeItem& item = panel[static_cast<size_t>(i)];
        if (i == 0) {
            if (item.x > kPanelStopX)
                item.x += step;
            continue;
        }
        const ShapeItem& before = panel[static_cast<size_t>(i - 1)];
        if (item.x - before.x > kPanelSpacing)
            item.x += step;
        if (item.x - before.x < kPanelSpacing)
            item.x = before.x + kPanelSpacing;
    }
    if (panelCount > 0 && panel[0].x < kPanelLeaveX) {
        for (int i = 0; i + 1 < panelCount; ++i)
            panel[static_cast<size_t>(i)] = panel[static_cast<size_t>(i + 1)];
        --panelCount;
    }
}

void Game::MoveLines() {
    if (tutorialActive)
        return;
    float extra = static_cast<float>(board::kLineCount - linesLeft) * 0.02f;
    float speed = lineSpeed + extra;
    float top = board::kTopWrapY;
    float bottom = static_cast<float>(lineShapeCount) * board::kCellPitch - board::kHalfCellPitch;
    for (int i = 0; i < cellCount; ++i) {
        ShapeItem& cell = cells[static_cast<size_t>(i)];
        cell.vy = cell.vy > 0.0f ? speed : -speed;
        cell.y += cell.vy * dt;
        if (cell.y < top) {
            cell.y = bottom;
        } else if (cell.y > bottom) {
            cell.y = top;
        }
    }
    for (BoardLine& line : lines) {
        if (line.scroll > 0.0f) {
            line.scroll += speed * dt;
        } else {
            line.scroll -= speed * dt;
        }
    }
}

void Game::TakePanelSlot(int index) {
    held = panel[static_cast<size_t>(index)];
    held.present = 1;
    sound_.PlayEvent("take_shape");
    for (int i = index; i + 1 < panelCount; ++i)
        panel[static_cast<size_t>(i)] = panel[static_cast<size_t>(i + 1)];
    --panelCount;
}

bool Game::TakeFromPanel() {
    if (levelPhase != 3 && levelNumber <= 1)
        return false;
    if (!services_.input.IsKeyDown(VK_LBUTTON) || held.present)
        return false;
    for (int i = 0; i < panelCount; ++i) {
        const ShapeItem& item = panel[static_cast<size_t>(i)];
        bool over =
            std::fabs(mouseX - item.x) < item.width / 2.0f && std::fabs(mouseY - item.y) < item.height / 2.0f;
        if (!over || !(mouseX > 0.2f))
            continue;
        if (tutorialActive && i != tutorialPanelIndex)
            continue;
        TakePanelSlot(i);
        // The lesson of the right button only makes sense for a shape that has other forms.
        if (tutorialActive && tutorialStep == 1)
            tutorialStep = gameMode == ModeTransformer && ShapeCountOf(held.classIndex) > 1 ? 2 : 3;
        return true;
    }
    return false;
}

void Game::Discard() {
    // The tutorial waits for one particular panel shape while the panel stands still: throwing shapes
    // away then could leave it waiting for ever.
    if (tutorialActive)
        return;
    if (!held.present && panelCount > 0)
        TakePanelSlot(0);
    if (!held.present)
        return;
    held.present = 0;
    sound_.PlayEvent("drop_shape");
    effects_.AddShrinkSprite(2, 0.0f, 1.0f, 0.1f, board::kPanelY, held.width, held.height,
                             textures_.FindTexture(ShapeImageFile(held)));
}

void Game::OnKey(unsigned message, uintptr_t key) {
    if (message != WM_KEYDOWN || key != static_cast<uintptr_t>(VK_SPACE))
        return;
    // With an empty panel there is no first shape to test: a held shape is thrown away.
    if (panelCount == 0 || panel[0].x < 0.5f)
        Discard();
}

}  // namespace tamblor
