#include "screens/Screen.h"

#include <algorithm>
#include <cmath>

#include "core/FloatToInt.h"
#include "core/Settings.h"
#include "platform/InputState.h"
#include "platform/Message.h"
#include "screens/ScreenCanvas.h"

namespace tamblor {

int Screen::HitTest(float cx, float cy, float w, float h, int mouseX, int mouseY) const {
    const float W = static_cast<float>(env_->canvas.ClientWidth());
    const float H = static_cast<float>(env_->canvas.ClientHeight());
    const float left = cx - w * 0.5f;
    const float top = cy - h * 0.5f;
    // A hand-edited coordinate far outside the screen (yc="1e12") stays far outside.
    const int L = TruncateToInt(left * W);
    const int R = TruncateToInt((left + w) * W);
    const int T = TruncateToInt(top * H);
    const int B = TruncateToInt((top + h) * H);
    return (L < mouseX && mouseX < R && T < mouseY && mouseY < B) ? 1 : 0;
}

float Screen::SliderPosition(const ScreenSlider& slider, int mouseX, int mouseY) const {
    if (!HitTest(slider.x, slider.y, slider.sliderWidth, slider.sliderHeight, mouseX, mouseY))
        return -1.0f;
    const float W = static_cast<float>(env_->canvas.ClientWidth());
    const float left = slider.x - slider.sliderWidth * 0.5f;
    return (static_cast<float>(mouseX) / W - left) / slider.sliderWidth;
}

void Screen::PlaySound(const std::string& file) {
    if (!file.empty())
        env_->sounds.PlaySoundFile(file);
}

void Screen::StoreChecked(const ScreenButton& button) {
    env_->settings.WriteConfigInt(kOptionsSection, button.name, button.checked);
}

void Screen::StoreSliderValue(const ScreenSlider& slider) {
    env_->settings.WriteConfigFloat(kOptionsSection, slider.name, slider.value);
}

const std::string& Screen::MsgProc(const Message& message) {
    if (message.message != WM_MOUSEMOVE && message.message != WM_LBUTTONDOWN)
        return empty_;
    const int mx = message.x;
    const int my = message.y;

    for (int i = 0; i < buttonCount; ++i) {
        ScreenButton& b = buttons[static_cast<size_t>(i)];
        if (!b.visible)
            continue;
        const bool inside = HitTest(b.x, b.y, b.width, b.height, mx, my) != 0;
        if (message.message == WM_MOUSEMOVE) {
            if (inside) {
                if (!b.over)
                    PlaySound(overSound);
                b.over = 1;
            } else {
                b.over = 0;
            }
        } else if (inside) {
            PlaySound(clickSound);
            if (b.IsCheckBox()) {
                b.checked = b.checked == 0 ? 1 : 0;
                StoreChecked(b);
            }
            return b.action;
        }
    }

    for (int i = 0; i < sliderCount; ++i) {
        ScreenSlider& s = sliders[static_cast<size_t>(i)];
        if (!s.visible)
            continue;
        const float p = SliderPosition(s, mx, my);
        const bool onBar = p >= 0.0f && p <= 1.0f;
        if (message.message == WM_MOUSEMOVE) {
            if (!onBar) {
                s.over = 0;
                continue;
            }
            if (!s.over)
                PlaySound(overSound);
            s.over = 1;
            if (env_->input.IsKeyDown(VK_LBUTTON)) {
                s.value = p;
                StoreSliderValue(s);
                return s.action;
            }
        } else if (onBar) {
            return ClickSlider(s, p);
        }
    }
    return empty_;
}

const std::string& Screen::ClickSlider(ScreenSlider& slider, float value) {
    PlaySound(clickSound);
    slider.value = value;
    StoreSliderValue(slider);
    return slider.action;
}

const std::string& Screen::StepSlider(int index, float step) {
    if (index < 0 || index >= sliderCount || !sliders[static_cast<size_t>(index)].visible)
        return empty_;
    ScreenSlider& slider = sliders[static_cast<size_t>(index)];
    return ClickSlider(slider, std::clamp(slider.value + step, 0.0f, 1.0f));
}

uint32_t Screen::DrawColour() const {
    const uint32_t alpha = tint >> 24;
    float scaled = static_cast<float>(alpha) * fade;
    // A fade outside 0..1 (or not a number) would not fit the alpha byte.
    if (!(scaled > 0.0f))
        scaled = 0.0f;
    if (scaled > 255.0f)
        scaled = 255.0f;
    return (tint & 0x00FFFFFFu) | (static_cast<uint32_t>(scaled) << 24);
}

void Screen::Render() {
    ScreenCanvas& canvas = env_->canvas;
    const uint32_t c = DrawColour();
    const float W = static_cast<float>(canvas.ClientWidth());
    const float H = static_cast<float>(canvas.ClientHeight());

    if (!bgImage.empty())
        canvas.DrawPicture(bgImage, x, y, width, height, c, ScreenCanvas::kAlpha);

    for (int i = 0; i < imageCount; ++i) {
        const ScreenImage& image = images[static_cast<size_t>(i)];
        uint32_t flags = ScreenCanvas::kAlpha;
        if (image.stretch == "no")
            flags |= ScreenCanvas::kOwnSize;
        canvas.DrawPicture(image.img, image.x, image.y, image.width, image.height, c, flags);
    }

    for (int i = 0; i < textCount; ++i) {
        const ScreenText& t = texts[static_cast<size_t>(i)];
        if (t.text.empty())
            continue;
        uint32_t flags = ScreenCanvas::kTextCenter;
        if (t.align == "left")
            flags = ScreenCanvas::kTextLeft;
        else if (t.align == "right")
            flags = ScreenCanvas::kTextRight;
        canvas.DrawString(t.x, t.y, t.size, c, flags, t.text);
    }

    for (int i = 0; i < buttonCount; ++i) {
        ScreenButton& b = buttons[static_cast<size_t>(i)];
        if (!b.visible)
            continue;
        const std::string& picture =
            b.over ? (b.checked ? b.overImgChecked : b.overImg) : (b.checked ? b.outImgChecked : b.outImg);
        b.textSize = 0.04f;
        uint32_t spriteFlags = ScreenCanvas::kAlpha;
        uint32_t textFlags = 0;
        if (b.stretch == "no") {
            int pw = 0, ph = 0;
            if (canvas.PictureSize(picture, pw, ph) && W > 0.0f && H > 0.0f) {
                b.width = static_cast<float>(pw) / W;
                b.height = static_cast<float>(ph) / H;
            }
            if (H > 0.0f)
                b.textSize = static_cast<float>(canvas.FontSheetHeight()) / 8.0f / H;
            spriteFlags |= ScreenCanvas::kOwnSize;
            textFlags |= ScreenCanvas::kTextImageOwnSize;
        }
        canvas.DrawPicture(picture, b.x, b.y, b.width, b.height, c, spriteFlags);
        if (!b.text.empty()) {
            if (b.align == "left") {
                canvas.DrawString(b.x + b.width, b.y, b.textSize, c, textFlags | ScreenCanvas::kTextLeft,
                                  b.text);
            } else if (b.align == "right") {
                canvas.DrawString(b.x - b.width, b.y, b.textSize, c, textFlags | ScreenCanvas::kTextRight,
                                  b.text);
            } else {
                canvas.DrawString(b.x, b.y, b.textSize, c, textFlags | ScreenCanvas::kTextCenter, b.text);
            }
        }
    }

    for (int i = 0; i < sliderCount; ++i) {
        ScreenSlider& s = sliders[static_cast<size_t>(i)];
        if (!s.visible)
            continue;
        const std::string& bar = s.over ? s.overSliderImg : s.outSliderImg;
        const std::string& thumb = s.over ? s.overThumbImg : s.outThumbImg;
        int pw = 0, ph = 0;
        if (W > 0.0f && H > 0.0f) {
            if (canvas.PictureSize(bar, pw, ph)) {
                s.sliderWidth = static_cast<float>(pw) / W;
                s.sliderHeight = static_cast<float>(ph) / H;
            }
            if (canvas.PictureSize(thumb, pw, ph)) {
                s.thumbWidth = static_cast<float>(pw) / W;
                s.thumbHeight = static_cast<float>(ph) / H;
            }
        }
        const uint32_t flags = ScreenCanvas::kAlpha | ScreenCanvas::kOwnSize;
        canvas.DrawPicture(bar, s.x, s.y, s.sliderWidth, s.sliderHeight, c, flags);
        // The filled track shows the value: its left part, up to the thumb's centre.
        if (!s.fillSliderImg.empty() && canvas.PictureSize(s.fillSliderImg, pw, ph) && W > 0.0f && H > 0.0f) {
            const float fill = s.value > 0.0f ? std::min(s.value, 1.0f) : 0.0f;
            const float fullWidth = static_cast<float>(pw) / W;
            canvas.DrawPicturePart(s.fillSliderImg, s.x - fullWidth / 2.0f + fill * fullWidth / 2.0f, s.y,
                                   fill * fullWidth, static_cast<float>(ph) / H, 0.0f, 0.0f, fill, 1.0f, c,
                                   ScreenCanvas::kAlpha);
        }
        canvas.DrawPicture(thumb, s.x - s.sliderWidth / 2.0f + s.value * s.sliderWidth, s.y, s.thumbWidth,
                           s.thumbHeight, c, flags);
    }
}

int Screen::IsChecked(std::string_view name) const {
    for (int i = 0; i < buttonCount; ++i) {
        const ScreenButton& b = buttons[static_cast<size_t>(i)];
        if (b.name == name && b.checked)
            return 1;
    }
    return 0;
}

int Screen::IsOver(std::string_view name) const {
    for (int i = 0; i < buttonCount; ++i) {
        const ScreenButton& b = buttons[static_cast<size_t>(i)];
        if (b.name == name && b.over)
            return 1;
    }
    return 0;
}

void Screen::SetChecked(std::string_view name, int checked) {
    for (int i = 0; i < buttonCount; ++i) {
        ScreenButton& b = buttons[static_cast<size_t>(i)];
        if (b.name == name && b.IsCheckBox()) {
            b.checked = checked;
            StoreChecked(b);
        }
    }
}

const ScreenText* Screen::FindText(std::string_view name) const {
    for (int i = 0; i < textCount; ++i) {
        if (texts[static_cast<size_t>(i)].name == name)
            return &texts[static_cast<size_t>(i)];
    }
    return nullptr;
}

float Screen::GetTextX(std::string_view name) const {
    const ScreenText* t = FindText(name);
    return t ? t->x : 0.0f;
}

float Screen::GetTextY(std::string_view name) const {
    const ScreenText* t = FindText(name);
    return t ? t->y : 0.0f;
}

float Screen::GetTextSize(std::string_view name) const {
    const ScreenText* t = FindText(name);
    return t ? t->size : 0.0f;
}

float Screen::GetSliderValue(std::string_view name) const {
    for (int i = 0; i < sliderCount; ++i) {
        if (sliders[static_cast<size_t>(i)].name == name)
            return sliders[static_cast<size_t>(i)].value;
    }
    return 0.0f;
}

}  // namespace tamblor
