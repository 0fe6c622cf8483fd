#pragma once
#include <array>
#include <cstdint>
#include <functional>

namespace tamblor {

// What the game asks of the keyboard and mouse at any moment: which keys and buttons are held (by
// virtual-key code, see Message.h) and where the cursor is, in client pixels of the logical back
// buffer. The platform layer feeds it from window events; tests script it directly.
class InputState {
public:
    bool IsKeyDown(int virtualKey) const {
        return virtualKey >= 0 && virtualKey < kKeyCount && held_[static_cast<size_t>(virtualKey)];
    }
    void SetKeyDown(int virtualKey, bool down) {
        if (virtualKey >= 0 && virtualKey < kKeyCount) held_[static_cast<size_t>(virtualKey)] = down;
    }
    // Focus loss: releases that happen outside the window are never reported, so forget them all.
    void ReleaseAll() { held_.fill(false); }

    int CursorX() const { return cursorX_; }
    int CursorY() const { return cursorY_; }
    // The pointer moved (reported by the platform or a script).
    void MoveCursor(int x, int y) {
        cursorX_ = x;
        cursorY_ = y;
    }
    // The mouse moved the pointer (or a recording of it): past a pixel of jitter, which is what the
    // report of the program's own warp amounts to, it takes the pointer from the keys.
    void MovePointer(int x, int y) {
        if (x - cursorX_ > 1 || cursorX_ - x > 1 || y - cursorY_ > 1 || cursorY_ - y > 1)
            keysSteerPointer_ = false;
        MoveCursor(x, y);
    }
    // The program moves the pointer itself; the platform may also warp the real one.
    void SetCursorPos(int x, int y) {
        MoveCursor(x, y);
        ++cursorSetCount_;
        if (onSetCursorPos) onSetCursorPos(x, y);
    }
    int CursorSetCount() const { return cursorSetCount_; }

    // Who steers the pointer: the mouse (the default), or the keys and the game pad, whose cursor the
    // game then draws. The platform hands it back to the mouse when the real mouse moves or clicks.
    bool KeysSteerPointer() const { return keysSteerPointer_; }
    void SetKeysSteerPointer(bool keys) { keysSteerPointer_ = keys; }

    std::function<void(int, int)> onSetCursorPos;

private:
    static constexpr int kKeyCount = 256;
    std::array<bool, kKeyCount> held_{};
    int cursorX_ = 0;
    int cursorY_ = 0;
    int cursorSetCount_ = 0;
    bool keysSteerPointer_ = false;
};

}  // namespace tamblor
