#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>

#include "core/Random.h"
#include "graphics/GraphicsHarness.h"
#include "screens/EffectList.h"
#include "sound/SoundEventPlayer.h"

namespace tamblor {
namespace {

class RecordingSound : public SoundEventPlayer {
public:
    std::vector<std::string> played;
    void PlayEvent(std::string_view name) override { played.emplace_back(name); }
};

struct EffectWorld {
    test::GraphicsHarness h;
    Random random;
    RecordingSound sound;
    EffectList list{h.clock, random, sound};

    EffectWorld() {
        h.Picture("Graphics\\spr.png", 40, 30);
        h.Picture("Graphics\\word.png", 80, 60);
        h.Picture("Graphics\\star.png", 160, 20);
        h.LanguageFile("Word=Graphics\\word.png\r\n");
    }
    TextureHandle Tex(const char* name) { return h.graphics.FindTexture(name); }
    void Advance(uint32_t ms) {
        h.clock.Advance(ms);
        list.Update();
    }
    // Starts the effect added last and brings it to progress t (duration 1 s).
    void ProgressTo(float t) {
        list.Update();
        Advance(static_cast<uint32_t>(t * 1000.0f + 0.5f));
        h.device.ForgetDraws();
    }
};

// The quad of a sprite draw, back in screen fractions (undoing the half-pixel shift).
struct Quad {
    float x, y, w, h;
    uint32_t alpha;
};
Quad QuadOf(const RecordingRenderDevice::Draw& d, bool shifted = true) {
    float minX = 1e9f, maxX = -1e9f, minY = 1e9f, maxY = -1e9f;
    for (const Vertex& v : d.vertices) {
        minX = std::min(minX, v.x);
        maxX = std::max(maxX, v.x);
        minY = std::min(minY, v.y);
        maxY = std::max(maxY, v.y);
    }
    float shift = shifted ? 0.5f : 0.0f;
    return {((minX + maxX) / 2 + shift) / 800.0f, ((minY + maxY) / 2 + shift) / 600.0f,
            (maxX - minX) / 800.0f, (maxY - minY) / 600.0f, d.vertices[0].diffuse >> 24};
}

constexpr float kTol = 0.002f;

TEST(EffectList, FixedCapacityAndRefusedEffects) {
    EffectWorld w;
    float value = 0;
    int32_t total = 0;
    EXPECT_EQ(w.list.AddTween(0, 0.0f, 0, 1, &value), 0);  // a duration of 0 would never end
    EXPECT_EQ(w.list.AddRisingText(1, 0, -1.0f, 0, 0, "x", 0), 0);
    EXPECT_EQ(w.list.AddTween(0, 1, 0, 1, nullptr), 0);
    EXPECT_EQ(w.list.AddDelayedAdd(0, 5, nullptr), 0);
    EXPECT_EQ(w.list.Count(), 0);
    for (int i = 0; i < EffectList::kCapacity; ++i) ASSERT_EQ(w.list.AddDelayedAdd(10.0f, 1, &total), 1);
    EXPECT_EQ(w.list.AddSoundCue(0, "late"), 0);
    EXPECT_EQ(w.list.Count(), 150);
    EXPECT_EQ(w.list.At(149).kind, EffectDelayedAdd);
    // Clear drops everything without its start action.
    w.list.Clear();
    w.Advance(20000);
    EXPECT_EQ(total, 0);
    EXPECT_TRUE(w.list.Empty());
}

TEST(EffectList, StartActionsHappenOnceWhenTheirTimeComes) {
    EffectWorld w;
    float value = 7.0f;
    int32_t score = 0;
    w.list.AddTween(2.0f, 1.0f, 10.0f, 20.0f, &value);
    w.list.AddDelayedAdd(1.5f, 1500, &score);
    w.list.AddSoundCue(0.5f, "ding");
    for (int frame = 0; frame < 140; ++frame) {
        w.Advance(10);
        w.list.Draw(w.h.graphics, 1);
    }
    // 1.4 s: nothing has started yet.
    EXPECT_EQ(value, 7.0f);
    EXPECT_EQ(score, 0);
    EXPECT_EQ(w.sound.played, std::vector<std::string>{"ding"});
    for (int frame = 0; frame < 59; ++frame) {
        w.Advance(10);
        w.list.Draw(w.h.graphics, 1);
    }
    EXPECT_EQ(score, 1500);
    EXPECT_EQ(value, 7.0f);  // 1.99 s
    w.Advance(10);
    EXPECT_EQ(value, 10.0f);  // the start value, set when the delay is over
    w.Advance(500);
    w.list.Draw(w.h.graphics, -1);
    EXPECT_FLOAT_EQ(value, 15.0f);
    w.Advance(600);
    w.list.Draw(w.h.graphics, 2);
    EXPECT_FLOAT_EQ(value, 20.0f);
    w.Advance(3000);
    w.Advance(10);
    EXPECT_EQ(score, 1500);
    EXPECT_EQ(w.sound.played.size(), 1u);
    EXPECT_TRUE(w.list.Empty());
}

TEST(EffectList, FinishedEffectsAreDrawnOnceAtTheEndThenRemovedInOrder) {
    EffectWorld w;
    w.list.AddGrowSprite(1, 0, 1.0f, 0.5f, 0.5f, 0.1f, 0.1f, w.Tex("Graphics\\spr.png"));
    w.list.AddGrowSprite(1, 0, 1.0f, 0.2f, 0.5f, 0.1f, 0.1f, w.Tex("Graphics\\spr.png"));
    w.list.AddGrowSprite(1, 0, 3.0f, 0.7f, 0.5f, 0.1f, 0.1f, w.Tex("Graphics\\spr.png"));
    w.list.Update();
    w.Advance(1200);
    ASSERT_EQ(w.list.Count(), 3);
    EXPECT_EQ(w.list.At(0).progress, 1.0f);
    EXPECT_EQ(w.list.At(0).finished, 1);
    w.Advance(10);  // both finished neighbours go in one update
    ASSERT_EQ(w.list.Count(), 1);
    EXPECT_FLOAT_EQ(w.list.At(0).x, 0.7f);

    w.list.AddSoundCue(5, "a");
    w.list.AddSoundCue(5, "b");
    w.list.AddSoundCue(5, "c");
    w.list.Remove(2);
    ASSERT_EQ(w.list.Count(), 3);
    EXPECT_EQ(w.list.At(1).Text(), "a");
    EXPECT_EQ(w.list.At(2).Text(), "c");
    w.list.Remove(7);
    EXPECT_EQ(w.list.Count(), 3);
}

TEST(EffectList, DrawsByLayer) {
    EffectWorld w;
    TextureHandle spr = w.Tex("Graphics\\spr.png");
    w.list.AddGrowSprite(1, 0, 1, 0.1f, 0.5f, 0.1f, 0.1f, spr);
    w.list.AddGrowSprite(2, 0, 1, 0.2f, 0.5f, 0.1f, 0.1f, spr);
    w.list.AddGrowSprite(-1, 0, 1, 0.3f, 0.5f, 0.1f, 0.1f, spr);
    w.list.AddGrowSprite(2, 5, 1, 0.4f, 0.5f, 0.1f, 0.1f, spr);  // still waiting
    w.ProgressTo(0.5f);
    w.list.Draw(w.h.graphics, 2);
    ASSERT_EQ(w.h.device.draws.size(), 2u);
    EXPECT_NEAR(QuadOf(w.h.device.draws[0]).x, 0.2f, kTol);
    EXPECT_NEAR(QuadOf(w.h.device.draws[1]).x, 0.3f, kTol);
    w.h.device.ForgetDraws();
    w.list.Draw(w.h.graphics, -1);
    ASSERT_EQ(w.h.device.draws.size(), 1u);
    EXPECT_NEAR(QuadOf(w.h.device.draws[0]).x, 0.3f, kTol);
}

// One effect of each kind drawn at progress 0, 0.5 and 1.
TEST(EffectList, EachKindAtStartMiddleAndEnd) {
    for (float t : {0.0f, 0.5f, 1.0f}) {
        SCOPED_TRACE(t);
        EffectWorld w;
        auto draws = [&]() -> const std::vector<RecordingRenderDevice::Draw>& { return w.h.device.draws; };
        auto only = [&](const std::function<void()>& add) {
            w.list.Clear();
            add();
            w.ProgressTo(t);
            w.list.Draw(w.h.graphics, 1);
        };
        TextureHandle spr = w.Tex("Graphics\\spr.png");

        only([&] { w.list.AddRisingText(1, 0, 1, 0.5f, 0.5f, "Word", 0); });
        ASSERT_EQ(draws().size(), 1u);
        Quad q = QuadOf(draws()[0]);
        EXPECT_NEAR(q.y, 0.5f - 0.15f * t, kTol);
        EXPECT_NEAR(q.h, 0.05f, kTol);
        EXPECT_EQ(q.alpha, static_cast<uint32_t>((1 - t) * 255));

        only([&] { w.list.AddFlyingText(1, 0, 1, 0.2f, 0.3f, 0.8f, 0.9f, "Word", 0); });
        q = QuadOf(draws()[0]);
        EXPECT_NEAR(q.x, 0.8f * t * t * t + (1 - t * t * t) * 0.2f, kTol);
        EXPECT_NEAR(q.y, 0.9f * t + (1 - t) * 0.3f, kTol);
        EXPECT_EQ(q.alpha, t == 0.5f ? 255u : 0u);

        only([&] { w.list.AddBounceText(1, 0, 1, 0.5f, 0.4f, "Word", 0.05f); });
        q = QuadOf(draws()[0]);
        EXPECT_NEAR(q.y, 0.45f + std::pow(2 * t - 1, 5.0f), kTol);
        EXPECT_NEAR(q.w, 0.1f, kTol);  // the picture's own 80 x 60 pixels
        EXPECT_EQ(q.alpha, 255u);

        only([&] { w.list.AddDropText(1, 0, 1, 0.5f, 0.4f, "Word"); });
        q = QuadOf(draws()[0]);
        float offset = t < 0.6f ? std::pow(t / 0.6f - 1, 5.0f) : 0.0f;
        EXPECT_NEAR(q.y, 0.4f + offset, kTol);
        EXPECT_NEAR(q.h, t == 1.0f ? 0.6f : 0.2f, kTol);
        EXPECT_EQ(q.alpha, t == 1.0f ? 0u : 255u);

        only([&] { w.list.AddFadingText(1, 0, 1, 0.5f, 0.4f, "Word", 0); });
        q = QuadOf(draws()[0]);
        EXPECT_NEAR(q.y, 0.4f, kTol);
        EXPECT_NEAR(q.h, 0.1f, kTol);
        EXPECT_EQ(q.alpha, t == 0.5f ? 255u : 0u);

        only([&] { w.list.AddRisingSprite(1, 0, 1, 0.5f, 0.5f, w.Tex("Graphics\\star.png"), 8, 1, -0.1f); });
        ASSERT_EQ(draws().size(), 1u);
        q = QuadOf(draws()[0]);
        EXPECT_NEAR(q.y, 0.5f - 0.1f * t, kTol);
        EXPECT_NEAR(q.w, 20.0f / 800.0f, 1e-5);  // one frame at its own pixel size
        EXPECT_EQ(q.alpha, static_cast<uint32_t>((1 - t) * 255));
        EXPECT_TRUE(draws()[0].state.alphaBlendEnable);
        EXPECT_EQ(draws()[0].state.srcBlend, BlendFactor::SrcAlpha);
        EXPECT_EQ(draws()[0].state.destBlend, BlendFactor::InvSrcAlpha);
        EXPECT_EQ(draws()[0].state.colorOp, ColorOp::Modulate);
        EXPECT_FALSE(w.h.device.State().alphaBlendEnable);
        if (t == 0.5f) {
            float u0 =
                std::min({draws()[0].vertices[0].u, draws()[0].vertices[1].u, draws()[0].vertices[2].u});
            EXPECT_FLOAT_EQ(u0, 0.5f);  // the fifth of eight frames half way
        }
        only([&] { w.list.AddRisingSprite(1, 0, 1, 0.5f, 0.5f, w.Tex("Graphics\\star.png"), 0, 1, -0.1f); });
        EXPECT_TRUE(draws().empty());

        float gx = 0.3f, gy = 0.6f;
        only([&] { w.list.AddTrackingGlow(1, 0, 1, &gx, &gy, spr); });
        q = QuadOf(draws()[0]);
        EXPECT_NEAR(q.x, 0.3f, kTol);
        EXPECT_NEAR(q.w, 40.0f / 800.0f, 1e-5);
        EXPECT_EQ(q.alpha, static_cast<uint32_t>((0.5f - t / 2) * 255));
        EXPECT_EQ(draws()[0].state.colorOp, ColorOp::Add);
        EXPECT_TRUE(draws()[0].state.alphaBlendEnable);
        EXPECT_EQ(w.h.device.State().colorOp, ColorOp::Modulate);
        EXPECT_FALSE(w.h.device.State().alphaBlendEnable);
        gx = 0.35f;  // it follows the position it tracks
        w.h.device.ForgetDraws();
        w.list.Draw(w.h.graphics, 1);
        EXPECT_NEAR(QuadOf(draws()[0]).x, 0.35f, kTol);

        only([&] { w.list.AddSpriteRing(1, 0, 1, 0.5f, 0.5f, 0.04f, 0.2f, spr); });
        ASSERT_EQ(draws().size(), 8u);
        float a = std::numbers::pi_v<float> / 2 * t;  // sprite 0 turns by a quarter over the effect
        q = QuadOf(draws()[0]);
        EXPECT_NEAR(q.x, 0.5f + std::cos(a) * 0.2f * t, kTol);
        EXPECT_NEAR(q.y, 0.5f + std::sin(a) * 0.2f * t, kTol);
        EXPECT_NEAR(q.w, 0.04f, kTol);
        EXPECT_TRUE(draws()[0].state.alphaBlendEnable);

        only([&] { w.list.AddGrowSprite(1, 0, 1, 0.5f, 0.5f, 0.2f, 0.1f, spr); });
        q = QuadOf(draws()[0]);
        EXPECT_NEAR(q.w, 0.2f * t, kTol);
        EXPECT_NEAR(q.h, 0.1f * t, kTol);
        only([&] { w.list.AddShrinkSprite(1, 0, 1, 0.5f, 0.5f, 0.2f, 0.1f, spr); });
        q = QuadOf(draws()[0]);
        EXPECT_NEAR(q.w, 0.2f * (1 - t), kTol);
        EXPECT_EQ(q.alpha, 255u);

        only([&] { w.list.AddParticleBurst(1, 0, 1, 0.5f, 0.5f, 0.06f, 0.2f, spr, 1); });
        ASSERT_EQ(draws().size(), 10u);
        q = QuadOf(draws()[0], false);
        EXPECT_NEAR(q.x, 0.5f + 0.2f * t, kTol);  // particle 0 flies to the right
        EXPECT_NEAR(q.y, 0.5f, kTol);
        q = QuadOf(draws()[5], false);
        EXPECT_NEAR(q.x, 0.5f - 0.2f * t, kTol);
        EXPECT_EQ(q.alpha, t == 1.0f ? 0u : 255u);
        if (t == 0.0f) {
            EXPECT_NEAR(q.w, 0.03f, kTol);  // half size, not yet turned
            EXPECT_NEAR(q.h, 0.04f, kTol);
        }

        float value = 0;
        only([&] { w.list.AddTween(0, 1, 2.0f, 4.0f, &value); });
        EXPECT_FLOAT_EQ(value, 2.0f + 2.0f * t);
    }
}

TEST(EffectList, RandomBurstsAndReplacedTweens) {
    EffectWorld w;
    w.random.SRand15(3);
    w.list.AddParticleBurst(1, 0, 1, 0.5f, 0.5f, 0.06f, 0.2f, nullptr, 0);
    for (const EffectParticle& p : w.list.At(0).particles) {
        EXPECT_GE(p.speed, 0.5f);
        EXPECT_LE(p.speed, 1.0f);
        EXPECT_GE(p.spin, -1.0f);
        EXPECT_LE(p.spin, 1.0f);
        EXPECT_GE(p.direction, 0.0f);
        EXPECT_LE(p.direction, 2 * std::numbers::pi_v<float>);
        EXPECT_FLOAT_EQ(p.size, 0.06f);
    }

    // A glide replaced half way ends where the first would have ended, plus the new offset.
    float x = 1.0f;
    w.list.AddReplacingTween(0, 1, 0.5f, &x);
    w.list.Update();
    w.Advance(500);
    w.list.Draw(w.h.graphics, 1);
    EXPECT_FLOAT_EQ(x, 1.25f);
    EXPECT_FLOAT_EQ(w.list.PendingTweenEnd(&x), 1.5f);
    w.list.AddReplacingTween(0, 1, 0.5f, &x);
    int tweens = 0;
    for (int i = 0; i < w.list.Count(); ++i) tweens += w.list.At(i).kind == EffectTween ? 1 : 0;
    EXPECT_EQ(tweens, 1);
    w.list.Update();
    w.Advance(1000);
    w.list.Draw(w.h.graphics, 1);
    EXPECT_FLOAT_EQ(x, 2.0f);
    w.Advance(10);
    EXPECT_FLOAT_EQ(w.list.PendingTweenEnd(&x), 2.0f);
}

}  // namespace
}  // namespace tamblor
