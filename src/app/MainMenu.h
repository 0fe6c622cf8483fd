#pragma once
#include <array>

#include "graphics/Butterfly.h"

namespace tamblor {

class AppStates;
class ScreenSet;
class EffectList;
class Graphics;
class ScreenCanvas;
class Random;
class HighScores;
class Game;
class Clock;

// The pictures of the menus: the backdrop with its butterflies, the main menu with the mode
// information panels that fade in while their mode button is pointed at, and the menus that show
// the game's numbers (high-score table, continue question).
class MainMenuView {
public:
    static constexpr float kPanelFadeRate = 3.0f;

    static constexpr int kButterflies = 8;
    // The language key of the hint shown while a name is typed into the high-score table.
    static constexpr const char* kEntryHint = "ScoresHint";

    // The title of a mode's high-score table.
    static const char* TableName(int gameMode);

    MainMenuView(Game& game, AppStates& states, ScreenSet& screens, EffectList& effects, Graphics& graphics,
                 ScreenCanvas& canvas, Random& random, const Clock& clock, HighScores& highScores)
        : game_(game),
          states_(states),
          screens_(screens),
          effects_(effects),
          graphics_(graphics),
          canvas_(canvas),
          random_(random),
          clock_(clock),
          highScores_(highScores) {}

    // back_menu.jpg over the whole window, then the butterflies.
    void DrawMenuBackdrop(float frameTime);
    // The flock is made on the first call and lives for the whole run, flying on from menu to menu.
    void UpdateMenuButterflies(float frameTime);
    void DrawMainMenu(float frameTime);
    // The three information panels start hidden (at the first device restore).
    void HideInfoPanels();

    // Backdrop, menu-highscores, the table of the mode and its name; while a name is typed, the hint
    // that says how to finish it.
    void DrawHighScoreScreen(float frameTime);
    // Backdrop, menu-continue-confirmation and the saved game's level and score.
    void DrawContinueConfirmation(float frameTime);

    std::array<Butterfly, kButterflies> butterflies{};
    bool butterfliesMade = false;

private:
    Game& game_;
    AppStates& states_;
    ScreenSet& screens_;
    EffectList& effects_;
    Graphics& graphics_;
    ScreenCanvas& canvas_;
    Random& random_;
    const Clock& clock_;
    HighScores& highScores_;
};

}  // namespace tamblor
