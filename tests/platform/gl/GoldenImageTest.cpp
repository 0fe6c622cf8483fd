// Whole pictures drawn through real OpenGL, compared with the images in tests/golden.
#include <gtest/gtest.h>

#include <cmath>

#include "GlHarness.h"
#include "GoldenImage.h"
#include "platform/TextureFont.h"
#include "platform/gl/PngFile.h"

namespace tamblor {
namespace {

using test::GlHarness;

// A 32 x 32 disc: colour gradient, alpha falling off from the centre to nothing at the rim.
std::vector<uint8_t> Disc() {
    std::vector<uint8_t> p;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            double r = std::hypot(x - 15.5, y - 15.5) / 16.0;
            int a = r >= 1 ? 0 : static_cast<int>(255 * (1 - r * r));
            p.insert(p.end(), {static_cast<uint8_t>(x * 8), static_cast<uint8_t>(y * 8), 160,
                               static_cast<uint8_t>(a)});
        }
    }
    return p;
}

std::vector<uint8_t> Checker(int size, int cell) {
    std::vector<uint8_t> p;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            uint8_t v = ((x / cell + y / cell) % 2) ? 200 : 90;
            p.insert(p.end(), {v, v, static_cast<uint8_t>(v / 2), 255});
        }
    }
    return p;
}

// 4 x 2 frames of 16 x 16, each its own colour with a bright frame number of dots.
std::vector<uint8_t> Sheet() {
    std::vector<uint8_t> p(64 * 32 * 4);
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 64; ++x) {
            int frame = (y / 16) * 4 + x / 16;
            bool dot = (y % 16) == 8 && (x % 16) >= 2 && (x % 16) < 2 + 2 * (frame + 1) && (x % 2) == 0;
            uint8_t* px = &p[(y * 64 + x) * 4];
            px[0] = dot ? 255 : static_cast<uint8_t>(frame * 30);
            px[1] = dot ? 255 : static_cast<uint8_t>(240 - frame * 30);
            px[2] = dot ? 255 : 60;
            px[3] = 255;
        }
    }
    return p;
}

std::vector<uint8_t> Solid(int w, int h, uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
    std::vector<uint8_t> p;
    for (int i = 0; i < w * h; ++i) p.insert(p.end(), {r, g, b, a});
    return p;
}

