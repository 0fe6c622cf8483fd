#include <gtest/gtest.h>

#include "graphics/GraphicsHarness.h"
#include "graphics/TextureAtlas.h"

namespace tamblor {
namespace {

struct Box {
    int page, left, top, right, bottom;  // with the gutter
};

Box WithGutter(const AtlasPlacement& p, PixelSize size) {
    return {p.page, p.x - kAtlasGutter, p.y - kAtlasGutter, p.x + size.width + kAtlasGutter,
            p.y + size.height + kAtlasGutter};
}

TEST(TextureAtlas, ShelvesKeepPicturesAndGuttersApartInsideTheirPages) {
    std::vector<PixelSize> sizes = {{64, 64}, {512, 256}, {32, 32}, {300, 40},  {2000, 10},
                                    {64, 64}, {96, 200},  {10, 3},  {600, 600}, {600, 600}};
    AtlasLayout layout = PackPictures(sizes, 1024);
    ASSERT_EQ(layout.placements.size(), sizes.size());
    // 2000 + gutters is wider than a page: left out. The rest needs a second page.
    EXPECT_EQ(layout.placements[4].page, -1);
    ASSERT_EQ(layout.pages.size(), 2u);
    std::vector<Box> boxes;
    for (size_t i = 0; i < sizes.size(); ++i) {
        if (i == 4)
            continue;
        Box b = WithGutter(layout.placements[i], sizes[i]);
        ASSERT_GE(b.page, 0) << i;
        const PixelSize& page = layout.pages[static_cast<size_t>(b.page)];
        EXPECT_GE(b.left, 0) << i;
        EXPECT_GE(b.top, 0) << i;
        EXPECT_LE(b.right, page.width) << i;
        EXPECT_LE(b.bottom, page.height) << i;
        for (const Box& other : boxes) {
            bool apart = other.page != b.page || other.right <= b.left || b.right <= other.left ||
                         other.bottom <= b.top || b.bottom <= other.top;
            EXPECT_TRUE(apart) << i;
        }
        boxes.push_back(b);
    }

    // Strips: one height per page, side by side, the page exactly as tall as its pictures.
    AtlasLayout strips = PackStrip({{96, 512}, {96, 512}, {50, 64}, {96, 512}}, 256);
    ASSERT_EQ(strips.pages.size(), 3u);
    EXPECT_EQ(strips.pages[0].height, 512);
    EXPECT_EQ(strips.pages[0].width, 2 * (96 + 2 * kAtlasGutter));
    EXPECT_EQ(strips.placements[1].x, 96 + 3 * kAtlasGutter);
    EXPECT_EQ(strips.placements[1].y, 0);
    EXPECT_EQ(strips.placements[2].page, 1);
    EXPECT_EQ(strips.placements[3].page, 2);
}

TEST(TextureAtlas, GuttersRepeatTheEdgeOrWrapAround) {
    // A 3 x 2 picture whose pixels are numbered 1..6 in the red channel.
    Image picture;
    picture.width = 3;
    picture.height = 2;
    for (uint8_t i = 1; i <= 6; ++i) picture.rgba.insert(picture.rgba.end(), {i, 0, 0, 255});
    const PixelSize size{3 + 2 * kAtlasGutter, 2 + 2 * kAtlasGutter};
    auto red = [&](const std::vector<uint8_t>& page, int x, int y) {
        return page[(static_cast<size_t>(y) * size.width + x) * 4];
    };
    std::vector<uint8_t> page(static_cast<size_t>(size.width) * size.height * 4, 0);
    CopyIntoPage(page, size, picture, kAtlasGutter, kAtlasGutter, false);
    const int g = kAtlasGutter;
    EXPECT_EQ(red(page, g, g), 1);
    EXPECT_EQ(red(page, g + 2, g + 1), 6);
    EXPECT_EQ(red(page, 0, 0), 1);                    // corner: the corner pixel
    EXPECT_EQ(red(page, size.width - 1, g), 3);       // right of the first row
    EXPECT_EQ(red(page, g + 1, size.height - 1), 5);  // below the middle column
    EXPECT_EQ(red(page, size.width - 1, size.height - 1), 6);

    std::vector<uint8_t> strip(static_cast<size_t>(size.width) * size.height * 4, 0);
    CopyIntoPage(strip, size, picture, g, 0, true);
    EXPECT_EQ(red(strip, g - 1, 0), 3);  // left of the first column: the last one
    EXPECT_EQ(red(strip, g + 3, 1), 4);  // right of the last column: the first one
    EXPECT_EQ(red(strip, g + 1, 2), 0);  // nothing below: the page wraps by itself
}

TEST(TextureAtlas, FolderScanPacksSmallPicturesKeepingHandlesAndSizes) {
    test::GraphicsHarness h;
    h.Picture("Graphics\\font01.png", 512, 256);
    h.Picture("Graphics\\a.png", 64, 64);
    h.Picture("Graphics\\b.png", 30, 20);
    h.Picture("Graphics\\back.jpg", 800, 600);
    h.Picture("Graphics\\line1.png", 96, 512);
    h.Picture("Graphics\\line2.png", 96, 512);
    // The font sheet is loaded before the scan, for the intro.
    TextureHandle font = h.graphics.FindTexture("Graphics\\font01.png");
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font->Page(), font);
    h.graphics.KeepWrapping("Graphics\\line1.png");
    h.graphics.KeepWrapping("Graphics\\line2.png");
    h.graphics.LoadAllTexturesMIPMAP("Graphics\\");

    ASSERT_EQ(h.graphics.TextureCount(), 6u);
    TextureHandle a = h.graphics.FindTexture("Graphics\\a.png");
    TextureHandle b = h.graphics.FindTexture("Graphics\\b.png");
    TextureHandle back = h.graphics.FindTexture("Graphics\\back.jpg");
    TextureHandle line1 = h.graphics.FindTexture("Graphics\\line1.png");
    TextureHandle line2 = h.graphics.FindTexture("Graphics\\line2.png");
    // Same handle for the font, now drawn from the page the small pictures share.
    EXPECT_EQ(h.graphics.FindTexture("Graphics\\font01.png"), font);
    EXPECT_NE(font->Page(), font);
    EXPECT_EQ(a->Page(), font->Page());
    EXPECT_EQ(b->Page(), font->Page());
    EXPECT_EQ(b->Width(), 30);
    EXPECT_EQ(b->Height(), 20);
    // The background stays alone; the strips share a page of their height.
    EXPECT_EQ(back->Page(), back);
    EXPECT_EQ(line1->Page(), line2->Page());
    EXPECT_EQ(line1->Page()->Height(), 512);
    EXPECT_FLOAT_EQ(line1->RectInPage().v0, 0.0f);
    EXPECT_FLOAT_EQ(line1->RectInPage().vSize, 1.0f);
    EXPECT_EQ(h.graphics.PageCount(), 2u);

    // The page holds the pictures' pixels: the stand-in decoder fills them with 0xAB.
    auto* page = static_cast<RecordingRenderDevice::RecordedTexture*>(b->Page());
    const Texture::PageRect& r = b->RectInPage();
    int x = static_cast<int>(r.u0 * static_cast<float>(page->Width()) + 0.5f);
    int y = static_cast<int>(r.v0 * static_cast<float>(page->Height()) + 0.5f);
    EXPECT_EQ(page->pixels[(static_cast<size_t>(y) * page->Width() + x) * 4], 0xAB);
    EXPECT_NE(h.LogText().find("'Graphics\\b.png' ... OK (3 loaded) (32 bit)"), std::string::npos);
}

}  // namespace
}  // namespace tamblor
