#pragma once
#include <vector>

namespace tamblor {

class Screen;

// A widget that the keys and the game pad can focus: a visible button or check box that has an
// action, or a visible slider. Its rectangle is in screen fractions, centred at (x, y).
struct FocusItem {
    enum Kind { Button, Slider };
    Kind kind = Button;
    int index = 0;  // into the screen's buttons or sliders
    float x = 0.0f, y = 0.0f, width = 0.0f, height = 0.0f;
};

// The order in which the keys move through a screen's widgets, read off its layout: rows from top to
// bottom, and in each row from left to right. Widgets whose centres are less than kRowTolerance of
// the screen height apart share a row.
std::vector<FocusItem> FocusOrder(const Screen& screen);
inline constexpr float kRowTolerance = 0.03f;

}  // namespace tamblor
