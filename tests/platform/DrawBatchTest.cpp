#include <gtest/gtest.h>

#include <vector>

#include "platform/DrawBatch.h"

namespace tamblor {
namespace {

// A quad as the sprite drawing makes it: pixel rectangle, texture coordinates 0..1, two triangles that
// turn clockwise on screen (index list 2, 3, 0, 1, 0, 3).
struct Quad {
    Vertex v[4];
    explicit Quad(float left, float top, float right, float bottom) {
        v[0] = {left, bottom, 0, 1, 0xFFFFFFFF, 0, 0, 1};
        v[1] = {right, bottom, 0, 1, 0xFFFFFFFF, 0, 1, 1};
        v[2] = {left, top, 0, 1, 0xFFFFFFFF, 0, 0, 0};
        v[3] = {right, top, 0, 1, 0xFFFFFFFF, 0, 1, 0};
    }
    static constexpr uint16_t kIndices[6] = {2, 3, 0, 1, 0, 3};
};

TEST(DrawBatch, JoinsOnlyDrawsThatLookTheSameToTheGpu) {
    Texture a(8, 8), b(8, 8);
    Texture page(64, 32);
    Texture inPage1(8, 8, page, 0, 0), inPage2(16, 8, page, 16, 8);
    RenderState base;
    base.texture = &a;
    struct Case {
        const char* what;
        void (*change)(RenderState&, Texture& b, Texture& p1, Texture& p2);
        bool joins;
    };
    const Case cases[] = {
        {"same state", [](RenderState&, Texture&, Texture&, Texture&) {}, true},
        {"cull mode (culling is done on the CPU)",
         [](RenderState& s, Texture&, Texture&, Texture&) { s.cullMode = CullMode::None; }, true},
        {"blend factors while blending is off",
         [](RenderState& s, Texture&, Texture&, Texture&) { s.srcBlend = BlendFactor::SrcAlpha; }, true},
        {"other texture", [](RenderState& s, Texture& b, Texture&, Texture&) { s.texture = &b; }, false},
        {"blending on", [](RenderState& s, Texture&, Texture&, Texture&) { s.alphaBlendEnable = true; },
         false},
        {"colour operation",
         [](RenderState& s, Texture&, Texture&, Texture&) { s.colorOp = ColorOp::Modulate4X; }, false},
        {"filter", [](RenderState& s, Texture&, Texture&, Texture&) { s.magFilter = TextureFilter::Linear; },
         false},
        {"addressing",
         [](RenderState& s, Texture&, Texture&, Texture&) { s.addressV = TextureAddress::Clamp; }, false},
    };
    for (const Case& c : cases) {
        DrawBatch batch;
        Quad q(0, 0, 8, 8);
        batch.Add(base, q.v, 4, Quad::kIndices, 6);
        RenderState next = base;
        c.change(next, b, inPage1, inPage2);
        EXPECT_EQ(batch.Joins(next), c.joins) << c.what;
    }
    // Two pictures of one page join; their page is what is bound.
    DrawBatch batch;
    RenderState s1 = base, s2 = base;
    s1.texture = &inPage1;
    s2.texture = &inPage2;
    Quad q(0, 0, 8, 8);
    batch.Add(s1, q.v, 4, Quad::kIndices, 6);
    EXPECT_TRUE(batch.Joins(s2));
    EXPECT_EQ(batch.State().texture, &page);
    // Nor does the addressing of a packed picture, whose gutter stands in for clamping.
    s2.addressU = s2.addressV = TextureAddress::Clamp;
    EXPECT_TRUE(batch.Joins(s2));
    // Without a texture the sampling settings do not matter.
    DrawBatch plain;
    RenderState none;
    plain.Add(none, q.v, 4, Quad::kIndices, 6);
    none.minFilter = TextureFilter::Linear;
    none.addressU = TextureAddress::Clamp;
    EXPECT_TRUE(plain.Joins(none));
}

TEST(DrawBatch, CullsTrianglesAndMovesCoordinatesIntoThePage) {
    Texture page(64, 32);
    Texture picture(16, 8, page, 16, 8);
    RenderState state;
    state.texture = &picture;
    DrawBatch batch;
    Quad q(10, 20, 26, 28);
    batch.Add(state, q.v, 4, Quad::kIndices, 6);
    ASSERT_EQ(batch.Vertices().size(), 6u);
    // Index 2 first: the top-left corner, texture (0, 0) of the picture = (16/64, 8/32) of the page.
    EXPECT_FLOAT_EQ(batch.Vertices()[0].u, 0.25f);
    EXPECT_FLOAT_EQ(batch.Vertices()[0].v, 0.25f);
    // Index 3: top-right, (1, 0) -> (32/64, 8/32).
    EXPECT_FLOAT_EQ(batch.Vertices()[1].u, 0.5f);
    EXPECT_FLOAT_EQ(batch.Vertices()[1].v, 0.25f);
    // Index 0: bottom-left, (0, 1) -> (16/64, 16/32).
    EXPECT_FLOAT_EQ(batch.Vertices()[2].v, 0.5f);
    EXPECT_EQ(batch.Vertices()[0].x, 10.0f);

    // A mirrored quad turns the other way: dropped with counter-clockwise culling, kept without; a
    // triangle without area is dropped either way.
    Quad mirrored(26, 20, 10, 28);
    DrawBatch culled;
    RenderState ccw;
    ccw.cullMode = CullMode::CounterClockwise;
    culled.Add(ccw, mirrored.v, 4, Quad::kIndices, 6);
    EXPECT_TRUE(culled.Empty());
    ccw.cullMode = CullMode::Clockwise;
    culled.Add(ccw, q.v, 4, Quad::kIndices, 6);
    EXPECT_TRUE(culled.Empty());
    ccw.cullMode = CullMode::None;
    culled.Add(ccw, mirrored.v, 4, Quad::kIndices, 6);
    EXPECT_EQ(culled.Vertices().size(), 6u);
    Vertex flat[3] = {{0, 0}, {5, 5}, {10, 10}};
    culled.Add(ccw, flat, 3, nullptr, 0);
    EXPECT_EQ(culled.Vertices().size(), 6u);
}

TEST(DrawBatch, ValidTriangleLists) {
    Vertex v[4];
    uint16_t good[6] = {0, 1, 2, 2, 1, 3};
    uint16_t outside[3] = {0, 1, 4};
    EXPECT_TRUE(DrawBatch::Valid(v, 3, nullptr, 0));
    EXPECT_FALSE(DrawBatch::Valid(v, 4, nullptr, 0));
    EXPECT_FALSE(DrawBatch::Valid(nullptr, 3, nullptr, 0));
    EXPECT_TRUE(DrawBatch::Valid(v, 4, good, 6));
    EXPECT_FALSE(DrawBatch::Valid(v, 4, good, 5));
    EXPECT_FALSE(DrawBatch::Valid(v, 4, outside, 3));
}

}  // namespace
}  // namespace tamblor
