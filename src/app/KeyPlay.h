#pragma once
#include <vector>

#include "app/LevelCursor.h"
#include "app/autoplay/InputEvent.h"

namespace tamblor {

class AppStates;
class ScreenSet;
class HighScores;
class Game;
class InputState;
class MenuActions;

// Playing with the keyboard or a game pad. In the menus the arrows (d-pad, left stick) move a focus
// through the screen's buttons, check boxes and sliders in layout order and Enter (A) presses the
// focused one; left and right move a focused slider. In a level they move a cursor over the panel's
// shapes and the holes; Enter (A) clicks there, Tab (X) right-clicks, Escape (Start) pauses.
//
// Moves and clicks are made as the mouse makes them: the pointer goes to the focused widget or the
// cursor's target and the buttons go down and, after the next frame's update, up again, so a key
// drop obeys every rule of a mouse drop. They are handed back as input events for the application
// to deliver. The focus and cursor show while the keys steer the pointer; the mouse takes it back.
class KeyPlay {
public:
    KeyPlay(AppStates& states, ScreenSet& screens, HighScores& highScores, Game& game, InputState& input,
            MenuActions& actions)
        : states_(states),
          screens_(screens),
          highScores_(highScores),
          game_(game),
          input_(input),
          actions_(actions) {}

    // The keyboard key a game-pad key stands for in an application state (A: Enter, B: Escape,
    // X: Tab, Y: space, d-pad and left stick: arrows; Start pauses and resumes a level and presses
    // Enter elsewhere). Other keys are returned as they are.
    static int KeyboardKey(int virtualKey, int state);

    // A keyboard key went down (repeated: held down, the key's repeat). True when it was handled
    // here; out receives the pointer input it stands for. Escape is every screen's way back (the
    // menu action for the state), except on the name entry, which keeps it to drop the new score.
    bool KeyDown(int key, bool repeated, std::vector<InputEvent>& out);
    // Before a frame's update: a new screen gets its focus, the level cursor follows its target.
    void BeginFrame(std::vector<InputEvent>& out);
    // After a frame's update: a button pressed by a key goes up.
    void EndFrame(std::vector<InputEvent>& out);

    // The rectangle to frame, centre and size in screen fractions: the focused widget or the
    // cursor's target. False when nothing is to be shown (the mouse steers, or no target).
    bool FocusFrame(float& x, float& y, float& width, float& height) const;

    // The index in the screen's focus order of the focused widget, -1 for none.
    int FocusIndex() const;
    const LevelCursor& Cursor() const { return cursor_; }

    // How far one press moves a slider.
    static constexpr float kSliderStep = 0.1f;

private:
    bool LevelKey(int key, std::vector<InputEvent>& out);
    bool MenuKey(int key, std::vector<InputEvent>& out);
    void Steer();
    void PointAt(float x, float y, std::vector<InputEvent>& out) const;
    void PointAtFocus(std::vector<InputEvent>& out);
    void FollowCursor(std::vector<InputEvent>& out);
    void Click(InputEvent::Kind down, std::vector<InputEvent>& out);

    AppStates& states_;
    ScreenSet& screens_;
    HighScores& highScores_;
    Game& game_;
    InputState& input_;
    MenuActions& actions_;
    LevelCursor cursor_;
    int focusState_ = -1;
    int focus_ = -1;
    InputEvent::Kind release_ = InputEvent::Move;  // Move: nothing to let go
};

}  // namespace tamblor
