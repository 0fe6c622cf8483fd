#include "platform/display/EventTranslator.h"

#include "platform/InputState.h"
#include "platform/display/Letterbox.h"

namespace tamblor {

namespace {

constexpr uintptr_t MK_LBUTTON = 0x0001;
constexpr uintptr_t MK_RBUTTON = 0x0002;

// Code points 0x80..0x9F of the Western Windows code page.
constexpr uint16_t kCp1252High[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                      0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                      0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

int CodePageByte(uint32_t codePoint) {
    if (codePoint >= 0x20 && codePoint < 0x7F)
        return static_cast<int>(codePoint);
    if (codePoint >= 0xA0 && codePoint <= 0xFF)
        return static_cast<int>(codePoint);
    for (int i = 0; i < 32; ++i) {
        if (kCp1252High[i] != 0 && kCp1252High[i] == codePoint)
            return 0x80 + i;
    }
    return -1;
}

}  // namespace

int VirtualKeyFromSdl(SDL_Keycode key) {
    if (key >= SDLK_a && key <= SDLK_z)
        return 'A' + (key - SDLK_a);
    if (key >= SDLK_0 && key <= SDLK_9)
        return '0' + (key - SDLK_0);
    if (key >= SDLK_F1 && key <= SDLK_F12)
        return VK_F1 + (key - SDLK_F1);
    if (key >= SDLK_KP_1 && key <= SDLK_KP_9)
        return 0x61 + (key - SDLK_KP_1);
    switch (key) {
        case SDLK_BACKSPACE:
            return VK_BACK;
        case SDLK_TAB:
            return VK_TAB;
        case SDLK_RETURN:
        case SDLK_KP_ENTER:
            return VK_RETURN;
        case SDLK_ESCAPE:
            return VK_ESCAPE;
        case SDLK_SPACE:
            return VK_SPACE;
        case SDLK_PAGEUP:
            return 0x21;
        case SDLK_PAGEDOWN:
            return 0x22;
        case SDLK_END:
            return 0x23;
        case SDLK_HOME:
            return 0x24;
        case SDLK_LEFT:
            return VK_LEFT;
        case SDLK_UP:
            return VK_UP;
        case SDLK_RIGHT:
            return VK_RIGHT;
        case SDLK_DOWN:
            return VK_DOWN;
        case SDLK_INSERT:
            return 0x2D;
        case SDLK_DELETE:
            return 0x2E;
        case SDLK_KP_0:
            return 0x60;
        case SDLK_KP_MULTIPLY:
            return 0x6A;
        case SDLK_KP_PLUS:
            return VK_ADD;
        case SDLK_KP_MINUS:
            return VK_SUBTRACT;
        case SDLK_KP_PERIOD:
            return 0x6E;
        case SDLK_KP_DIVIDE:
            return 0x6F;
        case SDLK_LSHIFT:
        case SDLK_RSHIFT:
            return 0x10;
        case SDLK_LCTRL:
        case SDLK_RCTRL:
            return 0x11;
        case SDLK_PAUSE:
            return 0x13;
        default:
            return 0;
    }
}

std::string TextToCodePage(const char* utf8) {
    std::string out;
    const auto* p = reinterpret_cast<const unsigned char*>(utf8);
    while (*p) {
        uint32_t cp = 0;
        int extra = 0;
        if (*p < 0x80) {
            cp = *p;
        } else if ((*p & 0xE0) == 0xC0) {
            cp = *p & 0x1F;
            extra = 1;
        } else if ((*p & 0xF0) == 0xE0) {
            cp = *p & 0x0F;
            extra = 2;
        } else if ((*p & 0xF8) == 0xF0) {
            cp = *p & 0x07;
            extra = 3;
        } else {
            ++p;  // a stray continuation byte
            continue;
        }
        ++p;
        bool valid = true;
        for (int i = 0; i < extra; ++i) {
            if ((*p & 0xC0) != 0x80) {
                valid = false;
                break;
            }
            cp = (cp << 6) | (*p & 0x3F);
            ++p;
        }
        if (!valid)
            continue;
        int byte = CodePageByte(cp);
        if (byte >= 0)
            out.push_back(static_cast<char>(byte));
    }
    return out;
}

Message EventTranslator::Record(uint32_t message, uintptr_t wParam, intptr_t lParam) const {
    Message m;
    m.message = message;
    m.wParam = wParam;
    m.lParam = lParam;
    m.x = input_.CursorX();
    m.y = input_.CursorY();
    return m;
}

void EventTranslator::MoveCursor(int windowX, int windowY) {
    int x = 0, y = 0;
    letterbox_.WindowToLogical(windowX, windowY, &x, &y);
    input_.MovePointer(x, y);
}

void EventTranslator::AppendKey(int vk, bool down, bool repeat, bool alt, std::vector<Message>& out) {
    input_.SetKeyDown(vk, down);
    intptr_t lParam = 1;
    if (alt)
        lParam |= intptr_t{1} << 29;  // Alt is held
    if (!down || repeat)
        lParam |= intptr_t{1} << 30;  // the key was down before
    if (!down)
        lParam |= intptr_t{1} << 31;
    // Keys pressed with Alt are system keys (Alt+Enter switches the window), never game keys.
    const uint32_t message = alt ? (down ? WM_SYSKEYDOWN : WM_SYSKEYUP) : (down ? WM_KEYDOWN : WM_KEYUP);
    out.push_back(Record(message, static_cast<uintptr_t>(vk), lParam));
}

void EventTranslator::Translate(const SDL_Event& event, std::vector<Message>& out,
                                WindowEventEffects* effects) {
    auto buttonFlags = [&] {
        uintptr_t flags = 0;
        if (input_.IsKeyDown(VK_LBUTTON))
            flags |= MK_LBUTTON;
        if (input_.IsKeyDown(VK_RBUTTON))
            flags |= MK_RBUTTON;
        return flags;
    };
    switch (event.type) {
        case SDL_MOUSEMOTION:
            if (event.motion.which == SDL_TOUCH_MOUSEID)
                break;
            MoveCursor(event.motion.x, event.motion.y);
            out.push_back(
                Record(WM_MOUSEMOVE, buttonFlags(), MakeMouseLParam(input_.CursorX(), input_.CursorY())));
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP: {
            if (event.button.which == SDL_TOUCH_MOUSEID)
                break;
            bool down = event.type == SDL_MOUSEBUTTONDOWN;
            MoveCursor(event.button.x, event.button.y);
            int vk = 0;
            uint32_t message = 0;
            if (event.button.button == SDL_BUTTON_LEFT) {
                vk = VK_LBUTTON;
                message = down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
            } else if (event.button.button == SDL_BUTTON_RIGHT) {
                vk = VK_RBUTTON;
                message = down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
            } else {
                break;
            }
            input_.SetKeyDown(vk, down);
            input_.SetKeysSteerPointer(false);
            out.push_back(
                Record(message, buttonFlags(), MakeMouseLParam(input_.CursorX(), input_.CursorY())));
            break;
        }
        case SDL_KEYDOWN:
        case SDL_KEYUP: {
            int vk = VirtualKeyFromSdl(event.key.keysym.sym);
            if (vk == 0)
                break;
            bool down = event.type == SDL_KEYDOWN;
            const bool alt = (event.key.keysym.mod & KMOD_ALT) != 0;
            AppendKey(vk, down, event.key.repeat != 0, alt, out);
            break;
        }
        case SDL_CONTROLLERDEVICEADDED:
        case SDL_CONTROLLERDEVICEREMOVED:
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP:
        case SDL_CONTROLLERAXISMOTION:
            padKeys_.clear();
            gamepads_.Translate(event, padKeys_);
            for (const PadKey& key : padKeys_) AppendKey(key.virtualKey, key.down, false, false, out);
            break;
        case SDL_TEXTINPUT: {
            for (char c : TextToCodePage(event.text.text)) {
                out.push_back(Record(WM_CHAR, static_cast<unsigned char>(c), 1));
            }
            break;
        }
        case SDL_WINDOWEVENT:
            switch (event.window.event) {
                case SDL_WINDOWEVENT_FOCUS_GAINED:
                    out.push_back(Record(WM_SETFOCUS, 0, 0));
                    break;
                case SDL_WINDOWEVENT_FOCUS_LOST:
                    // Releases that happen outside the window are never reported: forget what is held.
                    input_.ReleaseAll();
                    out.push_back(Record(WM_KILLFOCUS, 0, 0));
                    break;
                case SDL_WINDOWEVENT_MINIMIZED:
                    out.push_back(Record(WM_SIZE, SIZE_MINIMIZED, 0));
                    break;
                case SDL_WINDOWEVENT_HIDDEN:
                    out.push_back(Record(WM_SIZE, SIZE_MAXHIDE, 0));
                    break;
                case SDL_WINDOWEVENT_RESTORED:
                case SDL_WINDOWEVENT_SHOWN:
                    out.push_back(Record(WM_SIZE, SIZE_RESTORED, 0));
                    break;
                case SDL_WINDOWEVENT_SIZE_CHANGED:
                    out.push_back(Record(WM_SIZE, SIZE_RESTORED, 0));
                    if (effects)
                        effects->resetDevice = true;
                    break;
                case SDL_WINDOWEVENT_DISPLAY_CHANGED:
                    if (effects)
                        effects->resetDevice = true;
                    break;
                case SDL_WINDOWEVENT_EXPOSED:
                    out.push_back(Record(WM_PAINT, 0, 0));
                    break;
                case SDL_WINDOWEVENT_CLOSE:
                    out.push_back(Record(WM_CLOSE, 0, 0));
                    break;
                default:
                    break;
            }
            break;
        case SDL_QUIT:
            out.push_back(Record(WM_CLOSE, 0, 0));
            if (effects)
                effects->quit = true;
            break;
        default:
            break;
    }
}

}  // namespace tamblor
