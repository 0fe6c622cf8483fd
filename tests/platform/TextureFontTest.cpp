#include <gtest/gtest.h>

#include "graphics/RecordingRenderDevice.h"
#include "platform/TextureFont.h"

namespace tamblor {
namespace {

TEST(TextureFont, AtlasFollowsTheCharacterLayout) {
    RecordingRenderDevice device;
    TextureFont status("Arial", 12);
    ASSERT_EQ(status.InitDeviceObjects(device), 0) << "no font file found";
    EXPECT_NE(status.FontFile().find("LiberationSans-Regular"), std::string::npos) << status.FontFile();
    EXPECT_EQ(status.PixelHeight(), 16);
    EXPECT_EQ(status.TextureWidth(), 256);
    TextureFont big("Arial", 15);
    ASSERT_EQ(big.InitDeviceObjects(device), 0);
    EXPECT_EQ(big.PixelHeight(), 20);
    EXPECT_EQ(big.TextureWidth(), 256);
    TextureFont larger("Arial", 21);
    ASSERT_EQ(larger.InitDeviceObjects(device), 0);
    EXPECT_EQ(larger.PixelHeight(), 28);
    EXPECT_EQ(larger.TextureWidth(), 512);
    TextureFont huge("Arial", 41);
    ASSERT_EQ(huge.InitDeviceObjects(device), 0);
    EXPECT_EQ(huge.TextureWidth(), 1024);

    // Characters left to right from the corner, one pixel apart, a new row one line plus a pixel lower.
    const float w = static_cast<float>(big.TextureWidth());
    EXPECT_EQ(big.Rect(32).left, 0.0f);
    EXPECT_EQ(big.Rect(32).top, 0.0f);
    float lineHeight = (big.Rect(32).bottom - big.Rect(32).top) * w;
    EXPECT_GE(lineHeight, 20.0f);
    EXPECT_LE(lineHeight, 25.0f);
    bool wrapped = false;
    for (int c = 33; c <= 126; ++c) {
        const auto& prev = big.Rect(c - 1);
        const auto& cur = big.Rect(c);
        if (cur.top == prev.top) {
            EXPECT_FLOAT_EQ(cur.left * w, prev.right * w + 1) << c;
        } else {
            wrapped = true;
            EXPECT_EQ(cur.left, 0.0f) << c;
            EXPECT_FLOAT_EQ(cur.top * w, prev.top * w + lineHeight + 1) << c;
            EXPECT_GT(prev.right * w + 1 + (cur.right - cur.left) * w, w) << c;  // it would not have fit
        }
        EXPECT_GT(cur.right, cur.left) << c;
    }
    EXPECT_TRUE(wrapped);

    // White with sixteen levels of alpha; transparent pixels are all zero.
    const auto* texture = static_cast<const RecordingRenderDevice::RecordedTexture*>(big.AtlasTexture());
    ASSERT_NE(texture, nullptr);
    bool someInk = false;
    for (size_t i = 0; i < texture->pixels.size(); i += 4) {
        uint8_t a = texture->pixels[i + 3];
        ASSERT_EQ(a % 17, 0) << i;
        uint8_t expected = a == 0 ? 0 : 255;
        ASSERT_EQ(texture->pixels[i], expected) << i;
        someInk = someInk || a == 255;
    }
    EXPECT_TRUE(someInk);

    // Faces that are not installed fall back to the Arial look-alike; bold has its own file.
    EXPECT_EQ(TextureFont::FontFileFor("No Such Face", 0), TextureFont::FontFileFor("Arial", 0));
    EXPECT_NE(TextureFont::FontFileFor("Arial", TextureFont::kBold).find("Bold"), std::string::npos);
    TextureFont empty("Arial", 0);
    EXPECT_NE(empty.InitDeviceObjects(device), 0);
    EXPECT_EQ(empty.DrawText(0, 0, 0xFFFFFFFF, "A"), static_cast<int32_t>(0x80004005u));
}

TEST(TextureFont, ExtentAndDrawingSkipWhatHasNoGlyph) {
    RecordingRenderDevice device;
    TextureFont font("Arial", 12);
    ASSERT_EQ(font.InitDeviceObjects(device), 0);
    PixelSize a = font.GetTextExtent("A");
    PixelSize line = font.GetTextExtent("");
    EXPECT_EQ(line.width, 0);
    EXPECT_GT(a.width, 5);
    EXPECT_EQ(a.height, line.height);
    EXPECT_EQ(font.GetTextExtent("AA").width, 2 * a.width);
    // Bytes outside 32..126 take no room; a new line starts a row and the widest row wins.
    EXPECT_EQ(font.GetTextExtent("A\x01\x7f\xe9\tA").width, 2 * a.width);
    PixelSize two = font.GetTextExtent("AAA\nA");
    EXPECT_EQ(two.width, 3 * a.width);
    EXPECT_EQ(two.height, 2 * line.height);

    RenderState& state = device.State();
    state.alphaBlendEnable = false;
    state.srcBlend = BlendFactor::One;
    state.colorOp = ColorOp::Modulate4X;
    state.addressU = TextureAddress::Wrap;
    RenderState before = state;
    ASSERT_EQ(font.DrawText(10, 20, 0xFFFF0000,
                            "A \xe9"
                            "A\nA",
                            0),
              0);
    ASSERT_EQ(device.draws.size(), 1u);
    const auto& d = device.draws[0];
    ASSERT_EQ(d.vertices.size(), 18u);  // three glyphs; the blank advances, the odd byte is skipped
    EXPECT_EQ(d.vertices[1].x, 9.5f);
    EXPECT_EQ(d.vertices[1].y, 19.5f);
    float space = font.GetTextExtent(" ").width;
    EXPECT_FLOAT_EQ(d.vertices[7].x, 9.5f + a.width + space);
    EXPECT_FLOAT_EQ(d.vertices[13].x, 9.5f);  // next line back at x
    EXPECT_FLOAT_EQ(d.vertices[13].y, 19.5f + line.height);
    EXPECT_FLOAT_EQ(d.vertices[0].y - d.vertices[1].y, static_cast<float>(line.height));
    EXPECT_EQ(d.vertices[0].diffuse, 0xFFFF0000u);
    EXPECT_TRUE(d.state.alphaBlendEnable);
    EXPECT_EQ(d.state.srcBlend, BlendFactor::SrcAlpha);
    EXPECT_EQ(d.state.destBlend, BlendFactor::InvSrcAlpha);
    EXPECT_EQ(d.state.colorOp, ColorOp::Modulate);
    EXPECT_EQ(d.state.magFilter, TextureFilter::Point);
    EXPECT_EQ(d.state.texture, font.AtlasTexture());
    EXPECT_EQ(state, before);

    font.DrawText(0, 0, 0xFFFFFFFF, "A", TextureFont::kFiltered);
    EXPECT_EQ(device.draws.back().state.magFilter, TextureFilter::Linear);

    font.InvalidateDeviceObjects();
    font.DeleteDeviceObjects();
    EXPECT_EQ(font.DrawText(0, 0, 0xFFFFFFFF, "A"), static_cast<int32_t>(0x80004005u));
}

}  // namespace
}  // namespace tamblor