TEST(GoldenImage, SpriteTestCard) {
    GlHarness h(192, 144);
    ASSERT_TRUE(h.Ready()) << h.Why();
    Graphics& g = h.graphics;
    RenderState& s = h.device->State();
    TextureHandle checker = h.MakeTexture(8, 8, Checker(8, 4));
    TextureHandle disc = h.MakeTexture(32, 32, Disc());
    TextureHandle sheet = h.MakeTexture(64, 32, Sheet());
    TextureHandle white = h.MakeTexture(2, 2, Solid(2, 2, 255, 255, 255, 255));
    std::vector<uint8_t> small = Checker(4, 1);
    small[0] = 255;
    small[1] = 0;
    TextureHandle tiny = h.MakeTexture(4, 4, small);
    TextureHandle barEmpty = h.MakeTexture(32, 8, Solid(32, 8, 40, 40, 120, 255));
    TextureHandle barFull = h.MakeTexture(32, 8, Solid(32, 8, 250, 180, 0, 200));

    // Tiled background, texels picked.
    s.alphaBlendEnable = false;
    s.minFilter = s.magFilter = TextureFilter::Point;
    g.DrawSprite(checker, 0.5f, 0.5f, 1, 1, 0, 0, 12, 9, 0xFFFFFFFF, SPRITE_WRAP);
    s.minFilter = s.magFilter = TextureFilter::Linear;

    // Row 1: the blend flags.
    g.DrawSprite(disc, 0.12f, 0.2f, 0.16f, 0.2f, 0, 0, 1, 1, 0xFFFFFFFF, SPRITE_ALPHA);
    g.DrawSprite(disc, 0.30f, 0.2f, 0.16f, 0.2f, 0, 0, 1, 1, 0xFFFFFFFF, SPRITE_ADD);
    g.DrawSprite(disc, 0.48f, 0.2f, 0.16f, 0.2f, 0, 0, 1, 1, 0xFFFFFFFF, SPRITE_DARKEN);
    g.DrawSprite(disc, 0.66f, 0.2f, 0.16f, 0.2f, 0, 0, 1, 1, 0xFFFFFFFF, SPRITE_ALPHA | SPRITE_TINT);
    g.DrawSprite(disc, 0.84f, 0.2f, 0, 0, 0, 0, 1, 1, 0xFFFF8080, SPRITE_ALPHA | SPRITE_OWN_SIZE);

    // Row 2: the stage operations, a rotated sprite, an untextured quad, a sheet frame.
    s.alphaBlendEnable = true;
    s.srcBlend = BlendFactor::SrcAlpha;
    s.destBlend = BlendFactor::InvSrcAlpha;
    s.colorOp = ColorOp::Modulate4X;
    g.DrawSprite(white, 0.12f, 0.5f, 0.1f, 0.25f, 0, 0, 1, 1, 0x3F3F3F3F, SPRITE_WRAP);
    g.DrawSprite(disc, 0.22f, 0.5f, 0.1f, 0.25f, 0, 0, 1, 1, 0xC0404040, 0);
    s.colorOp = ColorOp::Add;
    g.DrawSprite(disc, 0.34f, 0.5f, 0.12f, 0.2f, 0, 0, 1, 1, 0xFF402000, 0);
    s.colorOp = ColorOp::Modulate;
    s.alphaBlendEnable = false;
    g.DrawSpriteRotated(disc, 0.5f, 0.5f, 0.15f, 0.2f, 0.5236f, 0xFFFFFFFF, SPRITE_ALPHA);
    g.DrawSprite(nullptr, 0.66f, 0.5f, 0.1f, 0.15f, 0, 0, 1, 1, 0x80FF8000, SPRITE_ALPHA);
    g.DrawAnimatedSprite(sheet, 0.84f, 0.5f, 0.15f, 0.2f, SPRITE_FRAME_PHASE, 4, 2, 0.5f, 0xFFFFFFFF);

    // Row 3: point against linear magnification, a progress bar, and what a sprite without blend
    // flags looks like after it (opaque).
    s.minFilter = s.magFilter = TextureFilter::Point;
    g.DrawSprite(tiny, 0.12f, 0.8f, 0.16f, 0.2f, 0, 0, 1, 1, 0xFFFFFFFF, 0);
    s.minFilter = s.magFilter = TextureFilter::Linear;
    g.DrawSprite(tiny, 0.30f, 0.8f, 0.16f, 0.2f, 0, 0, 1, 1, 0xFFFFFFFF, 0);
    g.DrawProgressBar(barEmpty, barFull, 0.56f, 0.8f, 0.3f, 0.1f, 60, BAR_HORIZONTAL);
    g.DrawSprite(disc, 0.86f, 0.8f, 0.16f, 0.2f, 0, 0, 1, 1, 0xFFFFFFFF, 0);

    // The scene fade over everything.
    g.DrawSprite(nullptr, 0.5f, 0.5f, 1, 1, 0, 0, 1, 1, 0x20202020, SPRITE_DARKEN);
    h.device->Present();
    EXPECT_TRUE(test::MatchesGolden("sprite-test-card", 192, 144, h.Pixels(), h.device->Renderer()));
}

// A font sheet of 32 x 32 cells whose glyphs are bars as wide as the symbol's width, notched by the
// bits of the cell number, so every symbol looks different.
std::vector<uint8_t> FontSheet(const std::vector<int>& widths) {
    std::vector<uint8_t> p(512 * 256 * 4, 0);
    for (int k = 0; k < 128; ++k) {
        int cx = (k % 16) * 32;
        int cy = (k / 16) * 32;
        int w = std::max(0, widths[k] * 2 - 4);
        for (int y = 4; y < 28; ++y) {
            for (int x = 15 - w / 2; x < 15 - w / 2 + w; ++x) {
                int bit = (y - 4) / 3;
                bool notch = bit < 7 && ((k >> bit) & 1) && (x - (15 - w / 2)) >= w / 3;
                uint8_t* px = &p[((cy + y) * 512 + cx + x) * 4];
                px[0] = px[1] = px[2] = 255;
                px[3] = notch ? 60 : 255;
            }
        }
    }
    return p;
}

