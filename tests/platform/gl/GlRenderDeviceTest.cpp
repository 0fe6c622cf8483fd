#include <gtest/gtest.h>

#include <array>

#include "GlHarness.h"
#include "graphics/RecordingRenderDevice.h"

namespace tamblor {
namespace {

using test::GlHarness;

std::vector<uint8_t> Solid(int w, int h, uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
    std::vector<uint8_t> p;
    for (int i = 0; i < w * h; ++i) p.insert(p.end(), {r, g, b, a});
    return p;
}

TEST(GlRenderDevice, SpriteTexelsLandExactlyOnPixels) {
    GlHarness h(16, 16);
    ASSERT_TRUE(h.Ready()) << h.Why();
    // 4 x 4 texels, each a different red level.
    std::vector<uint8_t> texels;
    for (int i = 0; i < 16; ++i) texels.insert(texels.end(), {static_cast<uint8_t>(i * 16 + 8), 0, 0, 255});
    TextureHandle tex = h.MakeTexture(4, 4, texels);
    RenderState& s = h.device->State();
    s.alphaBlendEnable = false;
    s.minFilter = s.magFilter = TextureFilter::Linear;  // a texel per pixel needs no point filtering
    h.graphics.DrawSprite(tex, 0.5f, 0.5f, 0.25f, 0.25f, 0, 0, 1, 1, 0xFFFFFFFF, 0);
    auto px = h.Pixels();
    for (int y = 5; y <= 10; ++y) {
        for (int x = 5; x <= 10; ++x) {
            bool inside = x >= 6 && x <= 9 && y >= 6 && y <= 9;
            int expected = inside ? ((y - 6) * 4 + (x - 6)) * 16 + 8 : 0;
            EXPECT_EQ(h.Pixel(px, x, y)[0], expected) << x << "," << y;
        }
    }
    // A negative width turns the quad around and culling drops it.
    h.device->Clear(0xFF000000);
    h.graphics.DrawSprite(tex, 0.5f, 0.5f, -0.25f, 0.25f, 0, 0, 1, 1, 0xFFFFFFFF, 0);
    px = h.Pixels();
    EXPECT_EQ(h.Pixel(px, 8, 8)[0], 0);
    EXPECT_GT(h.device->Stats().drawCalls, 0u);
}

TEST(GlRenderDevice, BlendFactorsAndStageOperations) {
    GlHarness h(8, 8);
    ASSERT_TRUE(h.Ready()) << h.Why();
    RenderState& s = h.device->State();
    TextureHandle grey = h.MakeTexture(1, 1, Solid(1, 1, 100, 100, 100, 255));
    // Quads of one pixel each, drawn at pixel (x, 0).
    auto quad = [&](int x, TextureHandle t, uint32_t colour, uint32_t flags) {
        h.graphics.DrawSprite(t, (x + 0.5f) / 8, 0.5f / 8, 1.0f / 8, 1.0f / 8, 0, 0, 1, 1, colour, flags);
    };
    s.alphaBlendEnable = false;
    quad(0, nullptr, 0xFFFFFFFF, 0);  // no texture reads as white
    quad(1, grey, 0xFF808080, 0);     // modulate: 100 x 128 / 255
    s.colorOp = ColorOp::Add;
    quad(2, grey, 0xFF323232, 0);  // 100 + 50
    s.colorOp = ColorOp::Modulate4X;
    quad(3, grey, 0xFF808080, 0);  // 100 x 4 x 128 / 255, clamped at 255
    // A removed line: white strip, colour (63, 63, 63, 63), over-bright and faded, over black.
    TextureHandle white = h.MakeTexture(1, 1, Solid(1, 1, 255, 255, 255, 255));
    s.alphaBlendEnable = true;
    s.srcBlend = BlendFactor::SrcAlpha;
    s.destBlend = BlendFactor::InvSrcAlpha;
    quad(4, white, 0x3F3F3F3F, SPRITE_WRAP);
    s.colorOp = ColorOp::Modulate;
    s.alphaBlendEnable = false;
    quad(5, grey, 0xFFFFFFFF, 0);
    quad(5, grey, 0xFFFFFFFF, SPRITE_ADD);  // 100 + 100
    quad(6, white, 0xFFC8C8C8, 0);
    quad(6, nullptr, 0x40404040, SPRITE_DARKEN);  // 200 x (1 - 64/255)
    quad(7, white, 0xFF0000FF, 0);
    quad(7, grey, 0x80FF0000, SPRITE_ALPHA);  // half red over blue
    auto px = h.Pixels();
    EXPECT_EQ(h.Pixel(px, 0, 0), (std::array<int, 3>{255, 255, 255}));
    EXPECT_NEAR(h.Pixel(px, 1, 0)[0], 50, 1);
    EXPECT_EQ(h.Pixel(px, 2, 0)[1], 150);
    EXPECT_EQ(h.Pixel(px, 3, 0)[2], 201);
    EXPECT_NEAR(h.Pixel(px, 4, 0)[0], 62, 1);  // 252 x 63/255
    EXPECT_EQ(h.Pixel(px, 5, 0)[0], 200);
    EXPECT_NEAR(h.Pixel(px, 6, 0)[0], 150, 1);
    EXPECT_NEAR(h.Pixel(px, 7, 0)[0], 50, 1);   // 100 x 128/255
    EXPECT_NEAR(h.Pixel(px, 7, 0)[2], 127, 1);  // 255 x 127/255
    // Rows below were never drawn.
    EXPECT_EQ(h.Pixel(px, 0, 1), (std::array<int, 3>{0, 0, 0}));
}

TEST(GlRenderDevice, PresentLetterboxesAndAppliesTheRamp) {
    EXPECT_EQ(GlRenderDevice::Letterbox(800, 600, 1920, 1080),
              (GlRenderDevice::Viewport{240, 0, 1440, 1080}));
    EXPECT_EQ(GlRenderDevice::Letterbox(800, 600, 800, 600), (GlRenderDevice::Viewport{0, 0, 800, 600}));
    EXPECT_EQ(GlRenderDevice::Letterbox(800, 600, 800, 1000), (GlRenderDevice::Viewport{0, 200, 800, 600}));
    EXPECT_EQ(GlRenderDevice::Letterbox(800, 600, 0, 600), GlRenderDevice::Viewport{});

    GlHarness h(40, 30, 100, 30);
    ASSERT_TRUE(h.Ready()) << h.Why();
    h.device->Clear(0xFF808080);
    h.device->PresentToWindow(100, 30, nullptr);
    std::vector<uint8_t> window;
    ASSERT_TRUE(GlRenderDevice::ReadWindowPixels(100, 30, window));
    auto at = [&](int x, int y) { return window[(static_cast<size_t>(y) * 100 + x) * 4]; };
    EXPECT_EQ(at(29, 15), 0);  // bar
    EXPECT_EQ(at(30, 15), 128);
    EXPECT_EQ(at(69, 15), 128);
    EXPECT_EQ(at(70, 15), 0);

    // Brightness 1.0: entry 128 is 128 x 256 + 16383.75, shown as 191.
    h.graphics.SetBrightness(1.0f);
    h.device->PresentToWindow(100, 30, h.device->GetGammaRamp().data());
    ASSERT_TRUE(GlRenderDevice::ReadWindowPixels(100, 30, window));
    EXPECT_EQ(at(50, 15), 191);
    EXPECT_EQ(at(10, 15), 0);  // the bars stay black
    // The identity ramp changes nothing, and drawing goes on into the back buffer afterwards.
    GammaRamp identity = RenderDevice::IdentityRamp();
    h.device->PresentToWindow(100, 30, identity.data());
    ASSERT_TRUE(GlRenderDevice::ReadWindowPixels(100, 30, window));
    EXPECT_EQ(at(50, 15), 128);
    h.device->Clear(0xFF102030);
    EXPECT_EQ(h.Pixel(h.Pixels(), 5, 5), (std::array<int, 3>{0x10, 0x20, 0x30}));

    // A new back-buffer size.
    ASSERT_TRUE(h.device->ResizeBackBuffer(20, 10));
    EXPECT_EQ(h.graphics.GetClientSize(), (PixelSize{20, 10}));
    EXPECT_EQ(h.Pixels().size(), 20u * 10u * 4u);
}

}  // namespace
}  // namespace tamblor

