#pragma once
#include <cstdint>

#include "platform/RenderDevice.h"

namespace tamblor {

class Clock;
class Graphics;
class Random;
struct Bug;

// A butterfly drifting over the menus: it turns to one of sixteen directions every three seconds and
// is drawn from a six-frame strip facing left or right, flapping faster the faster it flies.
class Butterfly {
public:
    static constexpr float kTurnInterval = 3.0f;
    static constexpr float kWidth = 0.048f;
    static constexpr float kHeight = 0.064f;

    void Init(float x, float y, TextureHandle leftPicture, TextureHandle rightPicture, int wander);
    // Moves by the frame time and draws.
    void Update(float dt, Graphics& graphics, Random& random, const Clock& clock);
    void Move(float dt, Random& random, const Clock& clock);
    void Draw(Graphics& graphics) const;
    // The strip that shows the current course.
    TextureHandle Picture() const;

    float lastTurn = 0.0f;
    float x = 0.5f;
    float y = 0.5f;
    float angle = 0.0f;
    int32_t wander = 1;
    float speed = 0.02f;
    TextureHandle leftPicture = nullptr;
    TextureHandle rightPicture = nullptr;
};

// The bug at its position, from the right-facing strip, flapping with its speed.
void DrawBugSprite(Graphics& graphics, const Bug& bug);

}  // namespace tamblor
