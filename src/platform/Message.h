#pragma once
#include <cstdint>

namespace tamblor {

// The game's own window-message record, with the Windows message numbers and virtual-key codes the
// game logic is written against. The platform layer translates its events into these.
struct Message {
    void* window = nullptr;
    uint32_t message = 0;
    uintptr_t wParam = 0;
    intptr_t lParam = 0;
    uint32_t time = 0;
    int x = 0;  // cursor position in client pixels at the time of the message
    int y = 0;
};

// Window messages.
constexpr uint32_t WM_SIZE = 0x0005;
constexpr uint32_t WM_SETFOCUS = 0x0007;
constexpr uint32_t WM_KILLFOCUS = 0x0008;
constexpr uint32_t WM_PAINT = 0x000F;
constexpr uint32_t WM_CLOSE = 0x0010;
constexpr uint32_t WM_QUIT = 0x0012;
constexpr uint32_t WM_KEYDOWN = 0x0100;
constexpr uint32_t WM_KEYUP = 0x0101;
constexpr uint32_t WM_CHAR = 0x0102;
// Keys pressed while Alt is held.
constexpr uint32_t WM_SYSKEYDOWN = 0x0104;
constexpr uint32_t WM_SYSKEYUP = 0x0105;
constexpr uint32_t WM_COMMAND = 0x0111;
constexpr uint32_t WM_MOUSEMOVE = 0x0200;
constexpr uint32_t WM_LBUTTONDOWN = 0x0201;
constexpr uint32_t WM_LBUTTONUP = 0x0202;
constexpr uint32_t WM_RBUTTONDOWN = 0x0204;
constexpr uint32_t WM_RBUTTONUP = 0x0205;

// WM_SIZE wParam values.
constexpr uintptr_t SIZE_RESTORED = 0;
constexpr uintptr_t SIZE_MINIMIZED = 1;
constexpr uintptr_t SIZE_MAXHIDE = 4;

// Virtual keys.
constexpr int VK_LBUTTON = 0x01;
constexpr int VK_RBUTTON = 0x02;
constexpr int VK_BACK = 0x08;
constexpr int VK_TAB = 0x09;
constexpr int VK_RETURN = 0x0D;
constexpr int VK_ESCAPE = 0x1B;
constexpr int VK_SPACE = 0x20;
constexpr int VK_LEFT = 0x25;
constexpr int VK_UP = 0x26;
constexpr int VK_RIGHT = 0x27;
constexpr int VK_DOWN = 0x28;
constexpr int VK_ADD = 0x6B;
constexpr int VK_SUBTRACT = 0x6D;
constexpr int VK_F1 = 0x70;
constexpr int VK_F2 = 0x71;
constexpr int VK_F7 = 0x76;
constexpr int VK_F8 = 0x77;
constexpr int VK_F9 = 0x78;
constexpr int VK_F11 = 0x7A;
constexpr int VK_F12 = 0x7B;

// Game-controller buttons and the left stick pushed past its dead zone, reported as keys.
constexpr int VK_GAMEPAD_A = 0xC3;
constexpr int VK_GAMEPAD_B = 0xC4;
constexpr int VK_GAMEPAD_X = 0xC5;
constexpr int VK_GAMEPAD_Y = 0xC6;
constexpr int VK_GAMEPAD_DPAD_UP = 0xCB;
constexpr int VK_GAMEPAD_DPAD_DOWN = 0xCC;
constexpr int VK_GAMEPAD_DPAD_LEFT = 0xCD;
constexpr int VK_GAMEPAD_DPAD_RIGHT = 0xCE;
constexpr int VK_GAMEPAD_MENU = 0xCF;  // Start
constexpr int VK_GAMEPAD_VIEW = 0xD0;  // Back / Select
constexpr int VK_GAMEPAD_LEFT_THUMBSTICK_UP = 0xD3;
constexpr int VK_GAMEPAD_LEFT_THUMBSTICK_DOWN = 0xD4;
constexpr int VK_GAMEPAD_LEFT_THUMBSTICK_RIGHT = 0xD5;
constexpr int VK_GAMEPAD_LEFT_THUMBSTICK_LEFT = 0xD6;

// Mouse messages carry the client position in lParam as two 16-bit halves.
constexpr intptr_t MakeMouseLParam(int x, int y) {
    return static_cast<intptr_t>((static_cast<uint32_t>(y & 0xFFFF) << 16) |
                                 static_cast<uint32_t>(x & 0xFFFF));
}
constexpr int MouseX(intptr_t lParam) {
    return static_cast<int16_t>(lParam & 0xFFFF);
}
constexpr int MouseY(intptr_t lParam) {
    return static_cast<int16_t>((lParam >> 16) & 0xFFFF);
}

inline Message MouseMessage(uint32_t message, int x, int y, uint32_t time = 0) {
    Message m;
    m.message = message;
    m.lParam = MakeMouseLParam(x, y);
    m.time = time;
    m.x = x;
    m.y = y;
    return m;
}

inline Message KeyMessage(uint32_t message, uintptr_t key, uint32_t time = 0) {
    Message m;
    m.message = message;
    m.wParam = key;
    m.time = time;
    return m;
}

}  // namespace tamblor
