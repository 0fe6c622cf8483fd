#include <gtest/gtest.h>

#include "platform/InputState.h"
#include "platform/display/EventTranslator.h"
#include "platform/display/Letterbox.h"

namespace tamblor {

namespace {

SDL_Event Key(uint32_t type, SDL_Keycode key, uint16_t mod = 0, uint8_t repeat = 0) {
    SDL_Event e{};
    e.type = type;
    e.key.keysym.sym = key;
    e.key.keysym.mod = mod;
    e.key.repeat = repeat;
    return e;
}

SDL_Event Button(uint32_t type, uint8_t button, int x, int y) {
    SDL_Event e{};
    e.type = type;
    e.button.button = button;
    e.button.x = x;
    e.button.y = y;
    return e;
}

SDL_Event Window(uint8_t event) {
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.event = event;
    return e;
}

}  // namespace

TEST(EventTranslator, MouseMessagesCarryLogicalPositionsAndHeldButtons) {
    InputState input;
    Letterbox box;
    box.windowWidth = box.drawableWidth = 1920;
    box.windowHeight = box.drawableHeight = 1080;
    box.Update();
    EventTranslator translator(input, box);
    std::vector<Message> out;

    SDL_Event motion{};
    motion.type = SDL_MOUSEMOTION;
    motion.motion.x = 960;
    motion.motion.y = 540;
    translator.Translate(motion, out, nullptr);
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].message, WM_MOUSEMOVE);
    EXPECT_EQ(out[0].x, 400);
    EXPECT_EQ(out[0].y, 300);
    EXPECT_EQ(MouseX(out[0].lParam), 400);
    EXPECT_EQ(input.CursorX(), 400);

    translator.Translate(Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 240, 0), out, nullptr);
    EXPECT_EQ(out.back().message, WM_LBUTTONDOWN);
    EXPECT_EQ(out.back().x, 0);
    EXPECT_TRUE(input.IsKeyDown(VK_LBUTTON));
    translator.Translate(Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 240, 0), out, nullptr);
    EXPECT_EQ(out.back().message, WM_RBUTTONDOWN);
    EXPECT_TRUE(input.IsKeyDown(VK_RBUTTON));
    translator.Translate(Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 240, 0), out, nullptr);
    EXPECT_EQ(out.back().message, WM_LBUTTONUP);
    EXPECT_FALSE(input.IsKeyDown(VK_LBUTTON));
    size_t before = out.size();
    translator.Translate(Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_MIDDLE, 240, 0), out, nullptr);
    EXPECT_EQ(out.size(), before);

    // Focus loss forgets everything held (its release would never be reported).
    translator.Translate(Window(SDL_WINDOWEVENT_FOCUS_LOST), out, nullptr);
    EXPECT_EQ(out.back().message, WM_KILLFOCUS);
    EXPECT_FALSE(input.IsKeyDown(VK_RBUTTON));
}

TEST(EventTranslator, KeysRepeatsTextAndWindowEvents) {
    InputState input;
    Letterbox box;
    box.Update();
    EventTranslator translator(input, box);
    std::vector<Message> out;

    translator.Translate(Key(SDL_KEYDOWN, SDLK_F1), out, nullptr);
    translator.Translate(Key(SDL_KEYDOWN, SDLK_F1, 0, 1), out, nullptr);  // auto-repeat: another key down
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[0].message, WM_KEYDOWN);
    EXPECT_EQ(out[0].wParam, static_cast<uintptr_t>(VK_F1));
    EXPECT_EQ(out[0].lParam & (intptr_t{1} << 30), 0);
    EXPECT_NE(out[1].lParam & (intptr_t{1} << 30), 0);
    EXPECT_TRUE(input.IsKeyDown(VK_F1));
    translator.Translate(Key(SDL_KEYUP, SDLK_F1), out, nullptr);
    EXPECT_EQ(out.back().message, WM_KEYUP);
    EXPECT_FALSE(input.IsKeyDown(VK_F1));

    // Keypad plus and minus are the editor keys whatever NumLock says; Enter on the keypad is Enter.
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_KP_PLUS), VK_ADD);
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_KP_MINUS), VK_SUBTRACT);
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_KP_ENTER), VK_RETURN);
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_F12), VK_F12);
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_q), 'Q');

    // With Alt held: a system key (Alt+Enter switches the window), never a game key.
    out.clear();
    translator.Translate(Key(SDL_KEYDOWN, SDLK_RETURN, KMOD_LALT), out, nullptr);
    translator.Translate(Key(SDL_KEYUP, SDLK_RETURN, KMOD_RALT), out, nullptr);
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[0].message, WM_SYSKEYDOWN);
    EXPECT_EQ(out[0].wParam, static_cast<uintptr_t>(VK_RETURN));
    EXPECT_NE(out[0].lParam & (intptr_t{1} << 29), 0);
    EXPECT_EQ(out[1].message, WM_SYSKEYUP);
    out.clear();

    SDL_Event text{};
    text.type = SDL_TEXTINPUT;
    std::snprintf(text.text.text, sizeof text.text.text, "%s",
                  "A\xc3\xa9\xe2\x82\xac\xe4\xb8\xad");  // A é € 中
    translator.Translate(text, out, nullptr);
    ASSERT_EQ(out.size(), 3u);
    EXPECT_EQ(out[0].message, WM_CHAR);
    EXPECT_EQ(out[0].wParam, static_cast<uintptr_t>('A'));
    EXPECT_EQ(out[1].wParam, 0xE9u);
    EXPECT_EQ(out[2].wParam, 0x80u);
    EXPECT_EQ(TextToCodePage("\t\x01ok\xff"), "ok");  // control characters and broken bytes dropped

    out.clear();
    WindowEventEffects effects;
    translator.Translate(Window(SDL_WINDOWEVENT_MINIMIZED), out, &effects);
    translator.Translate(Window(SDL_WINDOWEVENT_RESTORED), out, &effects);
    translator.Translate(Window(SDL_WINDOWEVENT_FOCUS_GAINED), out, &effects);
    translator.Translate(Window(SDL_WINDOWEVENT_CLOSE), out, &effects);
    ASSERT_EQ(out.size(), 4u);
    EXPECT_EQ(out[0].message, WM_SIZE);
    EXPECT_EQ(out[0].wParam, SIZE_MINIMIZED);
    EXPECT_EQ(out[1].wParam, SIZE_RESTORED);
    EXPECT_EQ(out[2].message, WM_SETFOCUS);
    EXPECT_EQ(out[3].message, WM_CLOSE);
    EXPECT_FALSE(effects.resetDevice);
    translator.Translate(Window(SDL_WINDOWEVENT_SIZE_CHANGED), out, &effects);
    EXPECT_TRUE(effects.resetDevice);
}

}  // namespace tamblor