TEST(GoldenImage, BitmapFontText) {
    GlHarness h(256, 96);
    ASSERT_TRUE(h.Ready()) << h.Why();
    const char* rows[8] = {"4,6,10,8,13,11,3,6,6,8,9,5,5,4,6,9",    "8,8,8,9,8,9,8,8,8,4,5,9,9,9,7,12",
                           "10,9,9,10,8,8,10,9,4,6,10,8,11,9,10,9", "10,9,9,9,9,10,14,10,11,9,6,6,6,9,7,5",
                           "9,9,8,9,9,7,9,8,4,5,9,4,12,8,9,9",      "9,7,8,7,8,9,12,9,9,8,7,4,7,4,9,0",
                           "0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0",       "0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0"};
    std::vector<int> widths;
    std::string ini = "[ENGLISH]\r\nSymbolList=";
    for (int c = 33; c <= 125; ++c) ini += static_cast<char>(c);
    ini += " ~\r\n";
    for (int r = 0; r < 8; ++r) {
        ini += "Line0" + std::to_string(r + 1) + "_Width=" + rows[r] + "\r\n";
        std::string row = rows[r];
        for (size_t pos = 0; pos <= row.size();) {
            size_t comma = row.find(',', pos);
            widths.push_back(std::stoi(row.substr(pos, comma - pos)));
            pos = comma == std::string::npos ? row.size() + 1 : comma + 1;
        }
    }
    ini += "Score=Score: 1500\r\n";
    h.user.Write("language.ini", ini);
    ASSERT_TRUE(WritePng(h.user / "font01.png", 512, 256, FontSheet(widths)));
    h.graphics.LoadSymbolWidths("font01.png");
    ASSERT_NE(h.graphics.FontTexture(), nullptr);

    h.device->Clear(0xFF102040);
    // While the intro is drawn, then with exact cells.
    h.graphics.DrawString(0.03f, 0.8f, 0.2f, 0xFF40E0FF, 0, "Bonus!");
    h.graphics.fontCellsExact = 1;
    h.graphics.DrawString(0.5f, 0.22f, 0.25f, 0xFFFFE040, TEXT_CENTER, "Level Complete");
    h.graphics.DrawString(0.97f, 0.55f, 0.15f, 0xC0FFFFFF, TEXT_RIGHT | TEXT_CENTER, "Score");
    h.graphics.DrawString(0.97f, 0.85f, 0.12f, 0xFFFF6060, TEXT_RIGHT, "a{b}c ~ \x80 z");
    h.device->Present();
    EXPECT_TRUE(test::MatchesGolden("bitmap-font-text", 256, 96, h.Pixels(), h.device->Renderer()));
}

TEST(GoldenImage, TextureFontText) {
    GlHarness h(256, 80);
    ASSERT_TRUE(h.Ready()) << h.Why();
    h.device->Clear(0xFF303030);
    TextureFont status("Arial", 12);
    ASSERT_EQ(status.InitDeviceObjects(*h.device), 0);
    status.DrawText(2, 2, 0xFFFFFFFF, "FPS: 60");
    TextureFont bold("Arial", 11, TextureFont::kBold);
    ASSERT_EQ(bold.InitDeviceObjects(*h.device), 0);
    bold.DrawText(2, 58, 0xFF80FF80, "Level Editor: '+','-' - F2", TextureFont::kFiltered);
    // The big font through the text drawing of the game: 0.025 of 80 is 2 points, too small; make it
    // for a 600-pixel client instead by hand.
    h.graphics.CreateBigFont("Arial", 0.19f);  // 15 points
    ASSERT_NE(h.graphics.BigFont(), nullptr);
    h.graphics.DrawString(0.5f, 0.45f, 0.04f, 0xFFFFC020, TEXT_BIG_FONT | TEXT_CENTER, "Tamblor 2.0 {Qgj}");
    h.device->Present();
    EXPECT_TRUE(test::MatchesGolden("texture-font-text", 256, 80, h.Pixels(), h.device->Renderer()));
    status.DeleteDeviceObjects();
    bold.DeleteDeviceObjects();
}

}  // namespace
}  // namespace tamblor
