#include <gtest/gtest.h>

#include "GraphicsHarness.h"
#include "platform/TextureFont.h"

namespace tamblor {
namespace {

using test::GraphicsHarness;

size_t Count(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t pos = text.find(what); pos != std::string::npos; pos = text.find(what, pos + 1)) ++n;
    return n;
}

// Pixel centre of a recorded DrawSprite quad (undoing the half-pixel shift).
float CentreX(const RecordingRenderDevice::Draw& d) {
    return (d.vertices[0].x + d.vertices[1].x) / 2 + 0.5f;
}

struct FontHarness : GraphicsHarness {
    FontHarness() {
        Picture("Graphics\\font01.png", 512, 256);  // 32 x 32 cells
        LanguageFile(
            "SymbolList=AB C\r\nLine01_Width=8,16,4,12\r\nLine02_Width=4,x,5\r\n"
            "Hello=AB\r\nHint=English\\hint1.png\r\n");
        graphics.fontCellsExact = 1;
        graphics.LoadSymbolWidths("Graphics\\font01.png");
    }
};

TEST(TextDrawing, SymbolWidthsFromLanguageFile) {
    FontHarness h;
    EXPECT_EQ(h.graphics.SymbolList(), "AB C");
    EXPECT_EQ(h.graphics.SymbolIndex('C'), 3);
    EXPECT_EQ(h.graphics.SymbolIndex(' '), 2);
    EXPECT_EQ(h.graphics.SymbolIndex('z'), -1);
    EXPECT_NE(h.graphics.FontTexture(), nullptr);
    EXPECT_FLOAT_EQ(h.graphics.SymbolWidth(0), 0.5f);
    EXPECT_FLOAT_EQ(h.graphics.SymbolWidth(1), 1.0f);
    EXPECT_FLOAT_EQ(h.graphics.SymbolWidth(3), 0.75f);
    EXPECT_FLOAT_EQ(h.graphics.SymbolWidth(4), 0.0f);
    // Row 2 stops at the piece that is no number; rows 3 to 8 are missing.
    EXPECT_FLOAT_EQ(h.graphics.SymbolWidth(16), 0.25f);
    EXPECT_FLOAT_EQ(h.graphics.SymbolWidth(18), 0.0f);
    EXPECT_EQ(Count(h.LogText(), "12:00:00 : Can't load symbol width from 'language.ini'\n"), 7u);

    // A second call takes the symbol list again but keeps the widths.
    h.LanguageFile("SymbolList=CBA\r\nLine01_Width=1,1,1\r\n");
    h.graphics.LoadSymbolWidths("Graphics\\font01.png");
    EXPECT_EQ(h.graphics.SymbolIndex('C'), 0);
    EXPECT_FLOAT_EQ(h.graphics.SymbolWidth(0), 0.5f);
    EXPECT_EQ(Count(h.LogText(), "Can't load symbol width"), 7u);

    // A list longer than the sheet: symbols past the 128th exist but have no width.
    GraphicsHarness g;
    g.LanguageFile("SymbolList=" + std::string(127, '.') + "QRS\r\n");
    g.graphics.LoadSymbolWidths("none.png");
    EXPECT_EQ(g.graphics.SymbolIndex('S'), 129);
    EXPECT_EQ(g.graphics.SymbolWidth(129), 0.0f);
    EXPECT_EQ(g.graphics.FontTexture(), nullptr);
    // No sheet: bitmap texts draw nothing.
    EXPECT_EQ(g.graphics.DrawString(0.5f, 0.5f, 0.1f, 0xFFFFFFFF, 0, "QRS"), 0);
    EXPECT_TRUE(g.device.draws.empty());
}

TEST(TextDrawing, BitmapGlyphCentresAndCells) {
    FontHarness h;
    // gw = 0.1 x (32/800) / (32/600) = 0.075 (60 px). Advances: A 30, B 60, z (unknown) 60, C 45 px.
    EXPECT_EQ(h.graphics.DrawString(0.25f, 0.5f, 0.1f, 0xFF00FF00, 0, "ABzC"), 0);
    ASSERT_EQ(h.device.draws.size(), 3u);
    EXPECT_NEAR(CentreX(h.device.draws[0]), 200 + 15, 1e-3);
    EXPECT_NEAR(CentreX(h.device.draws[1]), 200 + 60, 1e-3);
    EXPECT_NEAR(CentreX(h.device.draws[2]), 200 + 172.5, 1e-3);
    const auto& c = h.device.draws[2];
    // Every glyph quad is a full cell wide and size high.
    EXPECT_NEAR(c.vertices[1].x - c.vertices[0].x, 60, 1e-3);
    EXPECT_NEAR(c.vertices[0].y - c.vertices[2].y, 60, 1e-3);
    EXPECT_FLOAT_EQ(c.vertices[2].u, 3.0f / 16);
    EXPECT_FLOAT_EQ(c.vertices[1].u, 3.94f / 16);
    EXPECT_FLOAT_EQ(c.vertices[2].v, 0.0f);
    EXPECT_FLOAT_EQ(c.vertices[1].v, 1.0f / 8);
    EXPECT_EQ(c.vertices[0].diffuse, 0xFF00FF00u);
    for (const auto& d : h.device.draws) {
        EXPECT_TRUE(d.state.alphaBlendEnable);
        EXPECT_EQ(d.state.srcBlend, BlendFactor::SrcAlpha);
        EXPECT_EQ(d.state.destBlend, BlendFactor::InvSrcAlpha);
        EXPECT_EQ(d.state.texture, h.graphics.FontTexture());
    }

    // Centred: total 195 px; right-aligned ends at x, also when centring is asked as well.
    h.device.ForgetDraws();
    h.graphics.DrawString(0.25f, 0.5f, 0.1f, 0xFFFFFFFF, TEXT_CENTER, "ABzC");
    EXPECT_NEAR(CentreX(h.device.draws[0]), 200 - 97.5f + 15, 1e-3);
    h.device.ForgetDraws();
    h.graphics.DrawString(0.25f, 0.5f, 0.1f, 0xFFFFFFFF, TEXT_RIGHT | TEXT_CENTER, "ABzC");
    EXPECT_NEAR(CentreX(h.device.draws[0]), 200 - 195 + 15, 1e-3);
    EXPECT_NEAR(CentreX(h.device.draws[2]), 200 - 195 + 172.5f, 1e-3);

    // A key with a language text draws the text.
    h.device.ForgetDraws();
    h.graphics.DrawString(0.25f, 0.5f, 0.1f, 0xFFFFFFFF, 0, "Hello");
    ASSERT_EQ(h.device.draws.size(), 2u);
    EXPECT_FLOAT_EQ(h.device.draws[1].vertices[2].u, 1.0f / 16);

    // While the intro is drawn the top 8 % of each cell is left out.
    h.graphics.fontCellsExact = 0;
    h.device.ForgetDraws();
    h.graphics.DrawString(0.25f, 0.5f, 0.1f, 0xFFFFFFFF, 0, "C");
    EXPECT_FLOAT_EQ(h.device.draws[0].vertices[2].v, 0.08f / 8);
}

TEST(TextDrawing, BitmapTextLeavesBlendingOff) {
    FontHarness h;
    RenderState& s = h.device.State();
    s.alphaBlendEnable = true;
    s.srcBlend = BlendFactor::One;
    s.destBlend = BlendFactor::One;
    s.colorOp = ColorOp::Add;
    h.graphics.DrawString(0.5f, 0.5f, 0.05f, 0xFFFFFFFF, 0, "A");
    EXPECT_EQ(h.LastDraw().state.colorOp, ColorOp::Modulate);
    // A sprite without blend flags afterwards is drawn opaque.
    h.graphics.DrawSprite(nullptr, 0.5f, 0.5f, 0.1f, 0.1f, 0, 0, 1, 1, 0x80FFFFFF, 0);
    const RenderState& seen = h.LastDraw().state;
    EXPECT_FALSE(seen.alphaBlendEnable);
    EXPECT_EQ(seen.srcBlend, BlendFactor::SrcAlpha);
    EXPECT_EQ(seen.destBlend, BlendFactor::InvSrcAlpha);
    EXPECT_EQ(seen.colorOp, ColorOp::Modulate);
}

TEST(TextDrawing, TextsNamingPictures) {
    FontHarness h;
    h.Picture("English\\hint1.png", 300, 150);
    // size high, as wide as the proportions give on a 4:3 client: 0.2 x 2 x 0.75 = 0.3 (240 px).
    EXPECT_EQ(h.graphics.DrawString(0.1f, 0.5f, 0.2f, 0xFFFFFFFF, 0, "English\\hint1.png"), 0);
    const auto& d = h.LastDraw();
    EXPECT_NEAR(d.vertices[2].x, 80 - 0.5f, 1e-3);
    EXPECT_NEAR(d.vertices[1].x, 320 - 0.5f, 1e-3);
    EXPECT_NEAR(d.vertices[2].y, 240 - 0.5f, 1e-3);
    EXPECT_NEAR(d.vertices[0].y, 360 - 0.5f, 1e-3);
    EXPECT_EQ(d.vertices[1].u, 1.0f);
    EXPECT_TRUE(d.state.alphaBlendEnable);
    EXPECT_EQ(d.state.srcBlend, BlendFactor::SrcAlpha);

    // Through a language key, centred and right-aligned; right wins.
    h.graphics.DrawString(0.1f, 0.5f, 0.2f, 0xFFFFFFFF, TEXT_CENTER, "Hint");
    EXPECT_NEAR(CentreX(h.LastDraw()), 80, 1e-3);
    h.graphics.DrawString(0.1f, 0.5f, 0.2f, 0xFFFFFFFF, TEXT_CENTER | TEXT_RIGHT | TEXT_BIG_FONT, "Hint");
    EXPECT_NEAR(CentreX(h.LastDraw()), 80 - 120, 1e-3);
    // Own size: the picture's pixels.
    h.graphics.DrawString(0.5f, 0.5f, 0.2f, 0xFFFFFFFF, TEXT_CENTER | TEXT_IMAGE_OWN_SIZE, "Hint");
    EXPECT_NEAR(h.LastDraw().vertices[1].x - h.LastDraw().vertices[0].x, 300, 1e-3);
    EXPECT_NEAR(h.LastDraw().vertices[0].y - h.LastDraw().vertices[2].y, 150, 1e-3);

    // A picture that is missing draws nothing; ".jpg" is no picture text.
    size_t count = h.device.draws.size();
    EXPECT_EQ(h.graphics.DrawString(0.5f, 0.5f, 0.2f, 0xFFFFFFFF, 0, "English\\hint9.tga"), 0);
    h.Picture("photo.jpg", 10, 10);
    h.graphics.DrawString(0.5f, 0.5f, 0.2f, 0xFFFFFFFF, 0, "photo.jpg");
    EXPECT_EQ(h.device.draws.size(), count);
    EXPECT_EQ(h.graphics.FindTexture("English\\hint9.tga"), nullptr);
}

TEST(TextDrawing, BigFontText) {
    FontHarness h;
    EXPECT_EQ(h.graphics.DrawString(0.5f, 0.5f, 0.04f, 0xFFFFFFFF, TEXT_BIG_FONT, "AB"), E_FAIL_CODE);
    EXPECT_TRUE(h.device.draws.empty());

    h.graphics.CreateBigFont("Arial", 0.025f);
    TextureFont* font = h.graphics.BigFont();
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font->PixelHeight(), 20);  // 15 points at 96 dots per inch
    TextureFont* same = font;
    h.graphics.CreateBigFont("Arial", 0.05f);  // only while there is none
    EXPECT_EQ(h.graphics.BigFont(), same);

