#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "screens/ScreenWidgets.h"

namespace tamblor {

class Settings;
class Log;
class InputState;
class ScreenCanvas;
class SoundFilePlayer;
struct Message;

// What a screen reads and writes besides its own widgets.
struct ScreenEnvironment {
    Settings& settings;  // config.ini: check boxes and sliders; the file resolver for screen files
    Log& log;
    InputState& input;  // the held left button while a slider is dragged
    ScreenCanvas& canvas;
    SoundFilePlayer& sounds;
};

// One menu or overlay: a fixed set of widgets read from a screen file. It keeps the hover state,
// plays its sounds, toggles check boxes, moves sliders and answers mouse messages with the action
// name of the widget clicked; what an action means is up to the caller.
class Screen {
public:
    static constexpr int kMaxButtons = 50;
    static constexpr int kMaxTexts = 20;
    static constexpr int kMaxImages = 20;
    static constexpr int kMaxSliders = 5;
    static constexpr const char* kOptionsSection = "OPTIONS";

    explicit Screen(ScreenEnvironment& env) : env_(&env) {}

    // Reads a screen file; 1 when it was read, 0 (logged) when it could not be read or parsed.
    int Load(std::string_view fileName);

    // The action of the widget clicked, or "" (valid as long as the screen is).
    const std::string& MsgProc(const Message& message);
    void Render();

    // 1 when the pixel (mouseX, mouseY) lies strictly inside the rectangle centred at (x, y).
    int HitTest(float x, float y, float width, float height, int mouseX, int mouseY) const;
    // 0..1 along the slider's bar under the mouse, -1 when the mouse is not over the bar.
    float SliderPosition(const ScreenSlider& slider, int mouseX, int mouseY) const;

    int IsChecked(std::string_view name) const;
    int IsOver(std::string_view name) const;
    float GetTextX(std::string_view name) const;
    float GetTextY(std::string_view name) const;
    float GetTextSize(std::string_view name) const;
    float GetSliderValue(std::string_view name) const;
    // Sets a check box's state and stores it, as a click would (without sound or action).
    void SetChecked(std::string_view name, int checked);
    // Moves a slider's thumb by step (kept within 0..1) as a click on its bar would: it sounds, stores
    // the value and returns the slider's action ("" for an index that is not a visible slider).
    const std::string& StepSlider(int index, float step);

    // Header fields.
    std::string bgImage;
    float x = 0.0f, y = 0.0f, width = 0.0f, height = 0.0f;
    std::string clickSound;
    std::string overSound;

    std::array<ScreenButton, kMaxButtons> buttons{};
    int buttonCount = 0;
    std::array<ScreenText, kMaxTexts> texts{};
    int textCount = 0;
    std::array<ScreenImage, kMaxImages> images{};
    int imageCount = 0;
    std::array<ScreenSlider, kMaxSliders> sliders{};
    int sliderCount = 0;

    uint32_t tint = 0;
    float fade = 0.0f;

    // The drawing colour: the tint with its alpha scaled by fade.
    uint32_t DrawColour() const;

private:
    const ScreenText* FindText(std::string_view name) const;
    void PlaySound(const std::string& file);
    void StoreChecked(const ScreenButton& button);
    void StoreSliderValue(const ScreenSlider& slider);
    const std::string& ClickSlider(ScreenSlider& slider, float value);

    ScreenEnvironment* env_;
    std::string empty_;
};

}  // namespace tamblor
