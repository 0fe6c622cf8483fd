#pragma once
#include <cstdint>
#include <vector>

#include "platform/ImageDecoder.h"
#include "platform/RenderDevice.h"

namespace tamblor {

// Where pictures go when they are packed into shared textures (pages). Every picture is surrounded by a
// gutter of kAtlasGutter pixels that repeats its own edge, so that filtered sampling at the picture's
// edge reads what clamped addressing of a texture of its own would read. A strip page holds pictures of
// one height side by side, its height theirs: vertical wrapping works there as in a texture of their
// own, and the gutters left and right repeat the opposite edge, as horizontal wrapping would.
constexpr int kAtlasGutter = 2;

struct AtlasPlacement {
    int page = -1;  // -1: left out (does not fit a page)
    int x = 0;      // top-left pixel of the picture itself in its page
    int y = 0;
};

struct AtlasLayout {
    std::vector<PixelSize> pages;
    std::vector<AtlasPlacement> placements;  // one per picture, in the order given
};

// Shelf packing, tallest pictures first, into pages of at most maxSize x maxSize pixels, each side a
// power of two. A picture that does not fit an empty page is left out. The picture corner (an index,
// or -1) goes first, at pixel (0, 0) of the first page: with power-of-two sizes its coordinates in the
// page are its own scaled by a power of two, exactly, so even unfiltered sampling of texel edges (the
// bitmap font's cells) picks the texels it picked in a texture of its own.
AtlasLayout PackPictures(const std::vector<PixelSize>& sizes, int maxSize, int corner = -1);

// Pictures of one height side by side into strip pages at most maxWidth wide.
AtlasLayout PackStrip(const std::vector<PixelSize>& sizes, int maxWidth);

// Copies picture into the RGBA pixels of a page at (x, y) and fills its gutter: the picture's edge
// repeated, or with wrapColumns the opposite columns left and right and no rows above or below.
void CopyIntoPage(std::vector<uint8_t>& page, PixelSize pageSize, const Image& picture, int x, int y,
                  bool wrapColumns);

}  // namespace tamblor
