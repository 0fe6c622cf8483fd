#pragma once
#include <cstdint>
#include <string>

#include "platform/Dialogs.h"

struct SDL_Window;

namespace tamblor {

// Message boxes through SDL, over the game's window when there is one. When boxes cannot or must not
// be shown (headless runs, TAMBLOR_NO_DIALOGS=1, no display) the text goes to stderr and nothing blocks.
class SdlDialogs final : public Dialogs {
public:
    explicit SdlDialogs(bool headless);
    void ShowMessage(MessageKind kind, const std::string& title, const std::string& text) override;
    // The SDL message box flag of a kind of message.
    static uint32_t BoxFlags(MessageKind kind);
    void SetParent(SDL_Window* window) { parent_ = window; }
    bool ShowsBoxes() const { return enabled_; }

private:
    bool enabled_;
    SDL_Window* parent_ = nullptr;
    StderrDialogs fallback_;
};

}  // namespace tamblor
