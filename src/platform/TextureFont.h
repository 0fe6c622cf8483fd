#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/RenderDevice.h"

namespace tamblor {

// A font whose characters 32..126 are rendered once into a texture (white, 16 levels of alpha) and
// drawn as one quad per character. The face "Arial" is Liberation Sans, which has the same metrics; a
// face that is not installed falls back to it. The height is in points at 96 dots per inch.
class TextureFont {
public:
    static constexpr uint32_t kBold = 1;
    static constexpr uint32_t kItalic = 2;
    static constexpr uint32_t kFiltered = 4;  // DrawText: linear filtering
    static constexpr int kFirstChar = 32;
    static constexpr int kLastChar = 126;

    TextureFont(std::string_view faceName, int height, uint32_t flags = 0);
    ~TextureFont();
    TextureFont(const TextureFont&) = delete;
    TextureFont& operator=(const TextureFont&) = delete;

    // Renders the atlas and makes its texture on the device. 0, or a negative code when the face cannot
    // be loaded or the texture not made.
    int32_t InitDeviceObjects(RenderDevice& device);
    int32_t RestoreDeviceObjects();
    int32_t InvalidateDeviceObjects();
    // Releases the texture and forgets the device.
    int32_t DeleteDeviceObjects();

    // Width (widest line) and height (line height x lines) of a text in pixels; bytes outside 32..126
    // take no room, "\n" starts a new line.
    int32_t GetTextExtent(std::string_view text, PixelSize* size) const;
    PixelSize GetTextExtent(std::string_view text) const;
    // Draws a text with its top-left corner at pixel (x, y). Bytes outside 32..126 are skipped, "\n"
    // goes back to x one line lower. The device state is as before afterwards. E_FAIL without a device.
    int32_t DrawText(float x, float y, uint32_t colour, std::string_view text, uint32_t flags = 0);

    // The atlas (for tests and tools).
    int TextureWidth() const { return textureWidth_; }
    int TextureHeight() const { return textureHeight_; }
    int PixelHeight() const { return pixelHeight_; }
    const std::string& FontFile() const { return fontFile_; }
    TextureHandle AtlasTexture() const { return texture_.get(); }
    struct CharRect {
        float left = 0, top = 0, right = 0, bottom = 0;  // fractions of the texture
    };
    const CharRect& Rect(int c) const { return rects_[c - kFirstChar]; }

    // The font file a face name (with style flags) is drawn with; empty when none is installed.
    static std::string FontFileFor(std::string_view faceName, uint32_t flags);

private:
    std::string faceName_;
    int height_;
    uint32_t flags_;
    int pixelHeight_ = 0;
    int textureWidth_ = 0;
    int textureHeight_ = 0;
    float textScale_ = 1.0f;
    std::string fontFile_;
    RenderDevice* device_ = nullptr;
    std::unique_ptr<Texture> texture_;
    std::vector<Vertex> vertices_;  // the quads of the text being drawn, kept between texts
    CharRect rects_[kLastChar - kFirstChar + 1];
};

}  // namespace tamblor
