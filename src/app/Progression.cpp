#include "app/Progression.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>

#include "app/SavedGame.h"
#include "app/SavedGameRecord.h"
#include "app/ShellHost.h"
#include "app/StageMap.h"
#include "core/AppState.h"
#include "core/Settings.h"
#include "game/Game.h"
#include "game/TextureFinder.h"
#include "graphics/Graphics.h"
#include "platform/Clock.h"
#include "screens/EffectList.h"
#include "screens/ScreenCanvas.h"
#include "sound/SoundEventPlayer.h"

namespace tamblor {
namespace {

constexpr uint32_t kWhite = 0xFFFFFFFF;
constexpr uint32_t kOwnSize = ScreenCanvas::kAlpha | ScreenCanvas::kOwnSize;

}  // namespace

void Progression::LoadLastOpenedLevel() {
    int level = 1;
    settings_.ReadConfigInt(kSection, kLastOpenedKey, &level);
    game_.LastOpenedLevel = std::clamp(level, 1, SavedGameRecord::kMaxLevelNumber);
}

void Progression::AdvanceLevel() {
    effects_.Update();
    if (!effects_.Empty())
        return;
    const int next = game_.levelNumber + 1;
    if (next > game_.LastOpenedLevel) {
        game_.LastOpenedLevel = next;
        settings_.WriteConfigInt(kSection, kLastOpenedKey, game_.LastOpenedLevel);
    }
    if (game_.LevelFileExists(next)) {
        game_.levelNumber = next;
        if (game_.levelNumber % 6 == 1) {
            stageMap_.ShowStageMap();
        } else {
            game_.StartLevel();
        }
    } else {
        // The game is over with the last level there is; the side panel keeps showing it.
        StartGameComplete();
    }
}

void Progression::StartGameComplete() {
    host_.SetMusicVolume(0.0f);
    sounds_.PlayEvent("game_complete");
    states_.SetState(GameComplete);
    savedGame_.SetGameSaved(0);
    for (int i = 0; i < kCompletePictures; ++i) {
        const float x = CompleteX(i);
        const float y = CompleteY(i);
        const float t = 0.5f * static_cast<float>(i);
        effects_.AddGrowSprite(2, t, 0.5f, x, y, 0.0890625f, 0.11875f,
                               textures_.FindTexture("Graphics\\am_effect_chomp.png"));
        effects_.AddSoundCue(t, "shape_chomp");
        effects_.AddRisingText(1, t + 0.5f, 0.8f, x, y, "1000", 0);
        completeAlpha[static_cast<size_t>(i)] = 0.0f;
        effects_.AddTween(t + 0.5f, 0.01f, 0.0f, 1.0f, &completeAlpha[static_cast<size_t>(i)]);
    }
    completeShown = 0;
}

void Progression::DrawGameComplete() {
    effects_.Update();
    uint32_t shown = 0;
    for (int i = 0; i < kCompletePictures; ++i) {
        if (!(completeAlpha[static_cast<size_t>(i)] > 0.0f))
            continue;
        // A class that does not exist has no picture, but its place is still paid.
        if (i < game_.allClassCount) {
            const ShapeClass& shapeClass = game_.allClasses[static_cast<size_t>(i)];
            if (shapeClass.shapeCount > 0 && !shapeClass.shapes[0].mainImage.empty())
                canvas_.DrawPicture(shapeClass.shapes[0].mainImage, CompleteX(i), CompleteY(i), 0.0f, 0.0f,
                                    kWhite, kOwnSize);
        }
        shown = static_cast<uint32_t>(i + 1);
    }
    // Every picture that came into view is paid, even when one long frame brought several.
    if (shown > completeShown) {
        const int64_t total = static_cast<int64_t>(game_.score) +
                              static_cast<int64_t>(kPicturePoints) * (shown - completeShown);
        game_.score = static_cast<int32_t>(std::min<int64_t>(total, std::numeric_limits<int32_t>::max()));
        completeShown = shown;
    }
    effects_.Draw(graphics_, 2);
}

void Progression::DrawTutorialHints() {
    if (!game_.tutorialActive || game_.shapeClassCount <= 0)
        return;
    game_.ImposeTutorialSetup();
    const float t = static_cast<float>(clock_.TimeGetTime()) * 0.001f;
    const float bob = 0.01f * std::sin(3.0f * t);
    if (game_.tutorialStep == 1) {
        const ShapeItem& slot = game_.panel[static_cast<size_t>(game_.tutorialPanelIndex)];
        canvas_.DrawPicture("English\\hint1.png", slot.x, slot.y - 0.25f, 0.0f, 0.0f, kWhite, kOwnSize);
        canvas_.DrawPicture("Graphics\\arrow.png", slot.x, slot.y - 0.13f + bob, 0.0f, 0.0f, kWhite,
                            kOwnSize);
    } else if (game_.tutorialStep == 2) {
        canvas_.DrawPicture("English\\hint3.png", game_.held.x, game_.held.y - 0.15f, 0.0f, 0.0f, kWhite,
                            kOwnSize);
    } else if (game_.tutorialStep == 3) {
        if (game_.tutorialCellIndex < 0 || game_.tutorialCellIndex >= game_.cellCount)
            return;
        const ShapeItem& cell = game_.cells[static_cast<size_t>(game_.tutorialCellIndex)];
        constexpr float kArrowW = 0.08f;
        constexpr float kArrowH = 0.10666667f;
        if (cell.y < 0.3f) {
            canvas_.DrawPicture("English\\hint2.png", cell.x, cell.y + 0.25f, 0.0f, 0.0f, kWhite, kOwnSize);
            canvas_.DrawPictureRotated("Graphics\\arrow.png", cell.x, cell.y + 0.13f - bob, kArrowW, kArrowH,
                                       std::numbers::pi_v<float>, kWhite, kOwnSize);
        } else {
            canvas_.DrawPicture("English\\hint2.png", cell.x, cell.y - 0.25f, 0.0f, 0.0f, kWhite, kOwnSize);
            canvas_.DrawPictureRotated("Graphics\\arrow.png", cell.x, cell.y - 0.13f + bob, kArrowW, kArrowH,
                                       0.0f, kWhite, kOwnSize);
        }
    }
}

}  // namespace tamblor
