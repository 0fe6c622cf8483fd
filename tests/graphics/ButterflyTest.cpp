#include <gtest/gtest.h>

#include <deque>
#include <numbers>

#include "core/Random.h"
#include "game/ShapeItem.h"
#include "graphics/Butterfly.h"
#include "graphics/GraphicsHarness.h"

namespace tamblor {
namespace {

class QueuedRandom : public Random {
public:
    std::deque<int> queued;
    int Rand15() override {
        if (queued.empty())
            return Random::Rand15();
        int v = queued.front();
        queued.pop_front();
        return v;
    }
};

constexpr float kPi = std::numbers::pi_v<float>;

float CentreX(const RecordingRenderDevice::Draw& d) {
    float minX = std::min({d.vertices[0].x, d.vertices[1].x, d.vertices[2].x, d.vertices[3].x});
    float maxX = std::max({d.vertices[0].x, d.vertices[1].x, d.vertices[2].x, d.vertices[3].x});
    return ((minX + maxX) / 2 + 0.5f) / 800.0f;
}

TEST(Butterfly, TurnsEveryThreeSecondsAndStaysNearTheScreen) {
    test::GraphicsHarness h;
    h.Picture("Graphics\\left.png", 300, 50);
    h.Picture("Graphics\\right.png", 300, 50);
    TextureHandle left = h.graphics.FindTexture("Graphics\\left.png");
    TextureHandle right = h.graphics.FindTexture("Graphics\\right.png");
    QueuedRandom random;
    Butterfly b;
    b.Init(0.4f, 0.5f, left, right, 1);
    // First update: lastTurn is 0, so it turns at once: direction 4 of 16 (down), speed 0.02 + 10 x 0.003.
    random.queued = {static_cast<int>(32767.0 * 4 / 16) + 1, 32767};
    b.Update(1.0f, h.graphics, random, h.clock);
    EXPECT_FLOAT_EQ(b.angle, kPi / 2);
    EXPECT_FLOAT_EQ(b.speed, 0.05f);
    EXPECT_FLOAT_EQ(b.lastTurn, 60.0f);
    EXPECT_NEAR(b.y, 0.55f, 1e-6);
    EXPECT_NEAR(b.x, 0.4f, 1e-6);
    ASSERT_EQ(h.device.draws.size(), 1u);
    EXPECT_EQ(h.device.draws[0].state.texture, left);  // pi/2 belongs to the left-facing half
    // The strip runs at speed x 50 cycles: six frames, no own size.
    EXPECT_NEAR(h.device.draws[0].vertices[1].x - h.device.draws[0].vertices[0].x, 0.048f * 800.0f, 1e-3);

    h.clock.Advance(3000);
    b.Update(0.1f, h.graphics, random, h.clock);
    EXPECT_FLOAT_EQ(b.angle, kPi / 2);  // exactly 3 s is not more than 3 s
    h.clock.Advance(10);
    random.queued = {static_cast<int>(32767.0 * 12 / 16) + 1, 0};
    b.Update(0.0f, h.graphics, random, h.clock);
    EXPECT_FLOAT_EQ(b.angle, 3 * kPi / 2);
    EXPECT_FLOAT_EQ(b.speed, 0.02f);
    EXPECT_EQ(h.device.draws.back().state.texture, right);
    b.angle = kPi;
    EXPECT_EQ(b.Picture(), left);
    b.angle = 0.0f;
    EXPECT_EQ(b.Picture(), right);

    // A butterfly that strays is put back just outside the edge before it is drawn.
    Butterfly s;
    s.Init(-0.29f, 0.5f, left, right, 0);
    s.angle = kPi;
    s.speed = 0.02f;
    h.device.ForgetDraws();
    s.Update(1.0f, h.graphics, random, h.clock);
    EXPECT_FLOAT_EQ(s.x, -0.05f);
    EXPECT_NEAR(CentreX(h.device.draws[0]), -0.05f, 1e-4);
    s.x = 1.29f;
    s.angle = 0.0f;
    s.Update(1.0f, h.graphics, random, h.clock);
    EXPECT_FLOAT_EQ(s.x, 1.05f);
    s.y = -0.299f;
    s.angle = 3 * kPi / 2;
    s.Update(1.0f, h.graphics, random, h.clock);
    EXPECT_FLOAT_EQ(s.y, -0.05f);
    EXPECT_EQ(s.lastTurn, 0.0f);  // without wander it never turns
}

TEST(Butterfly, TheBugIsDrawnFromTheRightStripAtOneAndAHalfTimesTheSize) {
    test::GraphicsHarness h;
    h.Picture("Graphics\\bug_right.png", 300, 50);
    Bug bug;
    bug.x = 0.25f;
    bug.y = 0.5f;
    DrawBugSprite(h.graphics, bug);
    ASSERT_EQ(h.device.draws.size(), 1u);
    const auto& d = h.device.draws[0];
    EXPECT_EQ(d.state.texture, h.graphics.FindTexture("Graphics\\bug_right.png"));
    EXPECT_NEAR(d.vertices[1].x - d.vertices[0].x, 0.072f * 800.0f, 1e-3);
    EXPECT_NEAR(CentreX(d), 0.25f, 1e-4);
    float u0 = std::min(d.vertices[0].u, d.vertices[2].u);
    float u1 = std::max(d.vertices[0].u, d.vertices[1].u);
    EXPECT_NEAR(u1 - u0, 1.0f / 6.0f, 1e-5);  // one of six frames
}

}  // namespace
}  // namespace tamblor
