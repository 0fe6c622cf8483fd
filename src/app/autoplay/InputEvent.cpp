#include "app/autoplay/InputEvent.h"

#include <charconv>
#include <cstdio>

#include "platform/InputState.h"

namespace tamblor {

namespace {

constexpr int kPointerLimit = 16384;

bool ReadInt(std::string_view& text, int& value) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    const char* begin = text.data();
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(begin, end, value);
    if (ec != std::errc() || ptr == begin)
        return false;
    text.remove_prefix(static_cast<size_t>(ptr - begin));
    return true;
}

bool OnlySpaces(std::string_view text) {
    return text.find_first_not_of(' ') == std::string_view::npos;
}

}  // namespace

Message ApplyInputEvent(InputState& input, const InputEvent& event) {
    // Mouse buttons, as the window layer reports them, take the pointer from the keys.
    if (event.kind == InputEvent::LeftDown || event.kind == InputEvent::LeftUp ||
        event.kind == InputEvent::RightDown || event.kind == InputEvent::RightUp) {
        input.SetKeysSteerPointer(false);
    }
    switch (event.kind) {
        case InputEvent::Move:
            input.MovePointer(event.x, event.y);
            return MouseMessage(WM_MOUSEMOVE, event.x, event.y);
        case InputEvent::LeftDown:
            input.SetKeyDown(VK_LBUTTON, true);
            return MouseMessage(WM_LBUTTONDOWN, input.CursorX(), input.CursorY());
        case InputEvent::LeftUp:
            input.SetKeyDown(VK_LBUTTON, false);
            return MouseMessage(WM_LBUTTONUP, input.CursorX(), input.CursorY());
        case InputEvent::RightDown:
            input.SetKeyDown(VK_RBUTTON, true);
            return MouseMessage(WM_RBUTTONDOWN, input.CursorX(), input.CursorY());
        case InputEvent::RightUp:
            input.SetKeyDown(VK_RBUTTON, false);
            return MouseMessage(WM_RBUTTONUP, input.CursorX(), input.CursorY());
        case InputEvent::KeyDown:
            input.SetKeyDown(event.key, true);
            return KeyMessage(WM_KEYDOWN, static_cast<uintptr_t>(event.key));
        case InputEvent::KeyUp:
            input.SetKeyDown(event.key, false);
            return KeyMessage(WM_KEYUP, static_cast<uintptr_t>(event.key));
        case InputEvent::Char:
            return KeyMessage(WM_CHAR, static_cast<uintptr_t>(event.key));
    }
    return Message{};
}

std::string FormatInputEvent(const InputEvent& event) {
    char text[48];
    switch (event.kind) {
        case InputEvent::Move:
            std::snprintf(text, sizeof text, "m %d %d", event.x, event.y);
            return text;
        case InputEvent::LeftDown:
            return "ld";
        case InputEvent::LeftUp:
            return "lu";
        case InputEvent::RightDown:
            return "rd";
        case InputEvent::RightUp:
            return "ru";
        case InputEvent::KeyDown:
            std::snprintf(text, sizeof text, "kd %d", event.key);
            return text;
        case InputEvent::KeyUp:
            std::snprintf(text, sizeof text, "ku %d", event.key);
            return text;
        case InputEvent::Char:
            std::snprintf(text, sizeof text, "ch %d", event.key);
            return text;
    }
    return "";
}

bool ParseInputEvent(std::string_view text, InputEvent& event) {
    size_t space = text.find(' ');
    std::string_view word = text.substr(0, space);
    std::string_view rest = space == std::string_view::npos ? std::string_view() : text.substr(space);
    InputEvent parsed;
    if (word == "m") {
        parsed.kind = InputEvent::Move;
        if (!ReadInt(rest, parsed.x) || !ReadInt(rest, parsed.y))
            return false;
        if (parsed.x < -kPointerLimit || parsed.x > kPointerLimit || parsed.y < -kPointerLimit ||
            parsed.y > kPointerLimit) {
            return false;
        }
    } else if (word == "ld" || word == "lu" || word == "rd" || word == "ru") {
        parsed.kind = word == "ld"   ? InputEvent::LeftDown
                      : word == "lu" ? InputEvent::LeftUp
                      : word == "rd" ? InputEvent::RightDown
                                     : InputEvent::RightUp;
    } else if (word == "kd" || word == "ku" || word == "ch") {
        parsed.kind = word == "kd"   ? InputEvent::KeyDown
                      : word == "ku" ? InputEvent::KeyUp
                                     : InputEvent::Char;
        if (!ReadInt(rest, parsed.key) || parsed.key < 1 || parsed.key > 255)
            return false;
    } else {
        return false;
    }
    if (!OnlySpaces(rest))
        return false;
    event = parsed;
    return true;
}

}  // namespace tamblor
