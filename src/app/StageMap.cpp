#include "app/StageMap.h"

#include <cctype>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>

#include "core/AppState.h"
#include "app/MainMenu.h"
#include "app/ScreenSet.h"
#include "game/Game.h"
#include "graphics/Graphics.h"
#include "platform/Clock.h"
#include "screens/EffectList.h"
#include "screens/ScreenCanvas.h"
#include "sound/SoundEventPlayer.h"

namespace tamblor {

bool ReadDecimal(std::string_view text, int& value) {
    size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    int64_t number = 0;
    size_t digits = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, ++digits) {
        number = number * 10 + (text[i] - '0');
        if (number > static_cast<int64_t>(std::numeric_limits<int>::max()) + 1)
            return false;
    }
    if (digits == 0)
        return false;
    if (negative)
        number = -number;
    if (number < std::numeric_limits<int>::min() || number > std::numeric_limits<int>::max())
        return false;
    value = static_cast<int>(number);
    return true;
}

StageMapView::StageMapView(Game& game, AppStates& states, EffectList& effects, ScreenSet& screens,
                           Graphics& graphics, ScreenCanvas& canvas, SoundEventPlayer& sounds,
                           const Clock& clock, MainMenuView& mainMenu)
    : game_(game),
      states_(states),
      effects_(effects),
      screens_(screens),
      graphics_(graphics),
      canvas_(canvas),
      sounds_(sounds),
      clock_(clock),
      mainMenu_(mainMenu) {}

Screen& StageMapView::Map() {
    return screens_.Get(ScreenId::Map);
}

bool StageMapView::ButtonCentre(int index, float& x, float& y) {
    Screen& map = Map();
    if (index < 0 || index >= map.buttonCount)
        return false;
    x = map.buttons[static_cast<size_t>(index)].x;
    y = map.buttons[static_cast<size_t>(index)].y;
    return true;
}

void StageMapView::ShowStageMap() {
    states_.SetState(StageMap);
    effects_.AddTween(0.0f, 0.5f, 1.0f, 0.0f, &game_.sceneFade);
    game_.levelPhase = kLevelPhaseFadingOut;
}

void StageMapView::Leave() {
    // The map's own tweens (its fade, the marker's glide) and sounds end with it.
    effects_.Clear();
    game_.sceneFade = 0.0f;
    effects_.AddTween(0.0f, 0.5f, 0.0f, 1.0f, &game_.sceneFade);
    states_.SetState(MainMenu);
}

void StageMapView::ChooseStage(std::string_view action) {
    if (action.size() < 9)
        return;
    int n = 0;
    if (!ReadDecimal(action.substr(9), n))
        return;
    // Stage numbers start at 1; anything else would lead to a level before the first.
    constexpr int kMaxStage = (std::numeric_limits<int>::max() - 1) / 6;
    if (n < 1 || n > kMaxStage)
        return;
    game_.levelNumber = (n - 1) * 6 + 1;
    const int s = Game::StageOf(game_.levelNumber);
    ButtonCentre(s, markerX, markerY);
    const int soundClass = s + 3;
    if (soundClass < game_.allClassCount) {
        const std::string& event = game_.allClasses[static_cast<size_t>(soundClass)].soundEvent;
        if (!event.empty())
            sounds_.PlayEvent(event);
    }
}

void StageMapView::DrawStageMap(float frameTime) {
    effects_.Update();
    const int open = Game::StageOf(game_.LastOpenedLevel);
    const int s = Game::StageOf(game_.levelNumber);
    Screen& map = Map();

    if (game_.levelPhase == kLevelPhaseFadingOut && effects_.Empty()) {
        game_.levelPhase = kLevelPhaseShown;
        effects_.AddTween(0.0f, 0.5f, game_.sceneFade, 1.0f, &game_.sceneFade);
        if (s < 2) {
            ButtonCentre(s, markerX, markerY);
        } else {
            float fromX = 0, fromY = 0, toX = 0, toY = 0;
            if (ButtonCentre(s - 1, fromX, fromY) && ButtonCentre(s, toX, toY)) {
                markerX = fromX;
                markerY = fromY;
                effects_.AddTween(0.5f, 2.5f, fromX, toX, &markerX);
                effects_.AddTween(0.5f, 2.5f, fromY, toY, &markerY);
                const int arrivalClass = s + 1;
                if (arrivalClass < game_.allClassCount) {
                    const std::string& event = game_.allClasses[static_cast<size_t>(arrivalClass)].soundEvent;
                    if (!event.empty())
                        effects_.AddSoundCue(2.5f, event);
                }
            }
        }
    }

    for (int i = 0; i < map.buttonCount; ++i) {
        ScreenButton& b = map.buttons[static_cast<size_t>(i)];
        if (b.name.compare(0, 8, "btnStage") != 0)
            continue;
        int n = 0;
        if (ReadDecimal(std::string_view(b.name).substr(8), n))
            b.visible = open < n ? 0 : 1;
    }

    if (game_.levelPhase != kLevelPhaseFadingOut) {
        canvas_.SetLinearFiltering(true);
        map.Render();
        for (int i = 0; i < map.buttonCount; ++i) {
            const ScreenButton& b = map.buttons[static_cast<size_t>(i)];
            if (!b.visible)
                canvas_.DrawPicture("Graphics\\grey.png", b.x, b.y, b.width, b.height, 0xFFFFFFFF,
                                    ScreenCanvas::kAlpha);
        }
        const float t = static_cast<float>(clock_.TimeGetTime()) * 0.001f;
        for (int i = 0; i < 10; ++i) {
            const float a = 2.0f * std::numbers::pi_v<float> * static_cast<float>(i) / 10.0f + t;
            canvas_.DrawPicture("Graphics\\am_effect_star.png", markerX + 0.06f * std::cos(a),
                                markerY + 0.08f * std::sin(a), 0.036f, 0.048f, 0xFFFFFFFF,
                                ScreenCanvas::kAlpha);
        }
    } else {
        switch (states_.PreviousState()) {
            case MainMenu:
                mainMenu_.DrawMainMenu(frameTime);
                break;
            case ContinueConfirm:
                mainMenu_.DrawContinueConfirmation(frameTime);
                break;
            default:
                if (drawGameScene)
                    drawGameScene();
                break;
        }
    }
    effects_.Draw(graphics_, -1);
}

}  // namespace tamblor
