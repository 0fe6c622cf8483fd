#pragma once
#include <array>
#include <cstdint>
#include <memory>

namespace tamblor {

// Width and height in pixels.
struct PixelSize {
    int width = 0;
    int height = 0;
    bool operator==(const PixelSize&) const = default;
};

// A texture made by a render device from RGBA pixels, at the image's own pixel size, or a picture packed
// into such a texture (its page) with other pictures: it keeps its own pixel size and is drawn with
// texture coordinates 0..1 over its own picture, which the device moves into its rectangle of the page.
// The texture library owns every texture; everyone else holds a TextureHandle, which stays valid until
// the library releases all textures at shut-down.
class Texture {
public:
    // Where a packed picture lies in its page, in texture coordinates of the page.
    struct PageRect {
        float u0 = 0, v0 = 0, uSize = 1, vSize = 1;
    };

    Texture(int width, int height) : width_(width), height_(height), page_(this) {}
    // A picture of width x height pixels at pixel (x, y) of page; the page must outlive it.
    Texture(int width, int height, Texture& page, int x, int y)
        : width_(width), height_(height), page_(this) {
        MoveToPage(page, x, y);
    }
    virtual ~Texture() = default;
    Texture(const Texture&) = delete;
    Texture& operator=(const Texture&) = delete;

    int Width() const { return width_; }
    int Height() const { return height_; }
    // The texture the device binds to draw this one: itself, or the page it was packed into.
    Texture* Page() const { return page_; }
    const PageRect& RectInPage() const { return rect_; }
    // From now on drawn from a copy of its pixels at pixel (x, y) of page, which must outlive it; the
    // handle stays the same (a picture loaded before the others it is packed with).
    void MoveToPage(Texture& page, int x, int y) {
        page_ = &page;
        rect_ = {static_cast<float>(x) / static_cast<float>(page.Width()),
                 static_cast<float>(y) / static_cast<float>(page.Height()),
                 static_cast<float>(width_) / static_cast<float>(page.Width()),
                 static_cast<float>(height_) / static_cast<float>(page.Height())};
        if (&page != this)
            ReleaseOwnPixels();
    }

protected:
    // A texture with pixels of its own lets them go once it is drawn from a page (the device only
    // ever binds pages).
    virtual void ReleaseOwnPixels() {}

private:
    int width_;
    int height_;
    Texture* page_;
    PageRect rect_;
};

// A non-owning texture reference; nullptr is "no texture" (it samples as opaque white).
using TextureHandle = Texture*;

// A pre-transformed vertex, 32 bytes: pixel position with the pixel centres on integer coordinates,
// z and rhw (kept for the record, not used), diffuse colour 0xAARRGGBB, specular (always 0), texture
// coordinates.
struct Vertex {
    float x = 0, y = 0, z = 0, rhw = 1;
    uint32_t diffuse = 0xFFFFFFFF;
    uint32_t specular = 0;
    float u = 0, v = 0;
    bool operator==(const Vertex&) const = default;
};
static_assert(sizeof(Vertex) == 32);

enum class BlendFactor : uint8_t { Zero, One, SrcColor, InvSrcColor, SrcAlpha, InvSrcAlpha };
// Colour operation of texture stage 0; the alpha operation is always texture alpha x diffuse alpha.
enum class ColorOp : uint8_t {
    Modulate,    // texture x diffuse
    Modulate4X,  // texture x diffuse x 4, clamped
    Add,         // texture + diffuse, clamped
};
enum class TextureFilter : uint8_t { Point, Linear };
enum class TextureAddress : uint8_t { Wrap, Clamp };
// Which on-screen winding (y down) is dropped.
enum class CullMode : uint8_t { None, Clockwise, CounterClockwise };

// The fixed-function state that persists between draws. Every draw uses the state as it is at that
// moment; drawing code changes it and leaves it behind for later draws, which is part of how the game
// looks (a sprite drawn without blend flags inherits the blending left by the draw before it).
// The initial values are those of a freshly made device.
struct RenderState {
    bool alphaBlendEnable = false;
    BlendFactor srcBlend = BlendFactor::One;
    BlendFactor destBlend = BlendFactor::Zero;
    ColorOp colorOp = ColorOp::Modulate;
    TextureFilter minFilter = TextureFilter::Point;
    TextureFilter magFilter = TextureFilter::Point;
    TextureAddress addressU = TextureAddress::Wrap;
    TextureAddress addressV = TextureAddress::Wrap;
    CullMode cullMode = CullMode::CounterClockwise;
    TextureHandle texture = nullptr;  // stage 0
    bool operator==(const RenderState&) const = default;
};

// What a device sent to the GPU (or, for a device that draws nothing, would have sent): draw calls and
// changes of the bound texture page, counted since the device was made.
struct DrawStats {
    uint64_t drawCalls = 0;
    uint64_t textureSwitches = 0;
};

// 256 entries, 0..65535, the same for red, green and blue; channel value i shows as entry[i] / 256.
using GammaRamp = std::array<uint16_t, 256>;

// The drawing seam: what the game's drawing code needs from the GPU. Backends: OpenGL 3.3 (the game)
// and a recording device (tests).
class RenderDevice {
public:
    virtual ~RenderDevice() = default;
    RenderDevice(const RenderDevice&) = delete;
    RenderDevice& operator=(const RenderDevice&) = delete;

