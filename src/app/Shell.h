#pragma once
#include "app/MainMenu.h"
#include "app/MenuActions.h"
#include "app/Progression.h"
#include "app/SavedGame.h"
#include "app/StageMap.h"

namespace tamblor {

class Game;
class AppStates;
class ScreenSet;
class HighScores;
class EffectList;
class Settings;
class Log;
class Clock;
class Random;
class Graphics;
class ScreenCanvas;
class SoundEventPlayer;
class TextureFinder;
class ShellHost;
class GameScene;

// Everything around the levels, made and connected in one place: the saved game, the menus' pictures,
// the stage map, the progression from level to level and the menu actions. The game's hooks for the
// stage map, the game-complete sequence and the end of a saved game are connected here.
class Shell {
public:
    Shell(Game& game, AppStates& states, ScreenSet& screens, HighScores& highScores, EffectList& effects,
          Settings& settings, Log& log, const Clock& clock, Random& random, Graphics& graphics,
          ScreenCanvas& canvas, SoundEventPlayer& sounds, TextureFinder& textures, ShellHost& host);

    // The game scene draws the in-game screen, the menu or map a level fades in from, and the tutorial's
    // hints through the shell; the map shows the scene while it fades out after a won level. frameTime
    // is the application's frame time, read at each drawing.
    void ConnectScene(GameScene& scene, const float& frameTime);

    SavedGame savedGame;
    MainMenuView mainMenu;
    StageMapView stageMap;
    Progression progression;
    MenuActions actions;

private:
    ScreenSet& screens_;
};

}  // namespace tamblor
