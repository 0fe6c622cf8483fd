#include "platform/display/Letterbox.h"

#include <cmath>

namespace tamblor {

void Letterbox::Update() {
    if (logicalWidth <= 0 || logicalHeight <= 0 || drawableWidth <= 0 || drawableHeight <= 0) {
        viewX = viewY = 0;
        viewWidth = drawableWidth > 0 ? drawableWidth : 0;
        viewHeight = drawableHeight > 0 ? drawableHeight : 0;
        return;
    }
    // Compare the aspects in integers so equal aspects never leave a one-pixel bar from rounding.
    long long lhs = static_cast<long long>(drawableWidth) * logicalHeight;
    long long rhs = static_cast<long long>(drawableHeight) * logicalWidth;
    if (lhs > rhs) {  // wider than the picture: bars left and right
        viewHeight = drawableHeight;
        viewWidth = static_cast<int>(rhs / logicalHeight);
    } else {  // taller (or equal): bars above and below
        viewWidth = drawableWidth;
        viewHeight = static_cast<int>(lhs / logicalWidth);
    }
    viewX = (drawableWidth - viewWidth) / 2;
    viewY = (drawableHeight - viewHeight) / 2;
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
