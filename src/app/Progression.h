#pragma once
#include <array>
#include <cstdint>

namespace tamblor {

class Game;
class AppStates;
class EffectList;
class Settings;
class SavedGame;
class StageMapView;
class ShellHost;
class SoundEventPlayer;
class TextureFinder;
class ScreenCanvas;
class Graphics;
class Clock;

// From one level to the next: the highest level reached, the stage map at the start of a stage, the
// game-complete sequence after the last level, and the hints of the first level's tutorial.
class Progression {
public:
    static constexpr int kCompletePictures = 15;
    static constexpr int kPicturePoints = 1000;
    static constexpr const char* kSection = "GAMEPLAY";
    static constexpr const char* kLastOpenedKey = "LastOpenedLevel";

    Progression(Game& game, AppStates& states, EffectList& effects, Settings& settings, SavedGame& savedGame,
                StageMapView& stageMap, ShellHost& host, SoundEventPlayer& sounds, TextureFinder& textures,
                ScreenCanvas& canvas, Graphics& graphics, const Clock& clock)
        : game_(game),
          states_(states),
          effects_(effects),
          settings_(settings),
          savedGame_(savedGame),
          stageMap_(stageMap),
          host_(host),
          sounds_(sounds),
          textures_(textures),
          canvas_(canvas),
          graphics_(graphics),
          clock_(clock) {}

    // LastOpenedLevel from config.ini (1 when absent or below 1).
    void LoadLastOpenedLevel();
    // Every frame of LevelWon: once the level's closing effects are over, the next level, the map of
    // a new stage, or the end of the game.
    void AdvanceLevel();
    void StartGameComplete();
    void DrawGameComplete();
    void DrawTutorialHints();

    std::array<float, kCompletePictures> completeAlpha{};
    uint32_t completeShown = 0;

    // Centre of picture i of the game-complete grid (five columns, three rows of cells).
    static float CompleteX(int i) { return static_cast<float>(i % 5) * 0.0890625f + 0.31f; }
    static float CompleteY(int i) { return static_cast<float>(i / 5) * 0.11875f + 0.44f; }

private:
    Game& game_;
    AppStates& states_;
    EffectList& effects_;
    Settings& settings_;
    SavedGame& savedGame_;
    StageMapView& stageMap_;
    ShellHost& host_;
    SoundEventPlayer& sounds_;
    TextureFinder& textures_;
    ScreenCanvas& canvas_;
    Graphics& graphics_;
    const Clock& clock_;
};

}  // namespace tamblor
