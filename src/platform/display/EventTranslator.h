#pragma once
#include <SDL2/SDL.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Message.h"
#include "platform/display/Gamepads.h"

namespace tamblor {

class InputState;
struct Letterbox;

// What a window event asks of the display framework besides the game's messages.
struct WindowEventEffects {
    bool resetDevice = false;  // size, display or drawable change: invalidate and restore
    bool quit = false;         // the window or the session asks to close
};

// Turns SDL events into the game's message records and keeps the held keys, buttons and the cursor
// position (in logical back-buffer pixels) of the InputState up to date. Game controllers are opened
// and closed as they come and go; their buttons and stick arrive as key messages. A real move or click
// of the mouse hands the pointer back to the mouse.
class EventTranslator {
public:
    EventTranslator(InputState& input, const Letterbox& letterbox) : input_(input), letterbox_(letterbox) {}

    // Appends the messages for one event to out.
    void Translate(const SDL_Event& event, std::vector<Message>& out, WindowEventEffects* effects);
    // Closes the open controllers (before the controller subsystem stops).
    void CloseGamepads() { gamepads_.CloseAll(); }
    int OpenGamepads() const { return gamepads_.OpenCount(); }

private:
    Message Record(uint32_t message, uintptr_t wParam, intptr_t lParam) const;
    void MoveCursor(int windowX, int windowY);
    void AppendKey(int virtualKey, bool down, bool repeat, bool alt, std::vector<Message>& out);

    InputState& input_;
    const Letterbox& letterbox_;
    Gamepads gamepads_;
    std::vector<PadKey> padKeys_;
};

// The game's virtual-key code for an SDL key, or 0 for keys the game has no code for.
int VirtualKeyFromSdl(SDL_Keycode key);
// Typed text (UTF-8) as the single-byte characters of the Western code page; characters outside it and
// control characters are dropped.
std::string TextToCodePage(const char* utf8);

}  // namespace tamblor
