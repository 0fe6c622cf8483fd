#include "graphics/Butterfly.h"

#include <cmath>
#include <numbers>

#include "core/Random.h"
#include "game/ShapeItem.h"
#include "graphics/Graphics.h"
#include "platform/Clock.h"

namespace tamblor {

namespace {
constexpr float kTwoPi = 2.0f * std::numbers::pi_v<float>;
constexpr float kHalfPi = std::numbers::pi_v<float> / 2.0f;
constexpr float kThreeHalfPi = 3.0f * std::numbers::pi_v<float> / 2.0f;
constexpr int kStripFrames = 6;

// Back just outside the edge it crossed.
float Bounded(float v) {
    if (v < -0.3f)
        return -0.05f;
    if (v > 1.3f)
        return 1.05f;
    return v;
}
}  // namespace

void Butterfly::Init(float xArg, float yArg, TextureHandle left, TextureHandle right, int wanderArg) {
    x = xArg;
    y = yArg;
    leftPicture = left;
    rightPicture = right;
    wander = wanderArg;
}

void Butterfly::Move(float dt, Random& random, const Clock& clock) {
    float now = clock.Seconds();
    if (wander && now - lastTurn > kTurnInterval) {
        lastTurn = now;
        angle = static_cast<float>(random.RandomInt(0, 15)) * kTwoPi / 16.0f;
        speed = static_cast<float>(random.RandomInt(0, 10)) * 0.003f + 0.02f;
    }
    x += std::cos(angle) * speed * dt;
    y += std::sin(angle) * speed * dt;
    x = Bounded(x);
    y = Bounded(y);
}

TextureHandle Butterfly::Picture() const {
    return (angle >= kHalfPi && angle < kThreeHalfPi) ? leftPicture : rightPicture;
}

void Butterfly::Draw(Graphics& graphics) const {
    graphics.DrawAnimatedSprite(Picture(), x, y, kWidth, kHeight, 0, kStripFrames, 1, speed * 50.0f,
                                0xFFFFFFFFu);
}

void Butterfly::Update(float dt, Graphics& graphics, Random& random, const Clock& clock) {
    Move(dt, random, clock);
    Draw(graphics);
}

void DrawBugSprite(Graphics& graphics, const Bug& bug) {
    graphics.DrawAnimatedSprite(graphics.FindTexture("Graphics\\bug_right.png"), bug.x, bug.y,
                                1.5f * Butterfly::kWidth, 1.5f * Butterfly::kHeight, 0, kStripFrames, 1,
                                bug.speed * 50.0f, 0xFFFFFFFFu);
}

}  // namespace tamblor
