#include "graphics/TextureAtlas.h"

#include <algorithm>
#include <numeric>

namespace tamblor {

namespace {

int PowerOfTwoAtLeast(int n) {
    int p = 1;
    while (p < n) p *= 2;
    return p;
}

}  // namespace

AtlasLayout PackPictures(const std::vector<PixelSize>& sizes, int maxSize, int corner) {
    AtlasLayout layout;
    layout.placements.resize(sizes.size());
    std::vector<size_t> order(sizes.size());
    std::iota(order.begin(), order.end(), size_t{0});
    // Tallest first (then widest), so shelves waste little; equal pictures keep their order.
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        if ((a == static_cast<size_t>(corner)) != (b == static_cast<size_t>(corner)))
            return a == static_cast<size_t>(corner);
        if (sizes[a].height != sizes[b].height)
            return sizes[a].height > sizes[b].height;
        return sizes[a].width > sizes[b].width;
    });
    int shelfX = 0, shelfY = 0, shelfHeight = 0;
    for (size_t i : order) {
        // The corner picture needs no gutter above or left of it: the page's edge clamps there.
        int lead = i == static_cast<size_t>(corner) ? 0 : kAtlasGutter;
        int w = sizes[i].width + lead + kAtlasGutter;
        int h = sizes[i].height + lead + kAtlasGutter;
        if (sizes[i].width <= 0 || sizes[i].height <= 0 || w > maxSize || h > maxSize)
            continue;
        if (layout.pages.empty() || shelfX + w > maxSize) {
            // The next shelf, or the next page when this one is full.
            shelfY += shelfHeight;
            shelfX = 0;
            shelfHeight = 0;
            if (layout.pages.empty() || shelfY + h > maxSize) {
                layout.pages.push_back({0, 0});
                shelfY = 0;
            }
        }
        PixelSize& page = layout.pages.back();
        layout.placements[i] = {static_cast<int>(layout.pages.size()) - 1, shelfX + lead, shelfY + lead};
        shelfX += w;
        shelfHeight = std::max(shelfHeight, h);
        page.width = std::max(page.width, shelfX);
        page.height = std::max(page.height, shelfY + shelfHeight);
    }
    for (PixelSize& page : layout.pages) {
        page.width = PowerOfTwoAtLeast(page.width);
        page.height = PowerOfTwoAtLeast(page.height);
    }
    return layout;
}

AtlasLayout PackStrip(const std::vector<PixelSize>& sizes, int maxWidth) {
    AtlasLayout layout;
    layout.placements.resize(sizes.size());
    for (size_t i = 0; i < sizes.size(); ++i) {
        int w = sizes[i].width + 2 * kAtlasGutter;
        if (sizes[i].width <= 0 || sizes[i].height <= 0 || w > maxWidth)
            continue;
        if (layout.pages.empty() || layout.pages.back().width + w > maxWidth ||
            layout.pages.back().height != sizes[i].height) {
            layout.pages.push_back({0, sizes[i].height});
        }
        PixelSize& page = layout.pages.back();
        layout.placements[i] = {static_cast<int>(layout.pages.size()) - 1, page.width + kAtlasGutter, 0};
        page.width += w;
    }
    return layout;
}

void CopyIntoPage(std::vector<uint8_t>& page, PixelSize pageSize, const Image& picture, int x, int y,
                  bool wrapColumns) {
    const int w = picture.width;
    const int h = picture.height;
    const int rowGutter = wrapColumns ? 0 : kAtlasGutter;
    for (int dy = -rowGutter; dy < h + rowGutter; ++dy) {
        int py = y + dy;
        if (py < 0 || py >= pageSize.height)
            continue;
        int sy = std::clamp(dy, 0, h - 1);
        for (int dx = -kAtlasGutter; dx < w + kAtlasGutter; ++dx) {
            int px = x + dx;
            if (px < 0 || px >= pageSize.width)
                continue;
            int sx = wrapColumns ? ((dx % w) + w) % w : std::clamp(dx, 0, w - 1);
            const uint8_t* from = picture.rgba.data() + (static_cast<size_t>(sy) * w + sx) * 4;
            uint8_t* to = page.data() + (static_cast<size_t>(py) * pageSize.width + px) * 4;
            std::copy_n(from, 4, to);
        }
    }
}

}  // namespace tamblor
