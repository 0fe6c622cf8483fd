#include <algorithm>
#include <array>
#include <cmath>
#include <string>

#include "core/MouseButtons.h"
#include "game/Game.h"
#include "game/TextureFinder.h"
#include "screens/EffectList.h"
#include "sound/SoundEventPlayer.h"

namespace tamblor {

namespace {
constexpr float kHitFactor = 0.45f;
constexpr float kDropLimit = 0.85f;
constexpr float kAreaFactor = 1.9f;
constexpr int kBasePoints = 50;
constexpr int kComboSoundCap = 7;
constexpr float kCentreSplit = 0.6f;
constexpr float kLineTween = 1.0f;
constexpr float kScoreTextOffset = 0.059375f;
}  // namespace

void Game::TryPlace(bool takenThisFrame) {
    if (takenThisFrame)
        return;
    if (!mouse_.LeftButtonPressed() && !mouse_.LeftButtonReleased())
        return;
    if (!held.present || mouseY >= kDropLimit)
        return;

    int target = -1;
    for (int i = 0; i < cellCount && target < 0; ++i) {
        const ShapeItem& cell = cells[static_cast<size_t>(i)];
        if (!(std::fabs(cell.x - mouseX) < cell.width * kHitFactor))
            continue;
        if (!(std::fabs(cell.y - mouseY) < cell.height * kHitFactor))
            continue;
        if (cell.filled)
            continue;
        if (tutorialActive && i != tutorialCellIndex)
            continue;
        bool matches = cell.classIndex == held.classIndex && cell.shapeIndex == held.shapeIndex;
        if (!matches && held.bonusKind == BonusNone)
            continue;
        target = i;
    }
    if (target < 0)
        return;

    ShapeItem& cell = cells[static_cast<size_t>(target)];
    cell.filled = 1;
    held.present = 0;
    effects_.AddTrackingGlow(1, 0.0f, 1.0f, &cell.x, &cell.y, textures_.FindTexture(ShapeImageFile(cell)));

    switch (held.bonusKind) {
        case BonusBand:
            for (int j = 0; j < cellCount; ++j) {
                ShapeItem& other = cells[static_cast<size_t>(j)];
                if (std::fabs(other.x - cell.x) < cell.width / 10.0f)
                    other.filled = 1;
            }
            [[fallthrough]];
        case BonusAnyShape:
            effects_.AddParticleBurst(1, 0.0f, 0.5f, cell.x, cell.y, 0.03f, 0.1f,
                                      textures_.FindTexture("Graphics\\particleq.png"), 1);
            break;
        case BonusArea:
            sound_.PlayEvent("fill_area");
            for (int j = 0; j < cellCount; ++j) {
                if (j == target)
                    continue;
                ShapeItem& other = cells[static_cast<size_t>(j)];
                if (!(std::fabs(other.x - cell.x) < kAreaFactor * cell.width))
                    continue;
                if (!(std::fabs(other.y - cell.y) < kAreaFactor * cell.height))
                    continue;
                if (other.filled)
                    continue;
                other.filled = 1;
                effects_.AddTrackingGlow(1, 0.0f, 1.0f, &other.x, &other.y,
                                         textures_.FindTexture(ShapeImageFile(other)));
            }
            effects_.AddParticleBurst(1, 0.0f, 0.75f, cell.x, cell.y, 0.06f, 0.2f,
                                      textures_.FindTexture("Graphics\\particleq2.png"), 1);
            break;
        default:
            break;
    }

    RemoveCompleteLines();

    float textY = cell.y - kScoreTextOffset;
    if (cell.classIndex == lastPlaced.classIndex) {
        ++comboCount;
        lastPlaced = cell;
        int points = kBasePoints * comboCount + kBasePoints;
        effects_.AddRisingText(1, 0.0f, 2.0f, cell.x, textY - 0.05f, "BonusScore", 0);
        effects_.AddRisingText(1, 0.0f, 2.0f, cell.x, textY, std::to_string(points), 0);
        score += points;
        sound_.PlayEvent("place_shape_bonus_" + std::to_string(std::min(comboCount, kComboSoundCap)));
    } else {
        comboCount = 0;
        lastPlaced = cell;
        effects_.AddRisingText(1, 0.0f, 0.8f, cell.x, textY, "50", 0);
        score += kBasePoints;
        sound_.PlayEvent("place_shape");
    }

    // A placement during the tutorial can only be its shape into its cell: the tutorial is over, also
    // when a bonus shape went in before the transformation step.
    if (tutorialActive)
        EndTutorial();
}

void Game::RemoveCompleteLines() {
    constexpr int kLines = board::kLineCount;
    int leftLast = 0;
    for (int i = 0; i < kLines; ++i) {
        if (lines[static_cast<size_t>(i)].x < kCentreSplit)
            leftLast = i;
    }
    std::array<bool, kLines> remove{};
    std::array<int, kLines> shift{};
    int counter = 0;
    for (int i = leftLast; i >= 0; --i) {
        if (IsLineComplete(i)) {
            remove[static_cast<size_t>(i)] = true;
            ++counter;
        } else {
            shift[static_cast<size_t>(i)] = counter;
        }
    }
    counter = 0;
    for (int i = leftLast + 1; i < kLines; ++i) {
        if (IsLineComplete(i)) {
            remove[static_cast<size_t>(i)] = true;
            ++counter;
        } else {
            shift[static_cast<size_t>(i)] = -counter;
        }
    }
    for (int i = 0; i < kLines; ++i) {
        if (!remove[static_cast<size_t>(i)])
            continue;
        BoardLine& line = lines[static_cast<size_t>(i)];
        sound_.PlayEvent("remove_line");
        for (int k = 0; k < lineShapeCount; ++k) {
            int index = i * lineShapeCount + k;
            if (index < cellCount)
                cells[static_cast<size_t>(index)].present = 0;
        }
        effects_.AddTween(0.0f, kLineTween, 1.0f, 0.0f, &line.alpha);
        line.removed = 1;
        --linesLeft;
    }
    for (int i = 0; i < kLines; ++i) {
        int s = shift[static_cast<size_t>(i)];
        if (remove[static_cast<size_t>(i)] || s == 0)
            continue;
        float offset = static_cast<float>(s) * board::kLinePitch;
        // A line still sliding from an earlier removal slides on from where that slide ends.
        effects_.AddReplacingTween(0.0f, kLineTween, offset, &lines[static_cast<size_t>(i)].x);
        for (int k = 0; k < lineShapeCount; ++k) {
            int index = i * lineShapeCount + k;
            if (index < cellCount)
                effects_.AddReplacingTween(0.0f, kLineTween, offset, &cells[static_cast<size_t>(index)].x);
        }
    }
}

}  // namespace tamblor
