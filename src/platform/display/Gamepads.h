#pragma once
#include <SDL2/SDL.h>

#include <map>
#include <vector>

namespace tamblor {

// One change of a game-controller key: a button or a stick direction (virtual-key code, Message.h).
struct PadKey {
    int virtualKey = 0;
    bool down = false;

    bool operator==(const PadKey&) const = default;
};

// The game controllers that are plugged in: each is opened when SDL reports it (at start and when it
// is plugged in later) and closed when it is pulled out. Their buttons and their left stick reach the
// game as keys: A, B, X, Y, the d-pad, Start and Back, and the stick as four direction keys that go
// down past a dead zone and up again when the stick comes back toward the middle.
class Gamepads {
public:
    Gamepads() = default;
    Gamepads(const Gamepads&) = delete;
    Gamepads& operator=(const Gamepads&) = delete;
    ~Gamepads();

    // Handles a controller event: opens or closes a controller, or appends the keys it changes.
    // False for every other kind of event.
    bool Translate(const SDL_Event& event, std::vector<PadKey>& out);

    void CloseAll();
    int OpenCount() const { return static_cast<int>(open_.size()); }

    // How far the stick must lean to press a direction, and how far back to let it go.
    static constexpr int kPressAxis = 16000;
    static constexpr int kReleaseAxis = 8000;

private:
    struct Stick {
        int x = 0;  // -1, 0, +1: the direction held on each axis
        int y = 0;
    };
    void Open(int deviceIndex);
    void Close(SDL_JoystickID id, std::vector<PadKey>& out);
    static void MoveAxis(int value, int& held, int negativeKey, int positiveKey, std::vector<PadKey>& out);

    std::map<SDL_JoystickID, SDL_GameController*> open_;
    std::map<SDL_JoystickID, Stick> sticks_;
};

// The virtual key of a controller button, or 0 for buttons the game does not use.
int VirtualKeyFromPadButton(int button);

}  // namespace tamblor
