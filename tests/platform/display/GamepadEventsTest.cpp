// Game-controller events and the pointer's owner, through the event translator with synthetic SDL
// events, and a controller plugged in and pulled out through SDL's virtual joystick.
#include <gtest/gtest.h>

#include <vector>

#include "platform/InputState.h"
#include "platform/display/EventTranslator.h"
#include "platform/display/Letterbox.h"

namespace tamblor {

namespace {

SDL_Event PadButton(bool down, uint8_t button, SDL_JoystickID which = 7) {
    SDL_Event e{};
    e.type = down ? SDL_CONTROLLERBUTTONDOWN : SDL_CONTROLLERBUTTONUP;
    e.cbutton.which = which;
    e.cbutton.button = button;
    return e;
}

SDL_Event PadAxis(uint8_t axis, int value, SDL_JoystickID which = 7) {
    SDL_Event e{};
    e.type = SDL_CONTROLLERAXISMOTION;
    e.caxis.which = which;
    e.caxis.axis = axis;
    e.caxis.value = static_cast<int16_t>(value);
    return e;
}

SDL_Event Motion(int x, int y) {
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.x = x;
    e.motion.y = y;
    return e;
}

struct Rig {
    Rig() {
        box.windowWidth = box.drawableWidth = 800;
        box.windowHeight = box.drawableHeight = 600;
        box.Update();
    }
    // The key messages of one event, as "+vk" for down and "-vk" for up.
    std::vector<int> Keys(const SDL_Event& event) {
        std::vector<Message> out;
        translator.Translate(event, out, nullptr);
        std::vector<int> keys;
        for (const Message& m : out) {
            EXPECT_TRUE(m.message == WM_KEYDOWN || m.message == WM_KEYUP);
            keys.push_back(m.message == WM_KEYDOWN ? static_cast<int>(m.wParam)
                                                   : -static_cast<int>(m.wParam));
        }
        return keys;
    }
    InputState input;
    Letterbox box;
    EventTranslator translator{input, box};
};

}  // namespace

TEST(GamepadEvents, ButtonsBecomeKeysWithHeldState) {
    struct Case {
        uint8_t button;
        int key;
    };
    const Case cases[] = {
        {SDL_CONTROLLER_BUTTON_A, VK_GAMEPAD_A},
        {SDL_CONTROLLER_BUTTON_B, VK_GAMEPAD_B},
        {SDL_CONTROLLER_BUTTON_X, VK_GAMEPAD_X},
        {SDL_CONTROLLER_BUTTON_Y, VK_GAMEPAD_Y},
        {SDL_CONTROLLER_BUTTON_DPAD_UP, VK_GAMEPAD_DPAD_UP},
        {SDL_CONTROLLER_BUTTON_DPAD_DOWN, VK_GAMEPAD_DPAD_DOWN},
        {SDL_CONTROLLER_BUTTON_DPAD_LEFT, VK_GAMEPAD_DPAD_LEFT},
        {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, VK_GAMEPAD_DPAD_RIGHT},
        {SDL_CONTROLLER_BUTTON_START, VK_GAMEPAD_MENU},
        {SDL_CONTROLLER_BUTTON_BACK, VK_GAMEPAD_VIEW},
    };
    Rig rig;
    for (const Case& c : cases) {
        EXPECT_EQ(rig.Keys(PadButton(true, c.button)), std::vector<int>{c.key}) << int(c.button);
        EXPECT_TRUE(rig.input.IsKeyDown(c.key));
        EXPECT_EQ(rig.Keys(PadButton(false, c.button)), std::vector<int>{-c.key});
        EXPECT_FALSE(rig.input.IsKeyDown(c.key));
    }
    // Buttons the game does not use, and the right stick, say nothing.
    EXPECT_TRUE(rig.Keys(PadButton(true, SDL_CONTROLLER_BUTTON_GUIDE)).empty());
    EXPECT_TRUE(rig.Keys(PadAxis(SDL_CONTROLLER_AXIS_RIGHTX, 32767)).empty());
}

TEST(GamepadEvents, LeftStickPressesDirectionsPastItsDeadZone) {
    const int kLeft = VK_GAMEPAD_LEFT_THUMBSTICK_LEFT;
    const int kRight = VK_GAMEPAD_LEFT_THUMBSTICK_RIGHT;
    const int kUp = VK_GAMEPAD_LEFT_THUMBSTICK_UP;
    struct Step {
        uint8_t axis;
        int value;
        std::vector<int> keys;
    };
    const Step steps[] = {
        {SDL_CONTROLLER_AXIS_LEFTX, 6000, {}},                 // inside the dead zone
        {SDL_CONTROLLER_AXIS_LEFTX, 20000, {kRight}},          // leaning right
        {SDL_CONTROLLER_AXIS_LEFTX, 30000, {}},                // further: still the one press
        {SDL_CONTROLLER_AXIS_LEFTX, 12000, {}},                // coming back, but not far enough to let go
        {SDL_CONTROLLER_AXIS_LEFTX, 4000, {-kRight}},          // back near the middle
        {SDL_CONTROLLER_AXIS_LEFTX, -20000, {kLeft}},          // left
        {SDL_CONTROLLER_AXIS_LEFTX, 20000, {-kLeft, kRight}},  // straight across in one report
        {SDL_CONTROLLER_AXIS_LEFTX, -12000, {-kRight}},        // swung back past the middle
        {SDL_CONTROLLER_AXIS_LEFTY, -32768, {kUp}},            // up is negative
    };
    Rig rig;
    for (const Step& s : steps) EXPECT_EQ(rig.Keys(PadAxis(s.axis, s.value)), s.keys) << s.value;
    EXPECT_TRUE(rig.input.IsKeyDown(kUp));

    // Pulled out while the stick leans: the direction lets go.
    SDL_Event removed{};
    removed.type = SDL_CONTROLLERDEVICEREMOVED;
    removed.cdevice.which = 7;
    EXPECT_EQ(rig.Keys(removed), std::vector<int>{-kUp});
    EXPECT_FALSE(rig.input.IsKeyDown(kUp));
}

TEST(GamepadEvents, OnlyARealMouseMoveOrClickTakesThePointerFromTheKeys) {
    Rig rig;
    std::vector<Message> out;
    rig.translator.Translate(Motion(400, 300), out, nullptr);
    rig.input.SetKeysSteerPointer(true);
    // The motion SDL reports after the game warped the pointer where it already is.
    rig.translator.Translate(Motion(401, 300), out, nullptr);
    EXPECT_TRUE(rig.input.KeysSteerPointer());
    // Keys and the pad leave it with the keys.
    rig.translator.Translate(PadButton(true, SDL_CONTROLLER_BUTTON_A), out, nullptr);
    EXPECT_TRUE(rig.input.KeysSteerPointer());
    rig.translator.Translate(Motion(420, 300), out, nullptr);
    EXPECT_FALSE(rig.input.KeysSteerPointer());

    rig.input.SetKeysSteerPointer(true);
    SDL_Event click{};
    click.type = SDL_MOUSEBUTTONDOWN;
    click.button.button = SDL_BUTTON_LEFT;
    click.button.x = 420;
    click.button.y = 300;
    rig.translator.Translate(click, out, nullptr);
    EXPECT_FALSE(rig.input.KeysSteerPointer());
}

TEST(GamepadEvents, AControllerPluggedInOpensAndPulledOutCloses) {
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER), 0) << SDL_GetError();
    Rig rig;
    const int device = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX,
                                                 SDL_CONTROLLER_BUTTON_MAX, 0);
    ASSERT_GE(device, 0) << SDL_GetError();
    std::vector<Message> out;
    auto pump = [&] {
        SDL_GameControllerUpdate();
        SDL_Event event;
        while (SDL_PollEvent(&event)) rig.translator.Translate(event, out, nullptr);
    };
    pump();
    EXPECT_EQ(rig.translator.OpenGamepads(), 1);

    SDL_Joystick* joystick = SDL_JoystickFromInstanceID(SDL_JoystickGetDeviceInstanceID(device));
    ASSERT_NE(joystick, nullptr);
    out.clear();
    SDL_JoystickSetVirtualButton(joystick, SDL_CONTROLLER_BUTTON_A, SDL_PRESSED);
    pump();
    ASSERT_FALSE(out.empty());
    EXPECT_EQ(out.back().message, WM_KEYDOWN);
    EXPECT_EQ(out.back().wParam, static_cast<uintptr_t>(VK_GAMEPAD_A));

    SDL_JoystickDetachVirtual(device);
    pump();
    EXPECT_EQ(rig.translator.OpenGamepads(), 0);
    SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

}  // namespace tamblor
