#pragma once

namespace tamblor {

// Where the logical back buffer (the video mode's size, 800 x 600 by default) lands in the window's
// drawable: scaled to fit with its aspect kept and centred, black bars on the other sides. The mouse
// is mapped back through the same transform.
struct Letterbox {
    int logicalWidth = 800;
    int logicalHeight = 600;
    // The window size in window coordinates (mouse events) and in pixels (drawing); they differ on
    // HiDPI desktops.
    int windowWidth = 800;
    int windowHeight = 600;
    int drawableWidth = 800;
    int drawableHeight = 600;

    // The destination rectangle in drawable pixels (origin top left).
    int viewX = 0;
    int viewY = 0;
    int viewWidth = 800;
    int viewHeight = 600;

    // Recomputes the destination rectangle from the sizes above.
    void Update();
    // Window coordinates -> logical pixels. Positions outside the picture map outside 0..size.
    void WindowToLogical(int wx, int wy, int* lx, int* ly) const;
    // Logical pixels -> window coordinates (for moving the pointer).
    void LogicalToWindow(int lx, int ly, int* wx, int* wy) const;
};

}  // namespace tamblor
