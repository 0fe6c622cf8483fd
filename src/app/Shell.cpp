#include "app/Shell.h"

#include "app/ScreenSet.h"
#include "app/ShellHost.h"
#include "game/Game.h"
#include "graphics/GameScene.h"

namespace tamblor {

Shell::Shell(Game& game, AppStates& states, ScreenSet& screens, HighScores& highScores, EffectList& effects,
             Settings& settings, Log& log, const Clock& clock, Random& random, Graphics& graphics,
             ScreenCanvas& canvas, SoundEventPlayer& sounds, TextureFinder& textures, ShellHost& host)
    : savedGame(game, settings, log, clock, textures),
      mainMenu(game, states, screens, effects, graphics, canvas, random, clock, highScores),
      stageMap(game, states, effects, screens, graphics, canvas, sounds, clock, mainMenu),
      progression(game, states, effects, settings, savedGame, stageMap, host, sounds, textures, canvas,
                  graphics, clock),
      actions(game, states, screens, highScores, effects, savedGame, stageMap, host),
      screens_(screens) {
    game.hooks.showStageMap = [this] { stageMap.ShowStageMap(); };
    game.hooks.gameComplete = [this] { progression.StartGameComplete(); };
    game.hooks.markNoSavedGame = [this] { savedGame.SetGameSaved(0); };
    game.hooks.silenceMusic = [&host] { host.SetMusicVolume(0.0f); };
    progression.LoadLastOpenedLevel();
}

void Shell::ConnectScene(GameScene& scene, const float& frameTime) {
    scene.hooks.renderInGameScreen = [this] { screens_.Get(ScreenId::InGame).Render(); };
    scene.hooks.renderMainMenu = [this] { screens_.Get(ScreenId::Main).Render(); };
    scene.hooks.drawStageMap = [this, &frameTime] { stageMap.DrawStageMap(frameTime); };
    scene.hooks.drawTutorialHints = [this] { progression.DrawTutorialHints(); };
    stageMap.drawGameScene = [&scene, &frameTime] { scene.DrawGameScene(frameTime); };
}

}  // namespace tamblor
