#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/RenderDevice.h"

namespace tamblor {

class Clock;
class FileSystem;
class ImageDecoder;
struct Image;
class Language;
class Log;
class Settings;
class TextureFont;
struct CoreServices;

// Sprite flags (DrawSprite, DrawSpriteRotated, DrawAnimatedSprite).
constexpr uint32_t SPRITE_ALPHA = 0x1;     // blend source alpha / inverse source alpha, texture x diffuse
constexpr uint32_t SPRITE_ADD = 0x2;       // blend one / one
constexpr uint32_t SPRITE_TINT = 0x4;      // all four colour channels x tintFactor (DrawSprite)
constexpr uint32_t SPRITE_OWN_SIZE = 0x8;  // the texture's pixel size instead of w, h
constexpr uint32_t SPRITE_DARKEN = 0x10;   // blend zero / inverse source colour
constexpr uint32_t SPRITE_FRAME_PHASE = 0x200;  // DrawAnimatedSprite: speed is a phase 0..1
constexpr uint32_t SPRITE_WRAP = 0x400;         // DrawSprite: keep wrapping texture addressing

// Text flags (DrawString).
constexpr uint32_t TEXT_CENTER = 0x1;
constexpr uint32_t TEXT_RIGHT = 0x2;  // wins over TEXT_CENTER
constexpr uint32_t TEXT_BIG_FONT = 0x8;
constexpr uint32_t TEXT_IMAGE_OWN_SIZE = 0x10;

// Progress-bar flags (DrawProgressBar).
constexpr uint32_t BAR_VERTICAL = 0x1;    // fill from the bottom up
constexpr uint32_t BAR_HORIZONTAL = 0x2;  // fill from the left
constexpr uint32_t BAR_OWN_SIZE = 0x4;    // size from the second picture

// The filtered-drawing flag of TextureFont::DrawText.
constexpr uint32_t D3DFONT_FILTERED = 0x4;

constexpr int32_t E_FAIL_CODE = static_cast<int32_t>(0x80004005u);

// Texture coordinates of a rectangle of a texture.
struct UVRect {
    float tu0 = 0, tv0 = 0, tu1 = 0, tv1 = 0;
    bool operator==(const UVRect&) const = default;
};

// The texture table and everything that draws quads: sprites, sprite-sheet frames, digits, bitmap-font
// and big-font text, progress bars. Positions and sizes are fractions of the back buffer (a position
// is the centre of what is drawn); colours are 0xAARRGGBB. One object for the whole run, owned by the
// application and handed to whoever draws. Its textures and big font live on the device: release them
// (DeleteAllTexturesMIPMAP, ReleaseBigFont) before the device and its OpenGL context go away.
class Graphics {
public:
    static constexpr uint32_t kMaxTextures = 250;
    static constexpr size_t kMaxNameLength = 254;
    static constexpr int kFontColumns = 16;
    static constexpr int kFontRows = 8;

    Graphics(FileSystem& files, Settings& settings, Language& language, Log& log, const Clock& clock,
             ImageDecoder& decoder);
    Graphics(CoreServices& core, ImageDecoder& decoder);
    ~Graphics();
    Graphics(const Graphics&) = delete;
    Graphics& operator=(const Graphics&) = delete;

    // --- device and texture table ---

    // The device to draw on; called at every device (re)creation before any loading or drawing.
    void AttachDevice(RenderDevice& device);
    RenderDevice* Device() const { return device_; }

    // Loads folder + fileName into the next free entry.
    void LoadTexture(std::string_view folder, std::string_view fileName);
    // The texture loaded under exactly this name (letter case matters), loading it on a miss; nullptr
    // when it cannot be had. An empty name is nullptr without a word; a name that failed is logged
    // only the first time.
    TextureHandle FindTexture(std::string_view fileName);
    // Applies the configured brightness, then loads every picture found directly in the folder
    // ("*.png", "*.jpg", "*.tga", "*.bmp", each in sorted order). The small pictures of the folder are
    // packed into a few shared textures (pages), so that drawing them one after another needs no
    // texture switch; each keeps its own handle and pixel size.
    void LoadAllTexturesMIPMAP(std::string_view folder);
    // Names pictures that are drawn with wrapping texture coordinates (scrolling strips): a folder scan
    // packs those of one height side by side into a page of their height, where wrapping still works.
    void KeepWrapping(std::string_view fileName);
    uint32_t PageCount() const { return static_cast<uint32_t>(pages_.size()); }
    // Pictures too large to share a page (backgrounds, full-screen panels) are drawn alone, and a
    // screen shows few of them. A folder scan checks them and keeps only their files' bytes; their
    // pixels go to the device when they are first drawn and are let go once they have not been drawn
    // for kLargePictureRestMs (drawing them again decodes the kept bytes again). Their handles never
    // change. ReleaseRestingPictures is called once per frame; the count is for tests and benchmarks.
    static constexpr uint32_t kLargePictureRestMs = 3000;
    void ReleaseRestingPictures();
    size_t LargePicturesOnDevice() const;
    // Releases every texture and empties the table. Returns 0.
    int32_t DeleteAllTexturesMIPMAP();
    // Brightness 0..1 (0.5 = unchanged) as the device's gamma ramp.
    void SetBrightness(float value);
    const GammaRamp& Ramp() const { return gammaRamp_; }
    float Brightness() const { return brightness_; }

