#pragma once

namespace tamblor {

class InputState;

// Once-per-frame mouse-button edges: each flag is 1 only in the frame in which the button changed.
class MouseButtons {
public:
    void UpdateMouseButtons(const InputState& input);
    int LeftButtonPressed() const { return leftPressed_; }
    int LeftButtonReleased() const { return leftReleased_; }
    int RightButtonPressed() const { return rightPressed_; }

private:
    bool leftWasDown_ = false;
    bool rightWasDown_ = false;
    int leftPressed_ = 0;
    int leftReleased_ = 0;
    int rightPressed_ = 0;
};

// Frames per second, refreshed about once a second.
class FpsCounter {
public:
    float MeasureFps(float nowSeconds);

private:
    float lastUpdate_ = 0.0f;
    float rate_ = 0.0f;
    int count_ = 0;
};

}  // namespace tamblor
