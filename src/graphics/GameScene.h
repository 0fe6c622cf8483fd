#pragma once
#include <functional>
#include <string_view>
#include <utility>

#include "game/ShapeItem.h"

namespace tamblor {

class AppStates;
class Clock;
class EffectList;
class Game;
class Graphics;

// What the game scene shows around the level that belongs to the screens, set by the application.
struct GameSceneHooks {
    // The in-game screen (menu-ingame.xml).
    std::function<void()> renderInGameScreen;
    // While a level fades in from a menu: the main menu screen or the stage map that was on screen.
    std::function<void()> renderMainMenu;
    std::function<void()> drawStageMap;
    // The tutorial's hint pictures, drawn last.
    std::function<void()> drawTutorialHints;
};

// Draws one frame of the running level: background, scrolling lines, cells, bug, panel, frame, the
// in-game screen with level, time, score and meter, the held shape, effects and tutorial hints.
class GameScene {
public:
    GameScene(Game& game, Graphics& graphics, EffectList& effects, AppStates& appStates, const Clock& clock);

    GameSceneHooks hooks;

    void DrawGameScene(float frameTime);

    static constexpr const char* kBorderImage = "Graphics\\status-border.png";
    // The strips of the six lines, drawn with wrapping texture coordinates as they scroll.
    static constexpr const char* kLinePictures[board::kLineCount] = {
        "Graphics\\line1.png", "Graphics\\line2.png", "Graphics\\line3.png",
        "Graphics\\line4.png", "Graphics\\line5.png", "Graphics\\line6.png"};

private:
    void DrawLines();
    void DrawCells();
    void DrawPanel();
    void DrawFrame();
    void DrawStatus();
    std::pair<float, float> Anchor(std::string_view name) const;

    Game& game_;
    Graphics& graphics_;
    EffectList& effects_;
    AppStates& appStates_;
    const Clock& clock_;
};

}  // namespace tamblor
