#pragma once
#include "game/Game.h"

namespace tamblor {

// The command-line name of a game mode ("classic", "transformer", "relax").
inline const char* ModeName(int mode) {
    switch (mode) {
        case ModeTransformer:
            return "transformer";
        case ModeRelax:
            return "relax";
        default:
            return "classic";
    }
}

// The main-menu action that starts a game in a mode.
inline const char* ModeAction(int mode) {
    switch (mode) {
        case ModeTransformer:
            return "procTransformerGame";
        case ModeRelax:
            return "procRelaxGame";
        default:
            return "procClassicGame";
    }
}

}  // namespace tamblor
