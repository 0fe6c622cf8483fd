#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "platform/Message.h"

namespace tamblor {

class InputState;

// One thing a player does with the mouse or the keyboard, in the form the window layer reports it:
// the pointer moves to a client pixel, a button or key goes down or up, a character is typed.
struct InputEvent {
    enum Kind { Move, LeftDown, LeftUp, RightDown, RightUp, KeyDown, KeyUp, Char };
    Kind kind = Move;
    int x = 0;  // Move: client pixels
    int y = 0;
    int key = 0;  // KeyDown / KeyUp: virtual key; Char: the character code (1..255)

    static InputEvent MoveTo(int x, int y) { return {Move, x, y, 0}; }
    static InputEvent Button(Kind kind) { return {kind, 0, 0, 0}; }
    static InputEvent Key(Kind kind, int key) { return {kind, 0, 0, key}; }

    bool operator==(const InputEvent&) const = default;
};

// Applies the event to the held state as the window layer does (cursor, held buttons and keys) and
// returns the window message the game receives for it.
Message ApplyInputEvent(InputState& input, const InputEvent& event);

// One event as a short line of text ("m 400 300", "ld", "kd 32", "ch 65"), and back. Parsing refuses
// unknown words, missing numbers, keys outside 1..255 and pointers far outside any screen.
std::string FormatInputEvent(const InputEvent& event);
bool ParseInputEvent(std::string_view text, InputEvent& event);

// Where the input of a frame comes from when no person is at the controls: the bot, or a recording.
class InputSource {
public:
    virtual ~InputSource() = default;
    // Appends the events to deliver before the next frame runs.
    virtual void EventsForFrame(std::vector<InputEvent>& out) = 0;
};

}  // namespace tamblor
