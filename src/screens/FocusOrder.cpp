#include "screens/FocusOrder.h"

#include <algorithm>
#include <cmath>

#include "screens/Screen.h"

namespace tamblor {

std::vector<FocusItem> FocusOrder(const Screen& screen) {
    std::vector<FocusItem> items;
    for (int i = 0; i < screen.buttonCount; ++i) {
        const ScreenButton& b = screen.buttons[static_cast<size_t>(i)];
        if (b.visible && !b.action.empty())
            items.push_back({FocusItem::Button, i, b.x, b.y, b.width, b.height});
    }
    for (int i = 0; i < screen.sliderCount; ++i) {
        const ScreenSlider& s = screen.sliders[static_cast<size_t>(i)];
        if (s.visible)
            items.push_back({FocusItem::Slider, i, s.x, s.y, s.sliderWidth, s.sliderHeight});
    }
    // Rows first: top to bottom; a widget joins the row of the one above it when their centres are
    // close. Then each row from left to right (the sort is stable, so equal places keep file order).
    std::stable_sort(items.begin(), items.end(),
                     [](const FocusItem& a, const FocusItem& b) { return a.y < b.y; });
    std::vector<int> row(items.size(), 0);
    for (size_t i = 1; i < items.size(); ++i) {
        bool sameRow = items[i].y - items[i - 1].y < kRowTolerance;
        row[i] = sameRow ? row[i - 1] : row[i - 1] + 1;
    }
    std::vector<size_t> order(items.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        if (row[a] != row[b])
            return row[a] < row[b];
        return items[a].x < items[b].x;
    });
    std::vector<FocusItem> sorted;
    sorted.reserve(items.size());
    for (size_t i : order) sorted.push_back(items[i]);
    return sorted;
}

}  // namespace tamblor
