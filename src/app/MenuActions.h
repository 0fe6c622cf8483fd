#pragma once
#include <string_view>

namespace tamblor {

class Game;
class AppStates;
class ScreenSet;
class HighScores;
class EffectList;
class SavedGame;
class StageMapView;
class ShellHost;
struct Message;

// What every action name of every screen does, by application state.
class MenuActions {
public:
    static constexpr int kMaxStartLevel = 40;

    MenuActions(Game& game, AppStates& states, ScreenSet& screens, HighScores& highScores,
                EffectList& effects, SavedGame& savedGame, StageMapView& stageMap, ShellHost& host)
        : game_(game),
          states_(states),
          screens_(screens),
          highScores_(highScores),
          effects_(effects),
          savedGame_(savedGame),
          stageMap_(stageMap),
          host_(host) {}

    // Hands a window message to the screen of the current state (the high-score name entry first)
    // and performs the action it returns.
    void HandleMessage(const Message& message);
    // Performs an action name in the current state; names the state does not know are ignored.
    void Perform(std::string_view action);

    // What Escape does in a state: in a level the Menu button (pause), on the pause screen Resume,
    // elsewhere the action of the screen's back, close or cancel button; empty where there is none
    // (the main menu, the level-end pause). The high-score name entry keeps Escape for itself.
    static std::string_view EscapeAction(int state);
    // F11 and Alt+Enter: the options' full-screen check box flips and the window follows it, the same
    // path a click on the box takes.
    void ToggleFullScreen();

    // The music back at the player's setting (after game over or game complete silenced it).
    void RestoreMusicVolume();
    // Offers the score to the table of the mode: the high-score screen when it enters, else the menu.
    void ScoreCheck();

private:
    void StartMode(int mode);
    void MainMenuAction(std::string_view action);
    void OptionsAction(std::string_view action);
    // The window follows the full-screen check box; a failed switch puts the box back.
    void ApplyFullScreenOption();
    void HighScoresAction(std::string_view action);

    Game& game_;
    AppStates& states_;
    ScreenSet& screens_;
    HighScores& highScores_;
    EffectList& effects_;
    SavedGame& savedGame_;
    StageMapView& stageMap_;
    ShellHost& host_;
};

}  // namespace tamblor