    RenderState before = h.device.State();
    PixelSize extent = font->GetTextExtent("AB");
    EXPECT_EQ(h.graphics.DrawString(0.5f, 0.5f, 0.04f, 0xFF112233, TEXT_BIG_FONT | TEXT_CENTER, "AB"), 0);
    const auto& d = h.LastDraw();
    ASSERT_EQ(d.vertices.size(), 12u);
    // Top-left corner of the first glyph, centred on (400, 300).
    EXPECT_FLOAT_EQ(d.vertices[1].x, 400.0f - extent.width / 2 - 0.5f);
    EXPECT_FLOAT_EQ(d.vertices[1].y, 300.0f - extent.height / 2 - 0.5f);
    EXPECT_EQ(d.vertices[1].diffuse, 0xFF112233u);
    EXPECT_EQ(d.state.minFilter, TextureFilter::Linear);
    EXPECT_TRUE(d.state.alphaBlendEnable);
    EXPECT_EQ(h.device.State(), before);

    h.graphics.DrawString(0.5f, 0.5f, 0.04f, 0xFF112233, TEXT_BIG_FONT | TEXT_RIGHT | TEXT_CENTER, "AB");
    EXPECT_FLOAT_EQ(h.LastDraw().vertices[1].x, 400.0f - extent.width - 0.5f);

    h.graphics.ReleaseBigFont();
    EXPECT_EQ(h.graphics.BigFont(), nullptr);
    EXPECT_EQ(h.graphics.DrawString(0.5f, 0.5f, 0.04f, 0xFFFFFFFF, TEXT_BIG_FONT, "AB"), E_FAIL_CODE);
}

}  // namespace
}  // namespace tamblor