namespace tamblor {
namespace {

struct SequenceTextures {
    TextureHandle red, green;
    std::unique_ptr<Texture> blueInPage, whiteInPage;  // two pictures of one 2 x 1 page
};

// One pixel at (x, 0) covered by a quad turning clockwise on screen, as sprites are drawn.
void PixelQuad(RenderDevice& device, TextureHandle texture, int x) {
    const float l = static_cast<float>(x) - 0.5f, r = l + 1.0f, t = -0.5f, b = 0.5f;
    const Vertex v[4] = {{l, b, 0, 1, 0xFFFFFFFF, 0, 0, 1},
                         {r, b, 0, 1, 0xFFFFFFFF, 0, 1, 1},
                         {l, t, 0, 1, 0xFFFFFFFF, 0, 0, 0},
                         {r, t, 0, 1, 0xFFFFFFFF, 0, 1, 0}};
    static constexpr uint16_t kIndices[6] = {2, 3, 0, 1, 0, 3};
    device.State().texture = texture;
    device.DrawTriangles(v, 4, kIndices, 6);
}

// Quads in an order where batching could go wrong: a later quad over an earlier one of another
// texture, two pictures of one page, and a state change between two quads of one texture.
void DrawSequence(RenderDevice& device, const SequenceTextures& t) {
    RenderState& s = device.State();
    s.alphaBlendEnable = false;
    s.minFilter = s.magFilter = TextureFilter::Point;
    PixelQuad(device, t.red, 0);
    PixelQuad(device, t.red, 1);
    PixelQuad(device, t.green, 0);  // over the red one: must win
    PixelQuad(device, t.blueInPage.get(), 2);
    PixelQuad(device, t.whiteInPage.get(), 3);
    s.cullMode = CullMode::None;  // no new batch: culling is done on the CPU
    PixelQuad(device, t.whiteInPage.get(), 4);
    s.alphaBlendEnable = true;
    s.srcBlend = BlendFactor::Zero;
    s.destBlend = BlendFactor::One;  // draws nothing visible
    PixelQuad(device, t.red, 5);
    device.Present();
}

TEST(GlRenderDevice, BatchesKeepTheOrderAndTheRecordingDeviceCountsTheSameCalls) {
    struct Case {
        bool batching;
        uint64_t drawCalls;
        uint64_t textureSwitches;
    };
    const Case cases[] = {
        {true, 4, 4},   // red x2 | green | page x3 | red with other blending
        {false, 7, 4},  // one call per quad; the page is still bound once for its three
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.batching ? "batching" : "no batching");
        GlHarness h(8, 1);
        ASSERT_TRUE(h.Ready()) << h.Why();
        h.device->SetBatching(c.batching);
        h.device->Clear(0xFF000000);
        SequenceTextures gl{h.MakeTexture(1, 1, Solid(1, 1, 255, 0, 0, 255)),
                            h.MakeTexture(1, 1, Solid(1, 1, 0, 255, 0, 255)), nullptr, nullptr};
        std::vector<uint8_t> pagePixels = {0, 0, 255, 255, 255, 255, 255, 255};
        TextureHandle page = h.MakeTexture(2, 1, pagePixels);
        gl.blueInPage = std::make_unique<Texture>(1, 1, *page, 0, 0);
        gl.whiteInPage = std::make_unique<Texture>(1, 1, *page, 1, 0);
        DrawStats before = h.device->Stats();
        DrawSequence(*h.device, gl);
        DrawStats after = h.device->Stats();
        auto px = h.Pixels();
        EXPECT_EQ(h.Pixel(px, 0, 0), (std::array<int, 3>{0, 255, 0}));
        EXPECT_EQ(h.Pixel(px, 1, 0), (std::array<int, 3>{255, 0, 0}));
        EXPECT_EQ(h.Pixel(px, 2, 0), (std::array<int, 3>{0, 0, 255}));
        EXPECT_EQ(h.Pixel(px, 3, 0), (std::array<int, 3>{255, 255, 255}));
        EXPECT_EQ(h.Pixel(px, 4, 0), (std::array<int, 3>{255, 255, 255}));
        EXPECT_EQ(h.Pixel(px, 5, 0), (std::array<int, 3>{0, 0, 0}));
        EXPECT_EQ(after.drawCalls - before.drawCalls, c.drawCalls);
        EXPECT_EQ(after.textureSwitches - before.textureSwitches, c.textureSwitches);

        RecordingRenderDevice record(8, 1);
        record.SetBatching(c.batching);
        auto make = [&record](uint8_t r, uint8_t g, uint8_t b) {
            std::vector<uint8_t> pixel = {r, g, b, 255};
            return record.CreateTexture(1, 1, pixel.data());
        };
        std::unique_ptr<Texture> red = make(255, 0, 0), green = make(0, 255, 0);
        std::unique_ptr<Texture> recordedPage = record.CreateTexture(2, 1, pagePixels.data());
        SequenceTextures recorded{red.get(), green.get(),
                                  std::make_unique<Texture>(1, 1, *recordedPage, 0, 0),
                                  std::make_unique<Texture>(1, 1, *recordedPage, 1, 0)};
        DrawSequence(record, recorded);
        EXPECT_EQ(record.Stats().drawCalls, c.drawCalls);
        EXPECT_EQ(record.Stats().textureSwitches, c.textureSwitches);
        // The record still holds every quad as it was handed in, texture and coordinates unchanged.
        ASSERT_EQ(record.draws.size(), 7u);
        EXPECT_EQ(record.draws[4].state.texture, recorded.whiteInPage.get());
        EXPECT_EQ(record.draws[4].vertices[1].u, 1.0f);
    }
}

}  // namespace
}  // namespace tamblor
