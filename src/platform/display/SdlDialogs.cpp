#include "platform/display/SdlDialogs.h"

#include <SDL2/SDL.h>

#include <cstdlib>

namespace tamblor {

SdlDialogs::SdlDialogs(bool headless) {
    const char* noDialogs = std::getenv("TAMBLOR_NO_DIALOGS");
    enabled_ = !headless && !(noDialogs && noDialogs[0] == '1');
}

uint32_t SdlDialogs::BoxFlags(MessageKind kind) {
    switch (kind) {
        case MessageKind::Error:
            return SDL_MESSAGEBOX_ERROR;
        case MessageKind::Warning:
            return SDL_MESSAGEBOX_WARNING;
        case MessageKind::None:
            break;
    }
    return 0;  // no icon, as a plain OK box
}

void SdlDialogs::ShowMessage(MessageKind kind, const std::string& title, const std::string& text) {
    if (enabled_ && SDL_ShowSimpleMessageBox(BoxFlags(kind), title.c_str(), text.c_str(), parent_) == 0) {
        return;
    }
    fallback_.ShowMessage(kind, title, text);
}

}  // namespace tamblor
