#include "app/KeyPlay.h"

#include <cmath>
#include <string>
#include <utility>

#include "app/MenuActions.h"
#include "app/ScreenSet.h"
#include "core/AppState.h"
#include "game/Game.h"
#include "platform/InputState.h"
#include "platform/Message.h"
#include "screens/FocusOrder.h"
#include "screens/HighScores.h"

namespace tamblor {

namespace {

std::pair<int, int> ClientSize(const Game& game) {
    std::pair<int, int> size =
        game.hooks.clientSize ? game.hooks.clientSize() : std::pair<int, int>(800, 600);
    if (size.first <= 0 || size.second <= 0)
        return {800, 600};
    return size;
}

bool IsArrow(int key) {
    return key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN;
}

}  // namespace

int KeyPlay::KeyboardKey(int virtualKey, int state) {
    switch (virtualKey) {
        case VK_GAMEPAD_A:
            return VK_RETURN;
        case VK_GAMEPAD_B:
            return VK_ESCAPE;
        case VK_GAMEPAD_X:
            return VK_TAB;
        case VK_GAMEPAD_Y:
            return VK_SPACE;
        case VK_GAMEPAD_DPAD_UP:
        case VK_GAMEPAD_LEFT_THUMBSTICK_UP:
            return VK_UP;
        case VK_GAMEPAD_DPAD_DOWN:
        case VK_GAMEPAD_LEFT_THUMBSTICK_DOWN:
            return VK_DOWN;
        case VK_GAMEPAD_DPAD_LEFT:
        case VK_GAMEPAD_LEFT_THUMBSTICK_LEFT:
            return VK_LEFT;
        case VK_GAMEPAD_DPAD_RIGHT:
        case VK_GAMEPAD_LEFT_THUMBSTICK_RIGHT:
            return VK_RIGHT;
        case VK_GAMEPAD_MENU:
            return state == Playing || state == Paused ? VK_ESCAPE : VK_RETURN;
        default:
            return virtualKey;
    }
}

int KeyPlay::FocusIndex() const {
    return focusState_ == states_.State() ? focus_ : -1;
}

void KeyPlay::Steer() {
    input_.SetKeysSteerPointer(true);
}

void KeyPlay::PointAt(float x, float y, std::vector<InputEvent>& out) const {
    auto [w, h] = ClientSize(game_);
    const int px = static_cast<int>(std::lround(x * static_cast<float>(w)));
    const int py = static_cast<int>(std::lround(y * static_cast<float>(h)));
    if (px != input_.CursorX() || py != input_.CursorY())
        out.push_back(InputEvent::MoveTo(px, py));
}

void KeyPlay::PointAtFocus(std::vector<InputEvent>& out) {
    Screen* screen = screens_.ForState(states_.State());
    if (!screen)
        return;
    std::vector<FocusItem> items = FocusOrder(*screen);
    if (focus_ < 0 || focus_ >= static_cast<int>(items.size()))
        return;
    const FocusItem& item = items[static_cast<size_t>(focus_)];
    PointAt(item.x, item.y, out);
}

void KeyPlay::FollowCursor(std::vector<InputEvent>& out) {
    float x = 0.0f, y = 0.0f;
    if (cursor_.Follow(game_, x, y))
        PointAt(x, y, out);
}

void KeyPlay::Click(InputEvent::Kind down, std::vector<InputEvent>& out) {
    // One click at a time: a second one before the first has let go would not be seen as a press.
    if (release_ != InputEvent::Move)
        return;
    out.push_back(InputEvent::Button(down));
    release_ = down == InputEvent::LeftDown ? InputEvent::LeftUp : InputEvent::RightUp;
}

bool KeyPlay::KeyDown(int key, bool repeated, std::vector<InputEvent>& out) {
    const int state = states_.State();
    if (key == VK_ESCAPE && !(state == HighScoresState && highScores_.Entering())) {
        // A held Escape acts once: a repeat would leave the screen it just came to.
        if (!repeated)
            actions_.Perform(MenuActions::EscapeAction(state));
        return true;
    }
    if (state == Playing)
        return LevelKey(key, out);
    return MenuKey(key, out);
}

bool KeyPlay::LevelKey(int key, std::vector<InputEvent>& out) {
    if (key == VK_TAB) {
        // A right click where the pointer is: the held shape turns wherever it hangs.
        Click(InputEvent::RightDown, out);
        return true;
    }
    if (!IsArrow(key) && key != VK_RETURN)
        return false;
    auto [w, h] = ClientSize(game_);
    const float x = static_cast<float>(input_.CursorX()) / static_cast<float>(w);
    const float y = static_cast<float>(input_.CursorY()) / static_cast<float>(h);
    if (!input_.KeysSteerPointer()) {
        // The first key after the mouse only brings the cursor back, to the target nearest the pointer.
        Steer();
        cursor_.Reset();
        cursor_.Move(game_, LevelCursor::Down, x, y);
        FollowCursor(out);
        return true;
    }
    if (key == VK_RETURN) {
        FollowCursor(out);
        Click(InputEvent::LeftDown, out);
        return true;
    }
    const LevelCursor::Direction direction = key == VK_LEFT    ? LevelCursor::Left
                                             : key == VK_RIGHT ? LevelCursor::Right
                                             : key == VK_UP    ? LevelCursor::Up
                                                               : LevelCursor::Down;
    cursor_.Move(game_, direction, x, y);
    FollowCursor(out);
    return true;
}

bool KeyPlay::MenuKey(int key, std::vector<InputEvent>& out) {
    const int state = states_.State();
    // While a name is typed its keys belong to the name entry.
    if (state == HighScoresState && highScores_.Entering())
        return false;
    if (!IsArrow(key) && key != VK_RETURN)
        return false;
    Screen* screen = screens_.ForState(state);
    if (!screen)
        return false;
    std::vector<FocusItem> items = FocusOrder(*screen);
    if (items.empty())
        return false;
    const int count = static_cast<int>(items.size());
    const bool shown = input_.KeysSteerPointer() && FocusIndex() >= 0 && focus_ < count;
    Steer();
    if (!shown) {
        // The first key on a screen, or after the mouse, shows where the focus is.
        if (focusState_ != state || focus_ < 0 || focus_ >= count)
            focus_ = 0;
        focusState_ = state;
        PointAtFocus(out);
        return true;
    }
    const FocusItem& item = items[static_cast<size_t>(focus_)];
    if (key == VK_RETURN) {
        PointAtFocus(out);
        if (item.kind == FocusItem::Button)
            Click(InputEvent::LeftDown, out);
        return true;
    }
    if (item.kind == FocusItem::Slider && (key == VK_LEFT || key == VK_RIGHT)) {
        const std::string& action =
            screen->StepSlider(item.index, key == VK_LEFT ? -kSliderStep : kSliderStep);
        if (!action.empty())
            actions_.Perform(action);
        return true;
    }
    const int step = key == VK_UP || key == VK_LEFT ? -1 : 1;
    focus_ = (focus_ + step + count) % count;
    PointAtFocus(out);
    return true;
}

void KeyPlay::BeginFrame(std::vector<InputEvent>& out) {
    if (!input_.KeysSteerPointer()) {
        cursor_.Reset();
        return;
    }
    const int state = states_.State();
    if (state == Playing) {
        if (cursor_.TargetKind() == LevelCursor::None) {
            auto [w, h] = ClientSize(game_);
            cursor_.Move(game_, LevelCursor::Down,
                         static_cast<float>(input_.CursorX()) / static_cast<float>(w),
                         static_cast<float>(input_.CursorY()) / static_cast<float>(h));
        }
        FollowCursor(out);
        return;
    }
    cursor_.Reset();
    // A new screen while the keys steer: its first widget takes the focus at once (after the name
    // entry, whose keys are its own).
    if (focusState_ != state && !(state == HighScoresState && highScores_.Entering())) {
        Screen* screen = screens_.ForState(state);
        if (!screen || FocusOrder(*screen).empty())
            return;
        focusState_ = state;
        focus_ = 0;
        PointAtFocus(out);
    }
}

void KeyPlay::EndFrame(std::vector<InputEvent>& out) {
    if (release_ == InputEvent::Move)
        return;
    out.push_back(InputEvent::Button(release_));
    release_ = InputEvent::Move;
}

bool KeyPlay::FocusFrame(float& x, float& y, float& width, float& height) const {
    if (!input_.KeysSteerPointer())
        return false;
    const int state = states_.State();
    if (state == Playing) {
        const int index = cursor_.TargetIndex();
        const ShapeItem* item = nullptr;
        if (cursor_.TargetKind() == LevelCursor::Panel && index >= 0 && index < game_.panelCount)
            item = &game_.panel[static_cast<size_t>(index)];
        if (cursor_.TargetKind() == LevelCursor::Hole && index >= 0 && index < game_.cellCount)
            item = &game_.cells[static_cast<size_t>(index)];
        if (!item)
            return false;
        x = item->x;
        y = item->y;
        width = item->width;
        height = item->height;
        return true;
    }
    Screen* screen = screens_.ForState(state);
    if (!screen || FocusIndex() < 0)
        return false;
    std::vector<FocusItem> items = FocusOrder(*screen);
    if (focus_ >= static_cast<int>(items.size()))
        return false;
    const FocusItem& item = items[static_cast<size_t>(focus_)];
    x = item.x;
    y = item.y;
    width = item.width;
    height = item.height;
    return true;
}

}  // namespace tamblor
