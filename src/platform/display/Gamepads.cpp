#include "platform/display/Gamepads.h"

#include <cstdio>

#include "platform/Message.h"

namespace tamblor {

int VirtualKeyFromPadButton(int button) {
    switch (button) {
        case SDL_CONTROLLER_BUTTON_A:
            return VK_GAMEPAD_A;
        case SDL_CONTROLLER_BUTTON_B:
            return VK_GAMEPAD_B;
        case SDL_CONTROLLER_BUTTON_X:
            return VK_GAMEPAD_X;
        case SDL_CONTROLLER_BUTTON_Y:
            return VK_GAMEPAD_Y;
        case SDL_CONTROLLER_BUTTON_DPAD_UP:
            return VK_GAMEPAD_DPAD_UP;
        case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
            return VK_GAMEPAD_DPAD_DOWN;
        case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
            return VK_GAMEPAD_DPAD_LEFT;
        case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
            return VK_GAMEPAD_DPAD_RIGHT;
        case SDL_CONTROLLER_BUTTON_START:
            return VK_GAMEPAD_MENU;
        case SDL_CONTROLLER_BUTTON_BACK:
            return VK_GAMEPAD_VIEW;
        default:
            return 0;
    }
}

Gamepads::~Gamepads() {
    CloseAll();
}

void Gamepads::CloseAll() {
    for (auto& [id, controller] : open_) SDL_GameControllerClose(controller);
    open_.clear();
    sticks_.clear();
}

void Gamepads::Open(int deviceIndex) {
    SDL_GameController* controller = SDL_GameControllerOpen(deviceIndex);
    if (!controller) {
        std::fprintf(stderr, "Tamblor: a game controller could not be opened: %s\n", SDL_GetError());
        return;
    }
    SDL_JoystickID id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller));
    if (open_.count(id)) {
        // Reported twice (at start and as an arrival): SDL counts the opens, so give this one back.
        SDL_GameControllerClose(controller);
        return;
    }
    open_[id] = controller;
}

void Gamepads::Close(SDL_JoystickID id, std::vector<PadKey>& out) {
    // A stick held over when the pad was pulled out must not stay pressed.
    auto stick = sticks_.find(id);
    if (stick != sticks_.end()) {
        MoveAxis(0, stick->second.x, VK_GAMEPAD_LEFT_THUMBSTICK_LEFT, VK_GAMEPAD_LEFT_THUMBSTICK_RIGHT, out);
        MoveAxis(0, stick->second.y, VK_GAMEPAD_LEFT_THUMBSTICK_UP, VK_GAMEPAD_LEFT_THUMBSTICK_DOWN, out);
        sticks_.erase(stick);
    }
    auto it = open_.find(id);
    if (it == open_.end())
        return;
    SDL_GameControllerClose(it->second);
    open_.erase(it);
}

void Gamepads::MoveAxis(int value, int& held, int negativeKey, int positiveKey, std::vector<PadKey>& out) {
    int wanted = held;
    if (value <= -kPressAxis)
        wanted = -1;
    else if (value >= kPressAxis)
        wanted = 1;
    else if (value > -kReleaseAxis && value < kReleaseAxis)
        wanted = 0;
    else if ((held < 0 && value > 0) || (held > 0 && value < 0))
        wanted = 0;  // swung through the middle within one report
    if (wanted == held)
        return;
    if (held != 0)
        out.push_back({held < 0 ? negativeKey : positiveKey, false});
    if (wanted != 0)
        out.push_back({wanted < 0 ? negativeKey : positiveKey, true});
    held = wanted;
}

bool Gamepads::Translate(const SDL_Event& event, std::vector<PadKey>& out) {
    switch (event.type) {
        case SDL_CONTROLLERDEVICEADDED:
            Open(event.cdevice.which);
            return true;
        case SDL_CONTROLLERDEVICEREMOVED:
            Close(event.cdevice.which, out);
            return true;
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP: {
            int vk = VirtualKeyFromPadButton(event.cbutton.button);
            if (vk != 0)
                out.push_back({vk, event.type == SDL_CONTROLLERBUTTONDOWN});
            return true;
        }
        case SDL_CONTROLLERAXISMOTION: {
            Stick& stick = sticks_[event.caxis.which];
            if (event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTX) {
                MoveAxis(event.caxis.value, stick.x, VK_GAMEPAD_LEFT_THUMBSTICK_LEFT,
                         VK_GAMEPAD_LEFT_THUMBSTICK_RIGHT, out);
            } else if (event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTY) {
                MoveAxis(event.caxis.value, stick.y, VK_GAMEPAD_LEFT_THUMBSTICK_UP,
                         VK_GAMEPAD_LEFT_THUMBSTICK_DOWN, out);
            }
            return true;
        }
        default:
            return false;
    }
}

}  // namespace tamblor