    // The back buffer's size in pixels (0 x 0 without a device).
    PixelSize GetClientSize() const;
    // The pixel size of a texture (0 x 0 for none).
    static PixelSize GetTextureSize(TextureHandle texture);

    uint32_t TextureCount() const { return static_cast<uint32_t>(textures_.size()); }
    const std::string& TextureName(uint32_t index) const { return names_[index]; }

    // --- drawing ---

    int32_t DrawSprite(TextureHandle texture, float x, float y, float w, float h, float tu0, float tv0,
                       float tu1, float tv1, uint32_t colour, uint32_t flags);
    int32_t DrawSpriteRotated(TextureHandle texture, float x, float y, float w, float h, float angle,
                              uint32_t colour, uint32_t flags);
    int32_t DrawAnimatedSprite(TextureHandle texture, float x, float y, float w, float h, uint32_t flags,
                               int columns, int rows, float speed, uint32_t colour);
    // Frame 1 is the top-left cell; frames run left to right, then top to bottom. Out of range: zeros.
    static UVRect FrameUV(int frame, int columns, int rows);
    void DrawDigits(TextureHandle texture, float x, float y, float spacing, uint32_t colour,
                    std::string_view text, float scale);
    // Draws the language text of key (or the key itself); 0, or E_FAIL for the big font without one.
    int32_t DrawString(float x, float y, float size, uint32_t colour, uint32_t flags, std::string_view key);
    // The width (a fraction of the screen width) DrawString gives the text of key in the bitmap font at
    // height size; 0 without the font sheet.
    float StringWidth(float size, std::string_view key);
    void DrawProgressBar(TextureHandle first, TextureHandle second, float x, float y, float w, float h,
                         int percent, uint32_t flags);

    // --- fonts ---

    // Reads the symbol list and the width rows from language.ini and finds the font sheet.
    void LoadSymbolWidths(std::string_view fontFile);
    // Position of a byte in the symbol list, or -1.
    int SymbolIndex(char character) const;
    // The width of one character cell of the font sheet at text height size, in screen widths.
    float FontCellWidth(float size) const;
    // How far text moves the pen at that cell width: each symbol's width, a full cell for others.
    float TextAdvance(std::string_view text, float cellWidth) const;
    void CreateBigFont(std::string_view face, float heightFraction);
    void ReleaseBigFont();
    TextureFont* BigFont() const { return bigFont_.get(); }

    const std::string& SymbolList() const { return symbolList_; }
    float SymbolWidth(int index) const { return symbolWidths_[index]; }
    TextureHandle FontTexture() const { return fontTexture_; }

    // value += rate x dt, clamped at 1 when rising and at 0 when falling.
    static void StepClamped(float* value, float rate, float dt);

    // Set to 1 at the end of the first device restore: later textures are always 32-bit, and the
    // bitmap font samples whole cells.
    int force32Bit = 0;
    int fontCellsExact = 0;
    float tintFactor = 0.8f;

private:
    struct Picture;
    struct LargePicture {
        Texture* picture = nullptr;  // the table's handle; its page is storage while on the device
        std::string path;
        std::string bytes;  // the file as read at load
        bool use32Bit = true;
        std::unique_ptr<Texture> storage;
        uint32_t lastDrawnMs = 0;
        bool failed = false;  // could not be put on the device again: not tried every frame
    };
    void SetSpriteBlend(uint32_t flags);
    // False when texture is a large picture that cannot be put on the device: nothing is drawn.
    bool PrepareToDraw(TextureHandle texture);
    bool IsLarge(const std::string& path, const Image& image) const;
    std::unique_ptr<Texture> MakeLargePicture(Picture& picture, bool use32Bit, bool upload);
    bool DecodeBytes(const std::string& bytes, const std::string& path, bool use32Bit, Image& image);
    void LogFailedOnce(const std::string& path);
    void LogTableFullOnce(const std::string& path);
    bool DecodePicture(const std::string& path, bool use32Bit, Picture& picture);
    void AddTexture(std::string path, std::unique_ptr<Texture> texture, bool use32Bit);
    void PackIntoPages(std::vector<Picture>& pictures, bool wrapping);

    FileSystem& files_;
    Settings& settings_;
    Language& language_;
    Log& log_;
    const Clock& clock_;
    ImageDecoder& decoder_;
    RenderDevice* device_ = nullptr;

    TextureHandle fontTexture_ = nullptr;
    std::unique_ptr<TextureFont> bigFont_;
    float brightness_ = 0.5f;
    GammaRamp gammaRamp_;
    std::string symbolList_;
    std::array<float, 255> symbolWidths_{};
    int symbolWidthsLoaded_ = 0;

    std::vector<std::unique_ptr<Texture>> pages_;  // shared textures that pictures were packed into
    std::vector<LargePicture> large_;
    bool trimPending_ = false;
    std::vector<std::unique_ptr<Texture>> textures_;
    std::vector<std::string> names_;
    std::vector<bool> names32Bit_;                    // per entry: loaded as "32 bit"
    std::set<std::string, std::less<>> failedNames_;  // names already reported as failed
    std::set<std::string, std::less<>> wrapped_;      // pictures drawn with wrapping coordinates
};

}  // namespace tamblor
