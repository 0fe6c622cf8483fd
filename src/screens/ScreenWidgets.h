#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tamblor {

// Widths of the fixed text fields of a screen file, terminating zero included: every value longer
// than the field allows is cut to fit.
constexpr size_t kScreenFieldSize = 40;
constexpr size_t kScreenTextSize = 100;

// A copy of text cut to what a field of fieldSize bytes holds (fieldSize - 1 characters).
inline std::string ClipToField(std::string_view text, size_t fieldSize) {
    return std::string(text.substr(0, fieldSize - 1));
}

struct ScreenButton {
    std::string name;
    std::string text;
    std::string align;
    std::string stretch;
    float textSize = 0.0f;
    float x = 0.0f, y = 0.0f, width = 0.0f, height = 0.0f;
    std::string outImg;
    std::string overImg;
    std::string outImgChecked;  // non-empty: the button is a check box
    std::string overImgChecked;
    std::string action;
    int over = 0;
    int checked = 0;
    int visible = 0;

    bool IsCheckBox() const { return !outImgChecked.empty(); }
};

struct ScreenText {
    std::string name;
    std::string text;  // up to 99 characters
    std::string align;
    float x = 0.0f, y = 0.0f, size = 0.0f;
};

struct ScreenImage {
    std::string stretch;
    float x = 0.0f, y = 0.0f, width = 0.0f, height = 0.0f;
    std::string img;
};

struct ScreenSlider {
    std::string name;
    float x = 0.0f, y = 0.0f;
    float sliderWidth = 0.0f, sliderHeight = 0.0f;  // bar size, taken from its picture on every draw
    float thumbWidth = 0.0f, thumbHeight = 0.0f;
    std::string outSliderImg;
    std::string overSliderImg;
    std::string fillSliderImg;  // optional: the filled track, shown from the left end up to the value
    std::string outThumbImg;
    std::string overThumbImg;
    std::string action;
    int over = 0;
    int visible = 0;
    float value = 0.0f;  // thumb position, 0 (left end) to 1 (right end)
};

}  // namespace tamblor