    // The logical back buffer: what screen fractions refer to.
    int BackBufferWidth() const { return backBufferWidth_; }
    int BackBufferHeight() const { return backBufferHeight_; }
    // A "32 bit" back buffer (the default). With a "16 bit" one, textures loaded before the first device
    // restore ends are reduced to 4 bits per channel.
    bool BackBufferIs32Bit() const { return backBuffer32Bit_; }
    void SetBackBufferIs32Bit(bool value) { backBuffer32Bit_ = value; }

    RenderState& State() { return state_; }
    const RenderState& State() const { return state_; }

    // A texture of the given size from width x height RGBA pixels (rows top to bottom); nullptr on
    // failure.
    virtual std::unique_ptr<Texture> CreateTexture(int width, int height, const uint8_t* rgba) = 0;

    // A triangle list with the current state. indices may be null: then the vertices are taken in
    // order and vertexCount must be a multiple of 3. Returns 0, or a negative code on failure.
    virtual int32_t DrawTriangles(const Vertex* vertices, int vertexCount, const uint16_t* indices,
                                  int indexCount) = 0;
    // Fills the whole back buffer with an ARGB colour.
    virtual void Clear(uint32_t argb) = 0;
    // The frame is complete. Putting it on the screen is the display's job (see GlRenderDevice).
    virtual void Present() = 0;
    // Draws are collected into batches (see DrawBatch); this sends the open batch on its way now. Call
    // it before a texture that may still be in the open batch is destroyed.
    virtual void Flush() {}
    // On (the default): consecutive draws with the same state go out as one draw call. Off: every
    // DrawTriangles is a draw call of its own, as before the game batched (the frame benchmark's
    // "before"); what is drawn is the same.
    void SetBatching(bool batching) {
        Flush();
        batching_ = batching;
    }
    bool Batching() const { return batching_; }

    const DrawStats& Stats() const { return stats_; }

    // The brightness ramp; shown only in full screen by the display's final pass.
    void SetGammaRamp(const GammaRamp& ramp) {
        gammaRamp_ = ramp;
        gammaRampSet_ = true;
    }
    const GammaRamp& GetGammaRamp() const { return gammaRamp_; }
    bool GammaRampSet() const { return gammaRampSet_; }

    static GammaRamp IdentityRamp() {
        GammaRamp ramp{};
        for (int i = 0; i < 256; ++i) ramp[i] = static_cast<uint16_t>(i * 256);
        return ramp;
    }

protected:
    RenderDevice(int backBufferWidth, int backBufferHeight)
        : backBufferWidth_(backBufferWidth),
          backBufferHeight_(backBufferHeight),
          gammaRamp_(IdentityRamp()) {}
    void SetBackBufferSize(int width, int height) {
        backBufferWidth_ = width;
        backBufferHeight_ = height;
    }
    // Counts one draw call made with the given texture bound (nullptr: none).
    void CountDrawCall(const void* boundTexture) {
        ++stats_.drawCalls;
        if (stats_.drawCalls == 1 || boundTexture != lastBound_)
            ++stats_.textureSwitches;
        lastBound_ = boundTexture;
    }

private:
    int backBufferWidth_;
    int backBufferHeight_;
    bool backBuffer32Bit_ = true;
    RenderState state_;
    GammaRamp gammaRamp_;
    bool gammaRampSet_ = false;
    bool batching_ = true;
    DrawStats stats_;
    const void* lastBound_ = nullptr;
};

// ARGB helpers.
constexpr uint32_t MakeArgb(uint32_t a, uint32_t r, uint32_t g, uint32_t b) {
    return ((a & 0xFF) << 24) | ((r & 0xFF) << 16) | ((g & 0xFF) << 8) | (b & 0xFF);
}

}  // namespace tamblor
