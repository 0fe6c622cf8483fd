#pragma once
#include <functional>
#include <string_view>

namespace tamblor {

class Game;
class AppStates;
class EffectList;
class ScreenSet;
class Screen;
class Graphics;
class ScreenCanvas;
class SoundEventPlayer;
class Clock;
class MainMenuView;

// The stage map: six levels make a stage, opened stages can be chosen, and a marker circled by stars
// shows the chosen stage, gliding to a newly opened one.
class StageMapView {
public:
    static constexpr int kLevelPhaseFadingOut = 6;
    static constexpr int kLevelPhaseShown = 7;

    StageMapView(Game& game, AppStates& states, EffectList& effects, ScreenSet& screens, Graphics& graphics,
                 ScreenCanvas& canvas, SoundEventPlayer& sounds, const Clock& clock, MainMenuView& mainMenu);

    // The picture fades to black, then the map fades in.
    void ShowStageMap();
    void DrawStageMap(float frameTime);
    // Back to the main menu, which fades in from black.
    void Leave();
    // "procStage<n>": the first level of stage n becomes the level to start.
    void ChooseStage(std::string_view action);

    // Where the marker stands, in screen fractions.
    float markerX = 0.0f;
    float markerY = 0.0f;

    // Draws the level in play; the map shows it while it fades out after a won level.
    std::function<void()> drawGameScene;

private:
    Screen& Map();
    bool ButtonCentre(int index, float& x, float& y);

    Game& game_;
    AppStates& states_;
    EffectList& effects_;
    ScreenSet& screens_;
    Graphics& graphics_;
    ScreenCanvas& canvas_;
    SoundEventPlayer& sounds_;
    const Clock& clock_;
    MainMenuView& mainMenu_;
};

// Reads a decimal integer as "%d" would from text (blanks, an optional sign, digits); false when
// there is none or it does not fit in 32 bits.
bool ReadDecimal(std::string_view text, int& value);

}  // namespace tamblor
