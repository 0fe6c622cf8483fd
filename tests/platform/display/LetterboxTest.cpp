#include <gtest/gtest.h>

#include "platform/display/Letterbox.h"

namespace tamblor {

namespace {
Letterbox Make(int windowW, int windowH, int drawableW, int drawableH, int logicalW = 800,
               int logicalH = 600) {
    Letterbox box;
    box.logicalWidth = logicalW;
    box.logicalHeight = logicalH;
    box.windowWidth = windowW;
    box.windowHeight = windowH;
    box.drawableWidth = drawableW;
    box.drawableHeight = drawableH;
    box.Update();
    return box;
}
}  // namespace

TEST(Letterbox, FitsThePictureAndMapsTheMouseBack) {
    // A window of the picture's own size: identity.
    Letterbox same = Make(800, 600, 800, 600);
    EXPECT_EQ(same.viewX, 0);
    EXPECT_EQ(same.viewWidth, 800);
    int x = 0, y = 0;
    same.WindowToLogical(799, 599, &x, &y);
    EXPECT_EQ(x, 799);
    EXPECT_EQ(y, 599);

    // Wide desktop: bars left and right, the mouse in a bar maps outside the picture.
    Letterbox wide = Make(1920, 1080, 1920, 1080);
    EXPECT_EQ(wide.viewWidth, 1440);
    EXPECT_EQ(wide.viewHeight, 1080);
    EXPECT_EQ(wide.viewX, 240);
    EXPECT_EQ(wide.viewY, 0);
    wide.WindowToLogical(240, 0, &x, &y);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
    wide.WindowToLogical(960, 540, &x, &y);
    EXPECT_EQ(x, 400);
    EXPECT_EQ(y, 300);
    wide.WindowToLogical(100, 540, &x, &y);
    EXPECT_LT(x, 0);
    wide.WindowToLogical(1900, 540, &x, &y);
    EXPECT_GE(x, 800);

    // Tall: bars above and below.
    Letterbox tall = Make(1000, 1000, 1000, 1000);
    EXPECT_EQ(tall.viewWidth, 1000);
    EXPECT_EQ(tall.viewHeight, 750);
    EXPECT_EQ(tall.viewY, 125);

    // HiDPI: the drawable has twice the window's pixels; the mouse comes in window coordinates.
    Letterbox hidpi = Make(800, 600, 1600, 1200);
    EXPECT_EQ(hidpi.viewWidth, 1600);
    hidpi.WindowToLogical(400, 300, &x, &y);
    EXPECT_EQ(x, 400);
    EXPECT_EQ(y, 300);

    // A round trip lands on the same logical pixel (pointer warps).
    for (const Letterbox& box : {same, wide, tall, hidpi, Make(1366, 768, 1366, 768)}) {
        for (int lx : {0, 1, 399, 799}) {
            for (int ly : {0, 300, 599}) {
                int wx = 0, wy = 0, bx = 0, by = 0;
                box.LogicalToWindow(lx, ly, &wx, &wy);
                box.WindowToLogical(wx, wy, &bx, &by);
                EXPECT_EQ(bx, lx);
                EXPECT_EQ(by, ly);
            }
        }
    }

    // Degenerate sizes (a minimised window) never divide by zero.
    Letterbox empty = Make(0, 0, 0, 0);
    empty.WindowToLogical(5, 6, &x, &y);
    EXPECT_EQ(x, 5);
    EXPECT_EQ(y, 6);
}

}  // namespace tamblor
