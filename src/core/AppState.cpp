#include "core/AppState.h"

#include "platform/InputState.h"

namespace tamblor {

void AppStates::SetState(int state) {
    previousState_ = appState_;
    appState_ = state;
    int x = input_.CursorX();
    int y = input_.CursorY() + 1;
    input_.SetCursorPos(x, y);
    if (onCursorNudged) onCursorNudged(x, y);
    if (previousState_ == Playing && appState_ == Paused && onPauseClock) onPauseClock();
    if (previousState_ == Paused && appState_ == Playing && onResumeClock) onResumeClock();
}

}  // namespace tamblor
