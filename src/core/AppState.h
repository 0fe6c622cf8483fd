#pragma once
#include <functional>

namespace tamblor {

class InputState;

// The application states; the value decides what is shown and which screen gets the mouse.
enum AppState : int {
    Starting = 0,
    MainMenu = 1,
    StageMap = 2,
    Instructions1 = 3,
    Instructions2 = 4,
    Instructions3 = 5,
    Playing = 6,
    Paused = 7,
    HighScoresState = 8,  // "HighScores"; the table object of that name is a class of its own
    Options = 9,
    UnusedState10 = 10,
    LevelWon = 11,
    GameComplete = 12,
    GameOver = 13,
    ClearScoresConfirm = 14,
    ContinueConfirm = 15,
};

// appState and previousState with the state change rule: every change nudges the cursor down one
// pixel so the new screen sees a mouse move, and Playing <-> Paused stops and restarts the level clocks.
class AppStates {
public:
    explicit AppStates(InputState& input) : input_(input) {}

    void SetState(int state);
    int State() const { return appState_; }
    int PreviousState() const { return previousState_; }

    // Called on Playing -> Paused and Paused -> Playing.
    std::function<void()> onPauseClock;
    std::function<void()> onResumeClock;
    // Called after the nudge, so the shell can deliver a mouse move to the new screen at once.
    std::function<void(int x, int y)> onCursorNudged;

private:
    InputState& input_;
    int appState_ = Starting;
    int previousState_ = Starting;
};

}  // namespace tamblor
