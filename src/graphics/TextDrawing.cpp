// Text: language lookup, pictures named by a text, the bitmap font sheet and the big font.
#include <cctype>
#include <string>

#include "core/IniText.h"
#include "core/Language.h"
#include "core/Log.h"
#include "graphics/Graphics.h"
#include "platform/TextureFont.h"

namespace tamblor {
namespace {

constexpr size_t kMaxText = 255;
constexpr size_t kMaxSymbols = 255;

// True when the text starts (after blanks) with a decimal number, as "%f" would read one.
bool StartsWithNumber(std::string_view piece) {
    size_t i = 0;
    while (i < piece.size() && std::isspace(static_cast<unsigned char>(piece[i]))) ++i;
    if (i < piece.size() && (piece[i] == '+' || piece[i] == '-'))
        ++i;
    if (i < piece.size() && piece[i] == '.')
        ++i;
    return i < piece.size() && std::isdigit(static_cast<unsigned char>(piece[i]));
}

// What a text drawing shows for key: its text in the current language, else the key itself, cut to
// what a text may hold. A view into the language's own storage (or the key): no copy per frame.
std::string_view TextForKey(Language& language, std::string_view key) {
    std::string_view text = language.LanguageString(key);
    if (text.empty())
        text = key;
    return text.substr(0, kMaxText);
}

}  // namespace

int Graphics::SymbolIndex(char character) const {
    size_t pos = symbolList_.find(character);
    return pos == std::string::npos ? -1 : static_cast<int>(pos);
}

float Graphics::FontCellWidth(float size) const {
    PixelSize client = GetClientSize();
    float W = static_cast<float>(client.width);
    float H = static_cast<float>(client.height);
    float cw = static_cast<float>(fontTexture_->Width()) / kFontColumns / W;
    float ch = static_cast<float>(fontTexture_->Height()) / kFontRows / H;
    return size * cw / ch;  // a cell keeps its pixel proportions at height size
}

float Graphics::TextAdvance(std::string_view text, float cellWidth) const {
    float total = 0;
    for (char c : text) {
        int idx = SymbolIndex(c);
        total += idx >= 0 ? cellWidth * symbolWidths_[idx] : cellWidth;
    }
    return total;
}

float Graphics::StringWidth(float size, std::string_view key) {
    if (fontTexture_ == nullptr)
        return 0;
    return TextAdvance(TextForKey(language_, key), FontCellWidth(size));
}

void Graphics::LoadSymbolWidths(std::string_view fontFile) {
    symbolList_ = language_.LanguageString("SymbolList").substr(0, kMaxSymbols);
    fontTexture_ = FindTexture(fontFile);
    if (symbolWidthsLoaded_)
        return;
    for (int row = 1; row <= kFontRows; ++row) {
        std::string line = language_.LanguageString("Line0" + std::to_string(row) + "_Width");
        std::string_view rest = line;
        for (int piece = 0; piece < kFontColumns; ++piece) {
            size_t comma = rest.find(',');
            std::string_view text = rest.substr(0, comma);
            if (!StartsWithNumber(text)) {
                log_.WriteLog("Can't load symbol width from 'language.ini'", LOG_TIME);
                break;
            }
            symbolWidths_[(row - 1) * kFontColumns + piece] =
                static_cast<float>(ParseDecimalPrefix(text)) * 0.0625f;
            if (comma == std::string_view::npos)
                break;
            rest = rest.substr(comma + 1);
        }
    }
    symbolWidthsLoaded_ = 1;
}

void Graphics::CreateBigFont(std::string_view face, float heightFraction) {
    if (device_ == nullptr || bigFont_)
        return;
    int height = static_cast<int>(heightFraction * static_cast<float>(GetClientSize().height));
    auto font = std::make_unique<TextureFont>(face, height, 0);
    if (font->InitDeviceObjects(*device_) != 0) {
        log_.WriteLog("Font '" + std::string(face) + "' could not be made; big texts are not drawn",
                      LOG_TIME);
        return;
    }
    font->RestoreDeviceObjects();
    bigFont_ = std::move(font);
}

void Graphics::ReleaseBigFont() {
    if (!bigFont_)
        return;
    bigFont_->InvalidateDeviceObjects();
    bigFont_->DeleteDeviceObjects();
    bigFont_.reset();
}

int32_t Graphics::DrawString(float x, float y, float size, uint32_t colour, uint32_t flags,
                             std::string_view key) {
    if (device_ == nullptr)
        return 0;
    // A view: a text drawn every frame costs no copy.
    std::string_view text = TextForKey(language_, key);
    PixelSize client = GetClientSize();
    float W = static_cast<float>(client.width);
    float H = static_cast<float>(client.height);

    // A text naming a picture is that picture.
    if (text.find(".png") != std::string_view::npos || text.find(".tga") != std::string_view::npos) {
        TextureHandle picture = FindTexture(text);
        if (picture == nullptr)
            return 0;
        float pw = static_cast<float>(picture->Width());
        float ph = static_cast<float>(picture->Height());
        float height = size;
        float width = size * (pw / ph) * (H / W);
        if (flags & TEXT_IMAGE_OWN_SIZE) {
            width = pw / W;
            height = ph / H;
        }
        float cx = x + width / 2;
        if (flags & TEXT_RIGHT) {
            cx = x - width / 2;
        } else if (flags & TEXT_CENTER) {
            cx = x;
        }
        DrawSprite(picture, cx, y, width, height, 0, 0, 1, 1, colour, SPRITE_ALPHA);
        return 0;
    }

    if (flags & TEXT_BIG_FONT) {
        if (!bigFont_)
            return E_FAIL_CODE;
        float px = x * W;
        float py = y * H;
        PixelSize extent = bigFont_->GetTextExtent(text);
        py -= static_cast<float>(extent.height / 2);
        if (flags & TEXT_RIGHT) {
            px -= static_cast<float>(extent.width);
        } else if (flags & TEXT_CENTER) {
            px -= static_cast<float>(extent.width / 2);
        }
        bigFont_->DrawText(px, py, colour, text, D3DFONT_FILTERED);
        return 0;
    }

    if (fontTexture_ == nullptr)
        return 0;
    float gw = FontCellWidth(size);
    float total = TextAdvance(text, gw);
    float start = x;
    if (flags & TEXT_RIGHT) {
        start = x - total;
    } else if (flags & TEXT_CENTER) {
        start = x - total / 2;
    }
    RenderState& state = device_->State();
    float before = 0;
    for (char c : text) {
        int idx = SymbolIndex(c);
        float advance = idx >= 0 ? gw * symbolWidths_[idx] : gw;
        float centre = before + advance / 2;
        before += advance;
        if (idx < 0)
            continue;
        int column = idx % kFontColumns;
        int row = idx / kFontColumns;
        float tu0 = static_cast<float>(column) / kFontColumns;
        float tu1 = (static_cast<float>(column) + 0.94f) / kFontColumns;
        float tv0 = static_cast<float>(row) / kFontRows;
        float tv1 = static_cast<float>(row + 1) / kFontRows;
        if (fontCellsExact == 0)
            tv0 = (static_cast<float>(row) + 0.08f) / kFontRows;
        SetSpriteBlend(SPRITE_ALPHA);
        DrawSprite(fontTexture_, start + centre, y, gw, size, tu0, tv0, tu1, tv1, colour, 0);
        state.alphaBlendEnable = false;
    }
    return 0;
}

}  // namespace tamblor
