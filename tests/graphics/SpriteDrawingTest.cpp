#include <gtest/gtest.h>

#include <cmath>

#include "GraphicsHarness.h"

namespace tamblor {
namespace {

using test::GraphicsHarness;

// Screen-space signed area of a triangle (y down): positive means clockwise on screen.
float ScreenWinding(const Vertex& a, const Vertex& b, const Vertex& c) {
    return (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
}

TEST(SpriteDrawing, FullScreenQuadCornersUvAndIndexOrder) {
    GraphicsHarness h;
    TextureHandle tex = (h.Picture("a.png", 64, 32), h.graphics.FindTexture("a.png"));
    ASSERT_NE(tex, nullptr);
    EXPECT_EQ(h.graphics.DrawSprite(tex, 0.5f, 0.5f, 1, 1, 0.1f, 0.2f, 0.3f, 0.4f, 0x80FF0000, 0), 0);
    const auto& d = h.LastDraw();
    ASSERT_EQ(d.vertices.size(), 4u);
    // Half a pixel up and left of the client area.
    EXPECT_EQ(d.vertices[0], (Vertex{-0.5f, 599.5f, 0.9f, 1, 0x80FF0000, 0, 0.1f, 0.4f}));
    EXPECT_EQ(d.vertices[1], (Vertex{799.5f, 599.5f, 0.9f, 1, 0x80FF0000, 0, 0.3f, 0.4f}));
    EXPECT_EQ(d.vertices[2], (Vertex{-0.5f, -0.5f, 0.9f, 1, 0x80FF0000, 0, 0.1f, 0.2f}));
    EXPECT_EQ(d.vertices[3], (Vertex{799.5f, -0.5f, 0.9f, 1, 0x80FF0000, 0, 0.3f, 0.2f}));
    EXPECT_EQ(d.indices, (std::vector<uint16_t>{2, 3, 0, 1, 0, 3}));
    EXPECT_EQ(d.state.texture, tex);
    EXPECT_EQ(d.state.cullMode, CullMode::CounterClockwise);
    EXPECT_EQ(d.state.addressU, TextureAddress::Clamp);
    EXPECT_EQ(d.state.addressV, TextureAddress::Clamp);
    // Both triangles are clockwise on screen, so counter-clockwise culling keeps them ...
    auto tri = d.TriangleVertices();
    EXPECT_GT(ScreenWinding(tri[0], tri[1], tri[2]), 0);
    EXPECT_GT(ScreenWinding(tri[3], tri[4], tri[5]), 0);
    // ... and a negative width turns both around.
    h.graphics.DrawSprite(tex, 0.5f, 0.5f, -0.5f, 0.5f, 0, 0, 1, 1, 0xFFFFFFFF, 0);
    tri = h.LastDraw().TriangleVertices();
    EXPECT_LT(ScreenWinding(tri[0], tri[1], tri[2]), 0);
    EXPECT_LT(ScreenWinding(tri[3], tri[4], tri[5]), 0);
    // Addressing is left wrapping after every sprite.
    EXPECT_EQ(h.device.State().addressU, TextureAddress::Wrap);
    EXPECT_EQ(h.device.State().texture, tex);

    // Own size: the texture's pixels, centred; a null texture has no size and draws nothing.
    h.graphics.DrawSprite(tex, 0.25f, 0.5f, 1, 1, 0, 0, 1, 1, 0xFFFFFFFF, SPRITE_OWN_SIZE | SPRITE_WRAP);
    EXPECT_EQ(h.LastDraw().vertices[2].x, 200 - 32 - 0.5f);
    EXPECT_EQ(h.LastDraw().vertices[2].y, 300 - 16 - 0.5f);
    EXPECT_EQ(h.LastDraw().vertices[1].x, 200 + 32 - 0.5f);
    EXPECT_EQ(h.LastDraw().state.addressU, TextureAddress::Wrap);
    size_t count = h.device.draws.size();
    h.graphics.DrawSprite(nullptr, 0.5f, 0.5f, 1, 1, 0, 0, 1, 1, 0xFFFFFFFF, SPRITE_OWN_SIZE);
    EXPECT_EQ(h.device.draws.size(), count);
    // Without the flag a null texture still draws the quad, untextured.
    h.graphics.DrawSprite(nullptr, 0.5f, 0.5f, 1, 1, 0, 0, 1, 1, 0xFFFFFFFF, 0);
    EXPECT_EQ(h.device.draws.size(), count + 1);
    EXPECT_EQ(h.LastDraw().state.texture, nullptr);

    // Tint scales all four channels, alpha included, with truncation.
    h.graphics.DrawSprite(tex, 0.5f, 0.5f, 1, 1, 0, 0, 1, 1, 0xFF804001, SPRITE_TINT);
    EXPECT_EQ(h.LastDraw().vertices[0].diffuse, 0xCC663300u);
}

TEST(SpriteDrawing, BlendFlagsSetFactorsAndLeaveTheirStateBehind) {
    GraphicsHarness h;
    RenderState& s = h.device.State();
    s.alphaBlendEnable = false;
    s.colorOp = ColorOp::Modulate4X;

    h.graphics.DrawSprite(nullptr, 0.5f, 0.5f, 0.1f, 0.1f, 0, 0, 1, 1, 0xFFFFFFFF, SPRITE_ADD);
    EXPECT_TRUE(h.LastDraw().state.alphaBlendEnable);
    EXPECT_EQ(h.LastDraw().state.srcBlend, BlendFactor::One);
    EXPECT_EQ(h.LastDraw().state.destBlend, BlendFactor::One);
    EXPECT_EQ(h.LastDraw().state.colorOp, ColorOp::Modulate4X);  // only SPRITE_ALPHA sets the stage
    EXPECT_FALSE(s.alphaBlendEnable);                            // enable put back ...
    EXPECT_EQ(s.srcBlend, BlendFactor::One);                     // ... factors left behind

    h.graphics.DrawSprite(nullptr, 0.5f, 0.5f, 0.1f, 0.1f, 0, 0, 1, 1, 0xFFFFFFFF, SPRITE_ALPHA);
    EXPECT_EQ(h.LastDraw().state.srcBlend, BlendFactor::SrcAlpha);
    EXPECT_EQ(h.LastDraw().state.destBlend, BlendFactor::InvSrcAlpha);
    EXPECT_EQ(h.LastDraw().state.colorOp, ColorOp::Modulate);

    // Several flags: applied in order alpha, add, darken; the last one sets the factors.
    h.graphics.DrawSprite(nullptr, 0.5f, 0.5f, 0.1f, 0.1f, 0, 0, 1, 1, 0xFFFFFFFF,
                          SPRITE_ALPHA | SPRITE_ADD | SPRITE_DARKEN);
    EXPECT_EQ(h.LastDraw().state.srcBlend, BlendFactor::Zero);
    EXPECT_EQ(h.LastDraw().state.destBlend, BlendFactor::InvSrcColor);

    // No flags: whatever the device has. Enabled by hand, it stays enabled with the darken factors.
    s.alphaBlendEnable = true;
    h.graphics.DrawSprite(nullptr, 0.5f, 0.5f, 0.1f, 0.1f, 0, 0, 1, 1, 0xFFFFFFFF, 0);
    EXPECT_TRUE(h.LastDraw().state.alphaBlendEnable);
    EXPECT_EQ(h.LastDraw().state.destBlend, BlendFactor::InvSrcColor);

    // The rotated sprite: same blend rules, its own corners, cull and addressing untouched.
    s.addressU = TextureAddress::Clamp;
    s.cullMode = CullMode::None;
    h.graphics.DrawSpriteRotated(nullptr, 0.5f, 0.5f, 0.1f, 0.1f, 0, 0xFFFFFFFF, SPRITE_ADD | SPRITE_WRAP);
    EXPECT_EQ(h.LastDraw().state.srcBlend, BlendFactor::One);
    EXPECT_EQ(h.LastDraw().state.addressU, TextureAddress::Clamp);
    EXPECT_EQ(h.LastDraw().state.cullMode, CullMode::None);
    EXPECT_TRUE(s.alphaBlendEnable);
}

TEST(SpriteDrawing, RemovedLineIsDrawnOverBrightAndFaded) {
    GraphicsHarness h;
    h.Picture("Graphics\\line1.png", 16, 64);
    TextureHandle strip = h.graphics.FindTexture("Graphics\\line1.png");
    // The scene's recipe for a removed line at alpha 0.25: channels int(255 x 0.25) = 63, modulated
    // blending with the stage at MODULATE4X, only the wrap flag.
    float alpha = 0.25f;
    uint32_t c = static_cast<uint32_t>(255 * alpha) & 0xFF;
    uint32_t colour = MakeArgb(c, c, c, c);
    RenderState& s = h.device.State();
    s.alphaBlendEnable = true;
    s.srcBlend = BlendFactor::SrcAlpha;
    s.destBlend = BlendFactor::InvSrcAlpha;
    s.colorOp = ColorOp::Modulate4X;
    h.graphics.DrawSprite(strip, 0.3f, 0.5f, 0.11875f, 1.0f, 0, 0.4f, 1, 1.4f, colour, SPRITE_WRAP);
    const auto& d = h.LastDraw();
    EXPECT_EQ(d.vertices[0].diffuse, 0x3F3F3F3Fu);
    EXPECT_EQ(d.state.colorOp, ColorOp::Modulate4X);
    EXPECT_TRUE(d.state.alphaBlendEnable);
    EXPECT_EQ(d.state.addressV, TextureAddress::Wrap);
    EXPECT_EQ(d.vertices[2].v, 0.4f);
    EXPECT_EQ(d.vertices[0].v, 1.4f);
    // The stage stays as it was set until someone puts it back.
    EXPECT_EQ(s.colorOp, ColorOp::Modulate4X);
    h.graphics.DrawSprite(strip, 0.3f, 0.5f, 0.1f, 0.1f, 0, 0, 1, 1, 0xFFFFFFFF, SPRITE_ALPHA);
    EXPECT_EQ(s.colorOp, ColorOp::Modulate);
}

TEST(SpriteDrawing, RotatedSpriteTurnsClockwiseBeforeScaling) {
    GraphicsHarness h;
    const float quarter = static_cast<float>(M_PI / 2);
    h.graphics.DrawSpriteRotated(nullptr, 0.5f, 0.5f, 0.1f, 0.2f, 0, 0xFFFFFFFF, 0);
    const auto& d0 = h.LastDraw();
    ASSERT_EQ(d0.vertices.size(), 6u);
    EXPECT_TRUE(d0.indices.empty());
    // No half-pixel shift: corners at 400 -/+ 40, 300 -/+ 60.
    EXPECT_FLOAT_EQ(d0.vertices[0].x, 360);
    EXPECT_FLOAT_EQ(d0.vertices[0].y, 240);
    EXPECT_EQ(d0.vertices[0].z, 0.0f);
    EXPECT_FLOAT_EQ(d0.vertices[1].x, 440);
    EXPECT_FLOAT_EQ(d0.vertices[2].y, 360);
    // Triangles 0,1,2 and 3,2,1.
    EXPECT_FLOAT_EQ(d0.vertices[3].x, 440);
    EXPECT_FLOAT_EQ(d0.vertices[3].y, 360);
    EXPECT_EQ(d0.vertices[4], d0.vertices[2]);
    EXPECT_EQ(d0.vertices[5], d0.vertices[1]);
    EXPECT_EQ(d0.vertices[3].u, 1.0f);
    EXPECT_EQ(d0.vertices[3].v, 1.0f);

    // A quarter turn: the top-left corner (-0.5, -0.5) goes to (0.5, -0.5) and is then scaled by the
    // unequal sides, so the picture is sheared: it lands at (400 + 40, 300 - 60), clockwise.
    h.graphics.DrawSpriteRotated(nullptr, 0.5f, 0.5f, 0.1f, 0.2f, quarter, 0xFFFFFFFF, 0);
    const auto& d1 = h.LastDraw();
    EXPECT_NEAR(d1.vertices[0].x, 440, 1e-3);
    EXPECT_NEAR(d1.vertices[0].y, 240, 1e-3);
    EXPECT_NEAR(d1.vertices[1].x, 440, 1e-3);
    EXPECT_NEAR(d1.vertices[1].y, 360, 1e-3);
}

TEST(SpriteDrawing, SheetFramesAndAnimation) {
    EXPECT_EQ(Graphics::FrameUV(1, 4, 2), (UVRect{0, 0, 0.25f, 0.5f}));
    EXPECT_EQ(Graphics::FrameUV(6, 4, 2), (UVRect{0.25f, 0.5f, 0.5f, 1}));
    EXPECT_EQ(Graphics::FrameUV(0, 4, 2), UVRect{});
    EXPECT_EQ(Graphics::FrameUV(9, 4, 2), UVRect{});
    EXPECT_EQ(Graphics::FrameUV(1, 0, 2), UVRect{});

    GraphicsHarness h;
    h.Picture("sheet.png", 256, 64);
    TextureHandle sheet = h.graphics.FindTexture("sheet.png");
    // Phase 0.5 of 8 frames: frame 5, the first cell of the second row.
    h.graphics.DrawAnimatedSprite(sheet, 0.5f, 0.5f, 0.1f, 0.1f, SPRITE_FRAME_PHASE | SPRITE_ALPHA, 4, 2,
                                  0.5f, 0xFFFFFFFF);
    const auto& d = h.LastDraw();
    EXPECT_EQ(d.vertices[2].u, 0.0f);
    EXPECT_EQ(d.vertices[2].v, 0.5f);
    EXPECT_EQ(d.vertices[1].u, 0.25f);
    EXPECT_EQ(d.vertices[1].v, 1.0f);
    EXPECT_EQ(d.state.srcBlend, BlendFactor::SrcAlpha);

    // Cycles per second from the clock: at 61.3 s, 2 cycles a second over 8 frames is frame
    // floor(61.3 x 8 x 2) mod 8 + 1 = 980 mod 8 + 1 = 5.
    h.clock.Set(61300);
    h.graphics.DrawAnimatedSprite(sheet, 0.5f, 0.5f, 0.1f, 0.1f, 0, 4, 2, 2.0f, 0xFFFFFFFF);
    EXPECT_EQ(h.LastDraw().vertices[2].u, 0.0f);
    EXPECT_EQ(h.LastDraw().vertices[2].v, 0.5f);

    // Own size: one frame's pixels (64 x 32), and the blend flags are dropped.
    h.device.State().alphaBlendEnable = false;
    h.graphics.DrawAnimatedSprite(sheet, 0.5f, 0.5f, 1, 1, SPRITE_FRAME_PHASE | SPRITE_OWN_SIZE | SPRITE_ADD,
                                  4, 2, 0, 0xFFFFFFFF);
    EXPECT_FLOAT_EQ(h.LastDraw().vertices[1].x - h.LastDraw().vertices[0].x, 64);
    EXPECT_FLOAT_EQ(h.LastDraw().vertices[0].y - h.LastDraw().vertices[2].y, 32);
    EXPECT_FALSE(h.LastDraw().state.alphaBlendEnable);

    // A sheet without columns or rows draws nothing; a negative speed still shows a real frame.
    size_t count = h.device.draws.size();
    h.graphics.DrawAnimatedSprite(sheet, 0.5f, 0.5f, 0.1f, 0.1f, 0, 0, 2, 1, 0xFFFFFFFF);
    h.graphics.DrawAnimatedSprite(sheet, 0.5f, 0.5f, 0.1f, 0.1f, 0, 4, 0, 1, 0xFFFFFFFF);
    EXPECT_EQ(h.device.draws.size(), count);
    h.graphics.DrawAnimatedSprite(sheet, 0.5f, 0.5f, 0.1f, 0.1f, SPRITE_FRAME_PHASE, 4, 2, -0.125f,
                                  0xFFFFFFFF);
    EXPECT_EQ(h.LastDraw().vertices[2].u, 0.75f);  // -1 wraps to the last frame
    EXPECT_EQ(h.LastDraw().vertices[2].v, 0.5f);
}

TEST(SpriteDrawing, DigitsStraddleTheCentre) {
    GraphicsHarness h;
    h.Picture("digits.png", 400, 60);  // 40 px a digit
    TextureHandle digits = h.graphics.FindTexture("digits.png");
    h.graphics.DrawDigits(digits, 0.5f, 0.5f, 1, 0xFFFFFFFF, "10", 1);
    ASSERT_EQ(h.device.draws.size(), 2u);
    const auto& one = h.device.draws[0];
    const auto& zero = h.device.draws[1];
    // "1" is half a digit left of x, "0" half a digit right of it.
    EXPECT_FLOAT_EQ(one.vertices[2].x, 400 - 40 - 0.5f);
    EXPECT_FLOAT_EQ(one.vertices[1].x, 400 - 0.5f);
    EXPECT_FLOAT_EQ(zero.vertices[2].x, 400 - 0.5f);
    EXPECT_FLOAT_EQ(zero.vertices[1].x, 440 - 0.5f);
    EXPECT_FLOAT_EQ(one.vertices[2].u, 0.1f);
    EXPECT_FLOAT_EQ(one.vertices[1].u, 0.2f);
    EXPECT_FLOAT_EQ(zero.vertices[2].u, 0.0f);
    EXPECT_FLOAT_EQ(zero.vertices[1].u, 0.1f);
    EXPECT_FLOAT_EQ(one.vertices[0].y - one.vertices[2].y, 60);
    EXPECT_TRUE(one.state.alphaBlendEnable);

    // Spacing 0.75: the pair is left of the centre.
    h.device.ForgetDraws();
    h.graphics.DrawDigits(digits, 0.5f, 0.5f, 0.75f, 0xFFFFFFFF, "10", 1);
    float leftEdge = h.device.draws[0].vertices[2].x + 0.5f;
    float rightEdge = h.device.draws[1].vertices[1].x + 0.5f;
    EXPECT_FLOAT_EQ(leftEdge, 360);
    EXPECT_FLOAT_EQ(rightEdge, 430);
    EXPECT_LT((leftEdge + rightEdge) / 2, 400);

    // A character that is no digit keeps its place and draws nothing; scale shrinks the digits.
    h.device.ForgetDraws();
    h.graphics.DrawDigits(digits, 0.5f, 0.5f, 1, 0xFFFFFFFF, "1:2", 0.5f);
    ASSERT_EQ(h.device.draws.size(), 2u);
    EXPECT_FLOAT_EQ(h.device.draws[0].vertices[2].x, 400 - 30 - 0.5f);
    EXPECT_FLOAT_EQ(h.device.draws[1].vertices[2].x, 400 + 10 - 0.5f);
    h.device.ForgetDraws();
    h.graphics.DrawDigits(nullptr, 0.5f, 0.5f, 1, 0xFFFFFFFF, "12", 1);
    EXPECT_TRUE(h.device.draws.empty());
}

TEST(SpriteDrawing, ProgressBarAtZeroHalfAndFull) {
    GraphicsHarness h;
    h.Picture("empty.png", 200, 20);
    h.Picture("full.png", 100, 10);
    TextureHandle empty = h.graphics.FindTexture("empty.png");
    TextureHandle full = h.graphics.FindTexture("full.png");

    auto quadArea = [](const RecordingRenderDevice::Draw& d) {
        return (d.vertices[1].x - d.vertices[0].x) * (d.vertices[0].y - d.vertices[2].y);
    };
    h.device.State().alphaBlendEnable = false;
    h.graphics.DrawProgressBar(empty, full, 0.5f, 0.5f, 0.25f, 0.1f, 0, BAR_HORIZONTAL);
    ASSERT_EQ(h.device.draws.size(), 2u);
    EXPECT_EQ(h.device.draws[0].state.texture, empty);
    EXPECT_TRUE(h.device.draws[0].state.alphaBlendEnable);
    EXPECT_EQ(h.device.draws[0].vertices[0].diffuse, 0xFFFFFFFFu);
    EXPECT_EQ(quadArea(h.device.draws[1]), 0.0f);  // nothing of the second picture shows
    EXPECT_FALSE(h.device.State().alphaBlendEnable);
    EXPECT_EQ(h.device.State().srcBlend, BlendFactor::SrcAlpha);

    h.device.ForgetDraws();
    h.graphics.DrawProgressBar(empty, full, 0.5f, 0.5f, 0.25f, 0.1f, 50, BAR_HORIZONTAL);
    const auto& half = h.device.draws[1];
    EXPECT_FLOAT_EQ(half.vertices[2].x, 300 - 0.5f);  // left edge of the bar
    EXPECT_FLOAT_EQ(half.vertices[1].x, 400 - 0.5f);  // half way
    EXPECT_FLOAT_EQ(half.vertices[1].u, 0.5f);

    h.device.ForgetDraws();
    h.graphics.DrawProgressBar(empty, full, 0.5f, 0.5f, 0.25f, 0.1f, 100, BAR_VERTICAL | BAR_HORIZONTAL);
    ASSERT_EQ(h.device.draws.size(), 3u);
    for (int i = 1; i <= 2; ++i) {  // each covers the first fully
        for (int k = 0; k < 4; ++k) {
            EXPECT_NEAR(h.device.draws[i].vertices[k].x, h.device.draws[0].vertices[k].x, 1e-3) << i;
            EXPECT_NEAR(h.device.draws[i].vertices[k].y, h.device.draws[0].vertices[k].y, 1e-3) << i;
            EXPECT_EQ(h.device.draws[i].vertices[k].u, h.device.draws[0].vertices[k].u) << i;
            EXPECT_EQ(h.device.draws[i].vertices[k].v, h.device.draws[0].vertices[k].v) << i;
        }
    }

    // Vertical at 50: the bottom half, from v 0.5 to 1. Own size takes the second picture's pixels.
    h.device.ForgetDraws();
    h.graphics.DrawProgressBar(empty, full, 0.5f, 0.5f, 1, 1, 50, BAR_VERTICAL | BAR_OWN_SIZE);
    const auto& bottom = h.device.draws[1];
    EXPECT_FLOAT_EQ(bottom.vertices[2].y, 300 - 0.5f);
    EXPECT_FLOAT_EQ(bottom.vertices[0].y, 305 - 0.5f);
    EXPECT_FLOAT_EQ(bottom.vertices[2].v, 0.5f);
    EXPECT_FLOAT_EQ(h.device.draws[0].vertices[1].x - h.device.draws[0].vertices[0].x, 100);
}

TEST(SpriteDrawing, StepClampedClampsOnlyInTheDirectionOfTravel) {
    float v = 0.9f;
    Graphics::StepClamped(&v, 2, 0.1f);
    EXPECT_EQ(v, 1.0f);
    v = 0.1f;
    Graphics::StepClamped(&v, -2, 0.1f);
    EXPECT_EQ(v, 0.0f);
    v = 1.5f;
    Graphics::StepClamped(&v, 0, 0.1f);
    EXPECT_EQ(v, 1.5f);
    v = -0.5f;
    Graphics::StepClamped(&v, 1, 0.1f);
    EXPECT_FLOAT_EQ(v, -0.4f);
}

}  // namespace
}  // namespace tamblor
