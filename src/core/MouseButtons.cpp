#include "core/MouseButtons.h"

#include "platform/InputState.h"
#include "platform/Message.h"

namespace tamblor {

void MouseButtons::UpdateMouseButtons(const InputState& input) {
    bool left = input.IsKeyDown(VK_LBUTTON);
    bool right = input.IsKeyDown(VK_RBUTTON);
    leftPressed_ = (left && !leftWasDown_) ? 1 : 0;
    leftReleased_ = (!left && leftWasDown_) ? 1 : 0;
    rightPressed_ = (right && !rightWasDown_) ? 1 : 0;
    leftWasDown_ = left;
    rightWasDown_ = right;
}

float FpsCounter::MeasureFps(float nowSeconds) {
    ++count_;
    if (nowSeconds - lastUpdate_ <= 1.0f) return rate_;
    rate_ = static_cast<float>(count_) / (nowSeconds - lastUpdate_);
    count_ = 0;
    lastUpdate_ = nowSeconds;
    return rate_;
}

}  // namespace tamblor
