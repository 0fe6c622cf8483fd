#include "platform/display/Letterbox.h"

#include <algorithm>
#include <cmath>

namespace tamblor {

void Letterbox::Update() {
    if (logicalWidth <= 0 || logicalHeight <= 0 || drawableWidth <= 0 || drawableHeight <= 0) {
        viewX = viewY = 0;
        viewWidth = drawableWidth > 0 ? drawableWidth : 0;
        viewHeight = drawableHeight > 0 ? drawableHeight : 0;
        return;
    }
    // The same fit as the drawing's final pass: the largest scale that fits, sizes rounded, centred
    // (an odd pixel of bar goes to the top, as the pass counts from the bottom).
    double scale = std::min(static_cast<double>(drawableWidth) / logicalWidth,
                            static_cast<double>(drawableHeight) / logicalHeight);
    viewWidth = std::clamp(static_cast<int>(std::lround(logicalWidth * scale)), 1, drawableWidth);
    viewHeight = std::clamp(static_cast<int>(std::lround(logicalHeight * scale)), 1, drawableHeight);
    viewX = (drawableWidth - viewWidth) / 2;
    viewY = drawableHeight - viewHeight - (drawableHeight - viewHeight) / 2;
}

void Letterbox::WindowToLogical(int wx, int wy, int* lx, int* ly) const {
    if (windowWidth <= 0 || windowHeight <= 0 || viewWidth <= 0 || viewHeight <= 0) {
        *lx = wx;
        *ly = wy;
        return;
    }
    // The centre of the window pixel to drawable pixels, then into the picture.
    double px = (wx + 0.5) * drawableWidth / windowWidth;
    double py = (wy + 0.5) * drawableHeight / windowHeight;
    *lx = static_cast<int>(std::floor((px - viewX) * logicalWidth / viewWidth));
    *ly = static_cast<int>(std::floor((py - viewY) * logicalHeight / viewHeight));
}

void Letterbox::LogicalToWindow(int lx, int ly, int* wx, int* wy) const {
    if (drawableWidth <= 0 || drawableHeight <= 0 || logicalWidth <= 0 || logicalHeight <= 0) {
        *wx = lx;
        *wy = ly;
        return;
    }
    // The centre of the logical pixel, so the round trip lands on the same pixel.
    double px = viewX + (lx + 0.5) * viewWidth / logicalWidth;
    double py = viewY + (ly + 0.5) * viewHeight / logicalHeight;
    *wx = static_cast<int>(std::floor(px * windowWidth / drawableWidth));
    *wy = static_cast<int>(std::floor(py * windowHeight / drawableHeight));
}

}  // namespace tamblor
