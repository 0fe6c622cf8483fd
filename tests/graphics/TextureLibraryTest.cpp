#include <gtest/gtest.h>

#include <filesystem>

#include "GraphicsHarness.h"
#include "platform/DrawBatch.h"

namespace tamblor {
namespace {

using test::GraphicsHarness;

size_t Count(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t pos = text.find(what); pos != std::string::npos; pos = text.find(what, pos + 1)) ++n;
    return n;
}

TEST(TextureLibrary, NamesAreExactAndLoadedOnce) {
    GraphicsHarness h;
    h.Picture("Graphics\\grey.png", 8, 4);
    TextureHandle a = h.graphics.FindTexture("Graphics\\grey.png");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(Graphics::GetTextureSize(a), (PixelSize{8, 4}));
    EXPECT_EQ(h.graphics.FindTexture("Graphics\\grey.png"), a);
    // Another letter case finds the same file but is a new entry under its own name.
    TextureHandle b = h.graphics.FindTexture("GRAPHICS\\Grey.PNG");
    ASSERT_NE(b, nullptr);
    EXPECT_NE(b, a);
    EXPECT_EQ(h.graphics.TextureCount(), 2u);
    EXPECT_EQ(h.graphics.TextureName(1), "GRAPHICS\\Grey.PNG");
    EXPECT_EQ(h.decoder.decodes, 2);
    EXPECT_NE(
        h.LogText().find("12:00:00 : Bitmap loading: 'Graphics\\grey.png' ... OK (1 loaded) (32 bit)\n"),
        std::string::npos);
    EXPECT_NE(h.LogText().find("Bitmap loading: 'GRAPHICS\\Grey.PNG' ... OK (2 loaded) (32 bit)"),
              std::string::npos);

    // A missing or undecodable picture is reported once and then simply absent; an empty name is
    // null without a word.
    h.user.Write("broken.png", "not a picture");
    for (int frame = 0; frame < 3; ++frame) {
        EXPECT_EQ(h.graphics.FindTexture("Graphics\\missing.png"), nullptr);
        EXPECT_EQ(h.graphics.FindTexture("broken.png"), nullptr);
        EXPECT_EQ(h.graphics.FindTexture(""), nullptr);
    }
    std::string log = h.LogText();
    EXPECT_EQ(Count(log, "Bitmap loading: 'Graphics\\missing.png' ... FAILED\n"), 1u);
    EXPECT_EQ(Count(log, "Bitmap loading: 'broken.png' ... FAILED\n"), 1u);
    EXPECT_EQ(Count(log, "''"), 0u);
    EXPECT_EQ(h.graphics.TextureCount(), 2u);

    // A name too long for the table is refused before loading.
    std::string longName(250, 'x');
    longName += ".png";
    h.Picture(longName.substr(0, 200), 1, 1);
    EXPECT_EQ(h.graphics.FindTexture(longName + "a"), nullptr);
    EXPECT_EQ(Count(h.LogText(), "' ... FAILED"), 3u);

    // A device that cannot make the texture: a failure, the entry stays free.
    h.Picture("c.png", 2, 2);
    h.device.failTextureCreation = true;
    EXPECT_EQ(h.graphics.FindTexture("c.png"), nullptr);
    EXPECT_EQ(h.graphics.TextureCount(), 2u);

    // Shut-down empties the table and forgets the texture bound to the device.
    h.device.State().texture = a;
    EXPECT_EQ(h.graphics.DeleteAllTexturesMIPMAP(), 0);
    EXPECT_EQ(h.graphics.TextureCount(), 0u);
    EXPECT_EQ(h.device.State().texture, nullptr);
    EXPECT_NE(h.LogText().find("\nDeleteAllTexturesMIPMAP()\n"), std::string::npos);
}

TEST(TextureLibrary, TableHoldsTwoHundredFiftyTextures) {
    GraphicsHarness h;
    for (int i = 0; i <= 251; ++i) h.Picture("p" + std::to_string(i) + ".png", 1, 1);
    for (int i = 0; i < 250; ++i)
        ASSERT_NE(h.graphics.FindTexture("p" + std::to_string(i) + ".png"), nullptr) << i;
    EXPECT_EQ(h.graphics.FindTexture("p250.png"), nullptr);
    EXPECT_EQ(h.graphics.FindTexture("p250.png"), nullptr);
    EXPECT_EQ(h.graphics.FindTexture("p251.png"), nullptr);
    EXPECT_EQ(h.graphics.TextureCount(), 250u);
    std::string log = h.LogText();
    EXPECT_NE(log.find("OK (250 loaded)"), std::string::npos);
    // One plain line per refused name, not one per lookup.
    EXPECT_EQ(Count(log, "\nOverflow error: maximum textures count\n"), 2u);
    // Entries already in the table are still found.
    EXPECT_NE(h.graphics.FindTexture("p249.png"), nullptr);

    // A folder scan fills the table to the same limit and no further, in listing order.
    GraphicsHarness scan;
    for (int i = 0; i < 252; ++i) scan.Picture("Graphics\\p" + std::to_string(1000 + i) + ".png", 1, 1);
    scan.graphics.LoadAllTexturesMIPMAP("Graphics\\");
    EXPECT_EQ(scan.graphics.TextureCount(), 250u);
    EXPECT_EQ(scan.graphics.TextureName(249), "Graphics\\p1249.png");
    EXPECT_EQ(Count(scan.LogText(), "\nOverflow error: maximum textures count\n"), 2u);
}

TEST(TextureLibrary, FolderScanLoadsEveryPictureOnce) {
    GraphicsHarness h;
    h.Picture("Graphics\\b.png", 1, 1);
    h.Picture("Graphics\\A.png", 1, 1);
    h.Picture("Graphics\\b.jpg", 1, 1);
    h.Picture("Graphics\\c.TGA", 1, 1);
    h.Picture("Graphics\\d.bmp", 1, 1);
    h.Picture("Graphics\\notes.txt", 1, 1);
    h.Picture("Graphics\\Shapes\\s.png", 1, 1);
    h.graphics.LoadAllTexturesMIPMAP("Graphics\\");
    ASSERT_EQ(h.graphics.TextureCount(), 5u);
    // Patterns in order, each folder listing sorted without regard to case.
    EXPECT_EQ(h.graphics.TextureName(0), "Graphics\\A.png");
    EXPECT_EQ(h.graphics.TextureName(1), "Graphics\\b.png");
    EXPECT_EQ(h.graphics.TextureName(2), "Graphics\\b.jpg");
    EXPECT_EQ(h.graphics.TextureName(3), "Graphics\\c.TGA");
    EXPECT_EQ(h.graphics.TextureName(4), "Graphics\\d.bmp");

    std::string before = h.LogText();
    h.graphics.LoadAllTexturesMIPMAP("Graphics\\");
    EXPECT_EQ(h.graphics.TextureCount(), 5u);
    EXPECT_EQ(h.LogText().substr(before.size()), "12:00:00 : LoadAllTexturesMIPMAP start\n");
    EXPECT_EQ(h.decoder.decodes, 5);
}

TEST(TextureLibrary, BrightnessFromConfigAndRamp) {
    GraphicsHarness h;
    h.user.Write("config.ini", "[OPTIONS]\r\nbtnFullScreen=0\r\n");
    h.graphics.LoadAllTexturesMIPMAP("Graphics\\");
    // Missing: the current value is written with six decimals and the ramp is left alone.
    EXPECT_NE(h.user.Read("config.ini").find("[VIDEO]\r\nBrightness=0.500000\r\n"), std::string::npos);
    EXPECT_FALSE(h.device.GammaRampSet());

    // The next start applies it: 0.5 is the identity.
    h.graphics.LoadAllTexturesMIPMAP("Graphics\\");
    ASSERT_TRUE(h.device.GammaRampSet());
    for (int i = 0; i < 256; ++i) ASSERT_EQ(h.device.GetGammaRamp()[i], i * 256) << i;

    h.user.Write("config.ini", "[VIDEO]\r\nBrightness=1.0\r\n");
    h.graphics.LoadAllTexturesMIPMAP("Graphics\\");
    EXPECT_EQ(h.graphics.Brightness(), 1.0f);
    const GammaRamp& bright = h.device.GetGammaRamp();
    EXPECT_EQ(bright[0], 16383);
    EXPECT_EQ(bright[191], 65279);  // 48896 + 16383.75
    for (int i = 192; i < 256; ++i) EXPECT_EQ(bright[i], 65535) << i;

    h.graphics.SetBrightness(0.0f);
    EXPECT_EQ(h.device.GetGammaRamp()[63], 0);
    EXPECT_EQ(h.device.GetGammaRamp()[64], 0);  // 16384 - 16383.75 truncated
    EXPECT_EQ(h.device.GetGammaRamp()[65], 256);
    EXPECT_EQ(h.device.GetGammaRamp()[255], 48896);
    // An unusable value changes nothing rather than producing garbage.
    h.graphics.SetBrightness(std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ(h.device.GetGammaRamp()[100], 25600);
}

TEST(TextureLibrary, SixteenBitTexturesUntilTheFirstRestoreEnds) {
    GraphicsHarness h;
    h.device.SetBackBufferIs32Bit(false);
    h.Picture("early.png", 1, 1);
    h.Picture("late.png", 1, 1);
    auto* early = static_cast<RecordingRenderDevice::RecordedTexture*>(h.graphics.FindTexture("early.png"));
    ASSERT_NE(early, nullptr);
    EXPECT_EQ(early->pixels[0], 0xAA);  // 0xAB keeps its top four bits: 0xA x 17
    EXPECT_NE(h.LogText().find("'early.png' ... OK (1 loaded) (16 bit)"), std::string::npos);
    h.graphics.force32Bit = 1;
    auto* late = static_cast<RecordingRenderDevice::RecordedTexture*>(h.graphics.FindTexture("late.png"));
    ASSERT_NE(late, nullptr);
    EXPECT_EQ(late->pixels[0], 0xAB);
    EXPECT_NE(h.LogText().find("'late.png' ... OK (2 loaded) (32 bit)"), std::string::npos);
    // Without a device nothing can be made.
    GraphicsHarness bare;
    Graphics detached(bare.files, bare.settings, bare.language, bare.log, bare.clock, bare.decoder);
    bare.Picture("x.png", 1, 1);
    EXPECT_EQ(detached.FindTexture("x.png"), nullptr);
    EXPECT_EQ(detached.GetClientSize(), PixelSize{});
}

TEST(TextureLibrary, LargePicturesAreOnTheDeviceOnlyWhileTheyAreDrawn) {
    using Recorded = RecordingRenderDevice::RecordedTexture;
    GraphicsHarness h;
    h.device.SetBackBufferIs32Bit(false);  // the 16-bit rule holds for every upload
    h.Picture("Graphics\\back.jpg", 800, 600);
    h.Picture("Graphics\\panel.png", 720, 540);
    h.Picture("Graphics\\a.png", 8, 8);
    h.Picture("Graphics\\b.png", 8, 8);
    h.graphics.LoadAllTexturesMIPMAP("Graphics\\");
    TextureHandle back = h.graphics.FindTexture("Graphics\\back.jpg");
    TextureHandle panel = h.graphics.FindTexture("Graphics\\panel.png");
    ASSERT_NE(back, nullptr);
    ASSERT_NE(panel, nullptr);
    // The scan checks them and keeps their sizes, not their pixels: one page for the small two.
    EXPECT_EQ(Graphics::GetTextureSize(back), (PixelSize{800, 600}));
    EXPECT_EQ(h.graphics.LargePicturesOnDevice(), 0u);
    EXPECT_EQ(h.device.texturesCreated, 1);
    const int decodesAfterScan = h.decoder.decodes;

    auto draw = [&](TextureHandle picture) {
        size_t before = h.device.draws.size();
        h.graphics.DrawSprite(picture, 0.5f, 0.5f, 1, 1, 0, 0, 1, 1, 0xFFFFFFFF, SPRITE_WRAP);
        return h.device.draws.size() > before;
    };
    auto rest = [&](uint32_t ms) {
        h.clock.Advance(ms);
        h.graphics.ReleaseRestingPictures();
    };
    // Drawn: decoded from the bytes read at load, on its own page, with its wrapping addressing.
    ASSERT_TRUE(draw(back));
    EXPECT_EQ(h.graphics.LargePicturesOnDevice(), 1u);
    EXPECT_EQ(h.decoder.decodes, decodesAfterScan + 1);
    const auto* storage = static_cast<const Recorded*>(back->Page());
    ASSERT_NE(storage, static_cast<const Texture*>(back));
    EXPECT_EQ(storage->Width(), 800);
    EXPECT_EQ(storage->pixels.size(), 800u * 600u * 4u);
    EXPECT_EQ(storage->pixels[0], 0xAA);
    EXPECT_EQ(h.LastDraw().state.texture, back);
    EXPECT_EQ(DrawBatch::KeyOf(h.LastDraw().state).addressU, TextureAddress::Wrap);
    // Drawing it again in later frames decodes nothing.
    ASSERT_TRUE(draw(back));
    EXPECT_EQ(h.decoder.decodes, decodesAfterScan + 1);

    // A rest just short of the limit keeps it; the full rest lets it go, and the device's state no
    // longer names it.
    ASSERT_TRUE(draw(panel));
    rest(Graphics::kLargePictureRestMs - 1);
    EXPECT_EQ(h.graphics.LargePicturesOnDevice(), 2u);
    ASSERT_TRUE(draw(back));
    rest(1);
    EXPECT_EQ(h.graphics.LargePicturesOnDevice(), 1u);
    EXPECT_EQ(panel->Page(), panel);
    EXPECT_EQ(back->Page(), static_cast<const Texture*>(storage));
    rest(Graphics::kLargePictureRestMs);
    EXPECT_EQ(h.graphics.LargePicturesOnDevice(), 0u);
    EXPECT_EQ(h.device.State().texture, nullptr);

    // Back on screen after its file is gone: the same handle, the same pixels.
    std::filesystem::remove(h.user / "Graphics/back.jpg");
    ASSERT_TRUE(draw(back));
    EXPECT_EQ(h.graphics.FindTexture("Graphics\\back.jpg"), back);
    EXPECT_EQ(static_cast<const Recorded*>(back->Page())->pixels, std::vector<uint8_t>(800 * 600 * 4, 0xAA));

    // A device that cannot take it: nothing drawn, one log line, and no decoding every frame.
    h.device.failTextureCreation = true;
    const int decodes = h.decoder.decodes;
    for (int frame = 0; frame < 3; ++frame) EXPECT_FALSE(draw(panel));
    EXPECT_EQ(h.decoder.decodes, decodes + 1);
    EXPECT_EQ(Count(h.LogText(), "Bitmap loading: 'Graphics\\panel.png' ... FAILED\n"), 1u);

    // Loaded by name to be drawn at once, a large picture goes to the device straight away.
    h.device.failTextureCreation = false;
    h.Picture("intro.jpg", 800, 600);
    TextureHandle intro = h.graphics.FindTexture("intro.jpg");
    ASSERT_NE(intro, nullptr);
    EXPECT_NE(intro->Page(), intro);
    EXPECT_EQ(h.graphics.LargePicturesOnDevice(), 2u);

    // Shut-down lets every picture go.
    h.graphics.DeleteAllTexturesMIPMAP();
    EXPECT_EQ(h.graphics.LargePicturesOnDevice(), 0u);
}

}  // namespace
}  // namespace tamblor
