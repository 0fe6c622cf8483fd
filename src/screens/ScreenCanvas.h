#pragma once
#include <cstdint>
#include <string_view>

namespace tamblor {

// What menus, the high-score table and the stage map need from the drawing code: the client size,
// the pixel size of a picture, sprites and texts named by file or language key. Positions and sizes
// are fractions of the client area, positions are centres. The graphics layer implements it; tests
// record the calls.
class ScreenCanvas {
public:
    // Sprite flags (same bits as the sprite drawing operations).
    static constexpr uint32_t kAlpha = 0x1;
    static constexpr uint32_t kOwnSize = 0x8;
    // Text flags.
    static constexpr uint32_t kTextLeft = 0x0;
    static constexpr uint32_t kTextCenter = 0x1;
    static constexpr uint32_t kTextRight = 0x2;
    static constexpr uint32_t kTextImageOwnSize = 0x10;

    virtual ~ScreenCanvas() = default;

    // Client area in pixels.
    virtual int ClientWidth() const = 0;
    virtual int ClientHeight() const = 0;
    // Pixel size of a picture (loading it on first use); false when there is no such picture.
    virtual bool PictureSize(std::string_view picture, int& width, int& height) = 0;
    // Pixel height of the bitmap font sheet (eight glyph rows).
    virtual int FontSheetHeight() = 0;

    // The whole picture at (x, y) with size (w, h), multiplied by colour.
    virtual void DrawPicture(std::string_view picture, float x, float y, float w, float h, uint32_t colour,
                             uint32_t flags) = 0;
    // The part (u0, v0)-(u1, v1) of a picture, in texture coordinates, at (x, y) with size (w, h).
    virtual void DrawPicturePart(std::string_view picture, float x, float y, float w, float h, float u0,
                                 float v0, float u1, float v1, uint32_t colour, uint32_t flags) = 0;
    // The same turned by angle radians about its centre; the own-size flag is ignored.
    virtual void DrawPictureRotated(std::string_view picture, float x, float y, float w, float h, float angle,
                                    uint32_t colour, uint32_t flags) = 0;
    // A text (looked up as a language key first) of the given height at (x, y).
    virtual void DrawString(float x, float y, float size, uint32_t colour, uint32_t flags,
                            std::string_view key) = 0;
    // Linear (true) or no (false) texture filtering for what follows.
    virtual void SetLinearFiltering(bool linear) = 0;
};

// Plays a sound of the sound library by its file name, loading it on first use. A screen plays its
// click and hover sounds through it.
class SoundFilePlayer {
public:
    virtual ~SoundFilePlayer() = default;
    virtual void PlaySoundFile(std::string_view fileName) = 0;
};

}  // namespace tamblor
