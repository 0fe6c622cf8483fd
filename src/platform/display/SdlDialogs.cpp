#include "platform/display/SdlDialogs.h"

#include <SDL2/SDL.h>

#include <cstdlib>

namespace tamblor {

SdlDialogs::SdlDialogs(bool headless) {
    const char* noDialogs = std::getenv("TAMBLOR_NO_DIALOGS");
    enabled_ = !headless && !(noDialogs && noDialogs[0] == '1');
}

void SdlDialogs::ShowMessage(const std::string& title, const std::string& text) {
    if (enabled_ &&
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, title.c_str(), text.c_str(), parent_) == 0) {
        return;
    }
    fallback_.ShowMessage(title, text);
}

}  // namespace tamblor
