#pragma once
// The bot: plays the game through the mouse and the space bar only, at a person's pace. Each frame it
// looks at what is on the screen (the level, or the buttons of the current menu) and emits the input
// events for the next frame: the pointer glides toward its target, clicks once it is there, right
// clicks to transform a held shape, and presses the space bar to throw a useless shape away.
#include <string>
#include <vector>

#include "app/autoplay/InputEvent.h"
#include "app/autoplay/PlayBrain.h"

namespace tamblor {

class Game;

// A button of the screen that takes the mouse in the current state.
struct ButtonView {
    std::string name;
    std::string action;
    float x = 0.0f, y = 0.0f;  // centre, screen fractions
    bool visible = true;
};

// What the bot sees before a frame.
struct AutoplayView {
    int appState = 0;
    const Game* game = nullptr;  // the level, while one is running or shown
    std::vector<ButtonView> buttons;
    int clientWidth = 800;
    int clientHeight = 600;
    float frameSeconds = 1.0f / 60.0f;
    int cursorX = 0;
    int cursorY = 0;
};

struct AutoplayPace {
    // A person's pace: the pointer glides, and after each drop the eye looks for the next pair, the
    // longer the more classes the level has; right clicks come one at a time.
    float pixelsPerSecond = 800.0f;
    float restAfterDrop = 0.8f;
    float lookPerClass = 0.15f;
    float rightClickGap = 0.15f;
    float restAfterClick = 0.4f;  // seconds after a menu click (screens fade)
    float giveUpHolding = 3.0f;   // a held shape with no hole for this long is thrown away
    float stuckPanel = 4.0f;      // a full panel with nothing to drop for this long: throw one away
};

class Autoplayer {
public:
    // modeAction: the main-menu action that starts a game ("procClassicGame", "procTransformerGame").
    explicit Autoplayer(std::string modeAction = "procClassicGame", AutoplayPace pace = {});

    void Frame(const AutoplayView& view, std::vector<InputEvent>& out);

    int Placements() const { return placements_; }
    int Discards() const { return discards_; }
    int Transforms() const { return transforms_; }

private:
    enum class Step { Think, ToPanel, AfterTake, ToCell, AfterDrop, Rest, KeyUp, MenuClick, MenuRelease };

    void PlayFrame(const AutoplayView& view, std::vector<InputEvent>& out);
    void MenuFrame(const AutoplayView& view, std::vector<InputEvent>& out);
    void Think(const AutoplayView& view, std::vector<InputEvent>& out);
    // Moves the pointer toward the target (screen fractions); true once it is on the target's pixel.
    bool Glide(const AutoplayView& view, float fx, float fy, std::vector<InputEvent>& out);
    void RestFor(float seconds);
    void PressSpace(std::vector<InputEvent>& out);
    std::string WantedAction(const AutoplayView& view) const;

    std::string modeAction_;
    AutoplayPace pace_;
    ReachLimits limits_;
    Step step_ = Step::Think;
    float rest_ = 0.0f;
    float waited_ = 0.0f;
    int panelIndex_ = -1;
    ShapeItem panelShape_{};
    int cellIndex_ = -1;
    bool rightDown_ = false;
    float sinceRightClick_ = 0.0f;
    float cursorX_ = -1.0f;  // the pointer as the bot moves it, in pixels (fractional)
    float cursorY_ = -1.0f;
    std::string menuAction_;
    int lastState_ = -1;
    int placements_ = 0;
    int discards_ = 0;
    int transforms_ = 0;
};

}  // namespace tamblor
