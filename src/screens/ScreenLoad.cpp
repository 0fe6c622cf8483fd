#include <tinyxml2.h>

#include <algorithm>
#include <cctype>
#include <cfloat>
#include <string>

#include "core/IniText.h"
#include "core/Log.h"
#include "core/Settings.h"
#include "platform/FileSystem.h"
#include "screens/Screen.h"

namespace tamblor {
namespace {

// Screen files are small; anything larger is not one.
constexpr size_t kMaxScreenFileBytes = 4u * 1024u * 1024u;

void ReadString(const tinyxml2::XMLElement* element, const char* attribute, std::string& field,
                size_t fieldSize = kScreenFieldSize) {
    if (const char* value = element->Attribute(attribute))
        field = ClipToField(value, fieldSize);
}

// A decimal number as the C library reads one: blanks skipped, reading stops where the number
// ends, no number reads 0.
void ReadFloat(const tinyxml2::XMLElement* element, const char* attribute, float& field) {
    const char* value = element->Attribute(attribute);
    if (!value)
        return;
    std::string_view text(value);
    size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    double number = ParseDecimalPrefix(text.substr(i));
    field =
        static_cast<float>(std::clamp(number, -static_cast<double>(FLT_MAX), static_cast<double>(FLT_MAX)));
}

}  // namespace

int Screen::Load(std::string_view fileName) {
    tint = 0xFFFFFFFF;
    fade = 1.0f;

    std::string contents;
    tinyxml2::XMLDocument document;
    bool parsed = env_->settings.Files().ReadFile(fileName, contents, kMaxScreenFileBytes) &&
                  document.Parse(contents.data(), contents.size()) == tinyxml2::XML_SUCCESS;
    // A well-formed file without a Screen element is no screen file either.
    const tinyxml2::XMLElement* root = parsed ? document.FirstChildElement("Screen") : nullptr;
    if (!root) {
        env_->log.WriteLog("Fatal error, cannot load XML: " + std::string(fileName), 0);
        return 0;
    }

    ReadFloat(root, "xc", x);
    ReadFloat(root, "yc", y);
    ReadFloat(root, "width", width);
    ReadFloat(root, "height", height);
    ReadString(root, "bgImage", bgImage);
    ReadString(root, "clickSound", clickSound);
    ReadString(root, "overSound", overSound);

    buttonCount = 0;
    for (auto* e = root->FirstChildElement("Button"); e && buttonCount < kMaxButtons;
         e = e->NextSiblingElement("Button")) {
        ScreenButton& b = buttons[static_cast<size_t>(buttonCount++)];
        b = ScreenButton{};
        ReadString(e, "name", b.name);
        ReadString(e, "text", b.text);
        ReadString(e, "align", b.align);
        ReadString(e, "stretch", b.stretch);
        ReadFloat(e, "xc", b.x);
        ReadFloat(e, "yc", b.y);
        ReadFloat(e, "width", b.width);
        ReadFloat(e, "height", b.height);
        ReadString(e, "outImg", b.outImg);
        ReadString(e, "overImg", b.overImg);
        ReadString(e, "outImgChecked", b.outImgChecked);
        ReadString(e, "overImgChecked", b.overImgChecked);
        ReadString(e, "action", b.action);
        b.over = 0;
        b.checked = 0;
        b.visible = 1;
    }

    sliderCount = 0;
    for (auto* e = root->FirstChildElement("Slider"); e && sliderCount < kMaxSliders;
         e = e->NextSiblingElement("Slider")) {
        ScreenSlider& s = sliders[static_cast<size_t>(sliderCount++)];
        s = ScreenSlider{};
        ReadString(e, "name", s.name);
        ReadFloat(e, "xc", s.x);
        ReadFloat(e, "yc", s.y);
        ReadString(e, "outSliderImg", s.outSliderImg);
        ReadString(e, "overSliderImg", s.overSliderImg);
        ReadString(e, "fillSliderImg", s.fillSliderImg);
        ReadString(e, "outThumbImg", s.outThumbImg);
        ReadString(e, "overThumbImg", s.overThumbImg);
        ReadString(e, "action", s.action);
        s.over = 0;
        s.visible = 1;
        s.value = 0.75f;
    }

    imageCount = 0;
    for (auto* e = root->FirstChildElement("Image"); e && imageCount < kMaxImages;
         e = e->NextSiblingElement("Image")) {
        ScreenImage& image = images[static_cast<size_t>(imageCount++)];
        image = ScreenImage{};
        ReadString(e, "stretch", image.stretch);
        ReadFloat(e, "xc", image.x);
        ReadFloat(e, "yc", image.y);
        ReadFloat(e, "width", image.width);
        ReadFloat(e, "height", image.height);
        ReadString(e, "img", image.img);
    }

    textCount = 0;
    for (auto* e = root->FirstChildElement("Text"); e && textCount < kMaxTexts;
         e = e->NextSiblingElement("Text")) {
        ScreenText& t = texts[static_cast<size_t>(textCount++)];
        t = ScreenText{};
        ReadString(e, "name", t.name);
        ReadString(e, "text", t.text, kScreenTextSize);
        ReadString(e, "align", t.align);
        ReadFloat(e, "xc", t.x);
        ReadFloat(e, "yc", t.y);
        ReadFloat(e, "size", t.size);
    }

    // Check boxes and sliders remember their state in config.ini under their own names.
    for (int i = 0; i < buttonCount; ++i) {
        ScreenButton& b = buttons[static_cast<size_t>(i)];
        if (b.IsCheckBox())
            env_->settings.ReadConfigInt(kOptionsSection, b.name, &b.checked);
    }
    for (int i = 0; i < sliderCount; ++i) {
        ScreenSlider& s = sliders[static_cast<size_t>(i)];
        // The thumb lives on its bar: a hand-edited value outside 0..1 is brought back onto it.
        if (env_->settings.ReadConfigFloat(kOptionsSection, s.name, &s.value))
            s.value = std::clamp(s.value, 0.0f, 1.0f);
    }
    return 1;
}

}  // namespace tamblor
