#include <algorithm>
#include <cmath>
#include <string>

#include "core/AppState.h"
#include "core/CoreServices.h"
#include "core/FloatToInt.h"
#include "core/MouseButtons.h"
#include "core/Random.h"
#include "game/Game.h"
#include "game/TextureFinder.h"
#include "platform/InputState.h"
#include "platform/Message.h"
#include "screens/EffectList.h"
#include "sound/SoundEventPlayer.h"

namespace tamblor {

namespace {
constexpr const char* kStarImage = "Graphics\\star-rotation.png";
constexpr int kStarColumns = 8;
constexpr int kStarRows = 1;
constexpr float kStarRise = -0.1f;
constexpr float kCentreX = 0.6f;
constexpr float kCentreY = 0.45f;
}  // namespace

void Game::UpdateLevel(float frameTime) {
    // 1. Clock.
    now = SystemNow();
    if (prevNow <= 0.0f)
        prevNow = now;
    prevNow = now;
    dt = frameTime;
    sinceLevelStart = now - levelStartTime;
    elapsed = levelPhase == 3 ? now - playStartTime : levelTime - savedTimeLeft;
    if (!tutorialActive)
        timeLeft = levelTime - elapsed;

    // 2. Input.
    InputState& input = services_.input;
    mouse_.UpdateMouseButtons(input);
    std::pair<int, int> size = hooks.clientSize ? hooks.clientSize() : std::pair<int, int>(800, 600);
    if (size.first > 0 && size.second > 0) {
        mouseX = static_cast<float>(input.CursorX()) / static_cast<float>(size.first);
        mouseY = static_cast<float>(input.CursorY()) / static_cast<float>(size.second);
    }

    // 3. Panel and lines.
    SpawnPanelShape();
    MoveLines();
    MovePanel();
    bool taken = TakeFromPanel();
    if (held.present) {
        held.x = mouseX;
        held.y = mouseY;
    }

    // 4.-6.
    TryPlace(taken);
    if (mouse_.RightButtonPressed() && gameMode == ModeTransformer && held.present)
        Transform();
    BugAppearance();

    // 7. Bonus level or the clock.
    if (IsBonusLevel()) {
        BonusLevelStep();
    } else {
        if (developerKeys && input.IsKeyDown(VK_F8))
            timeLeft = 0.0f;
        if (gameMode != ModeRelax && timeLeft <= 0.0f) {
            GameOver();
            return;
        }
    }

    // 8.-9.
    DeveloperKeys();
    CountFilled();
    if (filledCount == cellCount && appStates_.State() == Playing)
        CompleteLevel();

    // 10.
    if (developerKeys && input.IsKeyDown(VK_F9)) {
        if (hooks.gameComplete)
            hooks.gameComplete();
        return;
    }
    TimeWarnings();
    effects_.Update();
    PhaseChanges();
}

void Game::PauseLevelClock() {
    if (pauseDepth_++ == 0)
        pauseStart_ = SystemNow();
}

void Game::ResumeLevelClock() {
    if (pauseDepth_ <= 0)
        return;
    if (--pauseDepth_ > 0)
        return;
    float paused = SystemNow() - pauseStart_;
    playStartTime += paused;
    levelStartTime += paused;
    prevNow += paused;
}

void Game::PauseClock() {
    if (menuPauseDepth_++ == 0)
        menuPauseStart_ = SystemNow();
    PauseLevelClock();
}

void Game::ResumeClock() {
    if (menuPauseDepth_ <= 0)
        return;
    if (--menuPauseDepth_ == 0) {
        // The bug stood still while the game was away: its times move on by the pause.
        float paused = SystemNow() - menuPauseStart_;
        bug.lastEnd += paused;
        bug.arriveTime += paused;
    }
    ResumeLevelClock();
}

void Game::StartTutorial() {
    tutorialActive = 1;
    tutorialStep = 1;
    if (!tutorialHoldsPause_) {
        tutorialHoldsPause_ = true;
        PauseLevelClock();
    }
}

void Game::EndTutorial() {
    tutorialActive = 0;
    if (tutorialHoldsPause_) {
        tutorialHoldsPause_ = false;
        ResumeLevelClock();
    }
}

void Game::ImposeTutorialSetup() {
    if (!tutorialActive)
        return;
    tutorialCellIndex = 4;
    ShapeItem& cell = cells[static_cast<size_t>(tutorialCellIndex)];
    cell.classIndex = 0;
    // The transformation the tutorial teaches must be able to reach the asked-for shape.
    if (gameMode == ModeTransformer) {
        int count = ShapeCountOf(0);
        cell.shapeIndex = count > 0 ? 1 % count : 0;
    }
    tutorialPanelIndex = 4;
    ShapeItem& slot = panel[static_cast<size_t>(tutorialPanelIndex)];
    slot.classIndex = 0;
    slot.shapeIndex = 0;
    // The lesson's shape is a plain one: a bonus would fit anywhere and look like something else.
    slot.bonusKind = BonusNone;
    LoadItemTextures(cell);
    LoadItemTextures(slot);
}

void Game::Transform() {
    sound_.PlayEvent("transform_shape");
    int count = ShapeCountOf(held.classIndex);
    held.shapeIndex = count > 0 ? (held.shapeIndex + 1) % count : 0;
    if (tutorialActive && tutorialStep == 2)
        tutorialStep = 3;
}

void Game::BugAppearance() {
    if (bug.active || cellCount <= 0)
        return;
    if (!(now - bug.lastEnd > bug.appearanceRange))
        return;
    int index = services_.random.RandomInt(0, cellCount - 1);
    const ShapeItem& cell = cells[static_cast<size_t>(index)];
    if (!cell.filled || !cell.present || !(cell.y > 0.55f && cell.y < 1.05f))
        return;
    sound_.PlayEvent("bug_alarm");
    bug.active = 1;
    bug.state = BugApproaching;
    bug.x = bug.startX;
    bug.y = bug.startY;
    bug.targetCell = index;
}

void Game::MoveBugToward(float tx, float ty, float step) {
    float dx = tx - bug.x;
    float dy = ty - bug.y;
    float distance = std::sqrt(dx * dx + dy * dy);
    // Never overshoot: a long frame puts the bug on the point instead of past it.
    if (distance <= step) {
        bug.x = tx;
        bug.y = ty;
        return;
    }
    bug.x += dx / distance * step;
    bug.y += dy / distance * step;
}

void Game::UpdateBug(float frameTime) {
    // Outside play, and while the level is edited, the bug stands still with the rest of the level.
    if (!bug.active || appStates_.State() != Playing || editorMode)
        return;
    float t = SystemNow();
    float step = bug.speed * frameTime;
    bool validTarget = bug.targetCell >= 0 && bug.targetCell < cellCount;
    ShapeItem* target = validTarget ? &cells[static_cast<size_t>(bug.targetCell)] : nullptr;
    constexpr float kNear = 0.025f;
    if (bug.state == BugApproaching) {
        if (!target || !target->present) {
            bug.state = BugLeaving;
        } else {
            if (std::fabs(bug.x - target->x) < kNear && std::fabs(bug.y - target->y) < kNear) {
                bug.state = BugEating;
                bug.arriveTime = t;
            }
            MoveBugToward(target->x, target->y, step);
        }
    } else if (bug.state == BugEating) {
        if (target) {
            bug.x = target->x;
            bug.y = target->y;
        }
        if (t - bug.arriveTime > bug.eatDelay) {
            bug.state = BugLeaving;
            if (target && target->present) {
                target->filled = 0;
                sound_.PlayEvent("shape_clear");
                effects_.AddRisingSprite(1, 0.0f, 0.5f, bug.x, bug.y, textures_.FindTexture(kStarImage),
                                         kStarColumns, kStarRows, kStarRise);
            }
        }
    } else {
        if (std::fabs(bug.x - bug.exitX) < kNear && std::fabs(bug.y - bug.exitY) < kNear) {
            bug.active = 0;
            bug.lastEnd = t;
        } else {
            MoveBugToward(bug.exitX, bug.exitY, step);
        }
    }
}

void Game::BonusLevelStep() {
    if (levelTime != 0.0f) {
        for (int i = 0; i < cellCount; ++i) cells[static_cast<size_t>(i)].y -= dt * lineSpeed;
    }
    if (cellCount <= 0)
        return;
    for (int i = 0; i < cellCount; ++i) {
        const ShapeItem& cell = cells[static_cast<size_t>(i)];
        if (cell.y + cell.height > 0.0f)
            return;
    }
    sound_.PlayEvent("no_bonus");
    effects_.AddBounceText(1, 0.0f, 2.5f, kCentreX, kCentreY, "No Bonus", 0.0f);
    appStates_.SetState(LevelWon);
}

void Game::GameOver() {
    if (hooks.silenceMusic)
        hooks.silenceMusic();
    sound_.PlayEvent("game_over");
    appStates_.SetState(AppState::GameOver);
    if (hooks.markNoSavedGame)
        hooks.markNoSavedGame();
}

void Game::DeveloperKeys() {
    if (!developerKeys)
        return;
    InputState& input = services_.input;
    bool fillAll = input.IsKeyDown(VK_F11);
    if (input.IsKeyDown(VK_F7)) {
        bonusLevel = "true";
        fillAll = true;
    }
    if (fillAll) {
        for (int i = 0; i < cellCount; ++i) cells[static_cast<size_t>(i)].filled = 1;
    }
}

std::pair<float, float> Game::TextPosition(std::string_view name) const {
    return hooks.inGameTextPosition ? hooks.inGameTextPosition(name) : std::pair<float, float>(0.0f, 0.0f);
}

void Game::CompleteLevel() {
    Texture* star = textures_.FindTexture(kStarImage);
    auto [scoreX, scoreY] = TextPosition("txtScoreNum");
    if (IsBonusLevel()) {
        effects_.AddDropText(1, 0.0f, 4.5f, kCentreX, kCentreY, "Bonus!");
        for (int k = 0; k < 5; ++k) {
            float t = 1.4f + 0.3f * static_cast<float>(k);
            effects_.AddFlyingText(2, t, 0.6f, kCentreX, kCentreY, scoreX, scoreY, "750", 1);
            effects_.AddRisingSprite(1, t, 1.0f, kCentreX, kCentreY, star, kStarColumns, kStarRows,
                                     kStarRise);
            effects_.AddDelayedAdd(t + 0.6f, 750, &score);
            effects_.AddSoundCue(t, "emit_scores");
            effects_.AddSoundCue(t + 0.6f, "collect_scores");
        }
        sound_.PlayEvent("bonus_level_complete");
        score += 1000;
    } else {
        effects_.AddFadingText(1, 0.5f, 3.0f, kCentreX, kCentreY, "Level Complete", 0);
        sound_.PlayEvent("level_complete");
        Texture* particle1 = textures_.FindTexture("Graphics\\particle1.png");
        Texture* particle2 = textures_.FindTexture("Graphics\\particle2.png");
        for (int k = 0; k < 4; ++k) {
            float x = 0.45f + 0.1f * static_cast<float>(k);
            effects_.AddParticleBurst(1, 3.0f, 1.2f, x, kCentreY, 0.12f, 0.5f, particle1, 0);
            effects_.AddParticleBurst(1, 3.0f, 1.2f, x, kCentreY, 0.12f, 0.5f, particle2, 0);
        }
        // Whole seconds left, never less than nothing (Relax lets the clock run below zero).
        int timeBonus = std::max(0, TruncateToInt(timeLeft));
        auto [timeX, timeY] = TextPosition("txtTimeNum");
        effects_.AddFlyingText(2, 1.75f, 1.0f, timeX, timeY, scoreX, scoreY, std::to_string(timeBonus), 1);
        effects_.AddRisingSprite(1, 1.75f, 1.0f, timeX, timeY, star, kStarColumns, kStarRows, kStarRise);
        effects_.AddDelayedAdd(2.75f, timeBonus, &score);
        effects_.AddTween(1.75f, 0.01f, timeLeft, 0.0f, &timeLeft);
        effects_.AddFlyingText(2, 1.75f, 1.0f, kCentreX, kCentreY, scoreX, scoreY, "1500", 1);
        effects_.AddRisingSprite(1, 1.75f, 1.0f, kCentreX, kCentreY, star, kStarColumns, kStarRows,
                                 kStarRise);
        effects_.AddDelayedAdd(2.75f, 1500, &score);
        effects_.AddSoundCue(1.75f, "emit_scores");
        effects_.AddSoundCue(2.75f, "collect_scores");
    }
    effects_.AddSoundCue(3.4f, "shape_panel_out");
    for (int i = 0; i < panelCount; ++i) {
        ShapeItem& item = panel[static_cast<size_t>(i)];
        effects_.AddTween(0.0f, 0.5f, item.width, 0.0f, &item.width);
        effects_.AddTween(0.0f, 0.5f, item.height, 0.0f, &item.height);
    }
    effects_.AddTween(0.0f, 0.5f, progress, 0.0f, &progress);
    appStates_.SetState(LevelWon);
}

void Game::TimeWarnings() {
    if (IsBonusLevel() || gameMode == ModeRelax)
        return;
    if (timeLeft < 10.0f - static_cast<float>(timeoutWarnings)) {
        sound_.PlayEvent("timeout");
        ++timeoutWarnings;
    }
}

void Game::PhaseChanges() {
    if ((levelPhase == 0 || levelPhase == 1) && effects_.Empty()) {
        levelPhase = 2;
        effects_.AddTween(0.0f, 0.5f, sceneFade, 1.0f, &sceneFade);
        if (!IsBonusLevel()) {
            sound_.PlayEvent("shape_panel_in");
            effects_.AddFadingText(1, 1.0f, 2.5f, 0.6f, 0.39f, "Level N", 0);
            effects_.AddFadingText(1, 1.0f, 2.5f, 0.6f, 0.51f, std::to_string(levelNumber), 1);
            effects_.AddSoundCue(1.0f, "level_start");
        } else {
            effects_.AddBounceText(1, 1.0f, 2.5f, 0.6f, 0.45f, "Bonus Level", 0.0f);
        }
        backgroundShown = backgroundNext;
    } else if (levelPhase == 2 && effects_.Empty()) {
        levelPhase = 3;
        if (!restoredFromSave)
            playStartTime = now + 0.9f;
        if (levelNumber == 1)
            StartTutorial();
    }
}

}  // namespace tamblor
