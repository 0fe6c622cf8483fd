#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/DrawBatch.h"
#include "platform/RenderDevice.h"

namespace tamblor {

// The OpenGL 3.3 core backend. It draws into an offscreen framebuffer of the logical back-buffer size;
// the display then shows that picture in its window with PresentToWindow, scaled to fit with the
// aspect kept (black bars). Construct and use it with an OpenGL 3.3 core context current (the display's
// window context, or OffscreenGlContext); check Ok() after construction.
//
// Coordinates: the game's vertices put pixel centres on integer coordinates (a quad from -0.5 to 0.5
// covers exactly pixel 0); OpenGL puts them at +0.5, so positions are shifted by half a pixel.
class GlRenderDevice final : public RenderDevice {
public:
    GlRenderDevice(int backBufferWidth, int backBufferHeight);
    ~GlRenderDevice() override;

    bool Ok() const { return ok_; }
    const std::string& Error() const { return error_; }
    std::string Renderer() const;

    std::unique_ptr<Texture> CreateTexture(int width, int height, const uint8_t* rgba) override;
    int32_t DrawTriangles(const Vertex* vertices, int vertexCount, const uint16_t* indices,
                          int indexCount) override;
    void Clear(uint32_t argb) override;
    // Finishes the frame's drawing into the back buffer (a flush); nothing is shown yet.
    void Present() override;
    void Flush() override;

    // A new back-buffer size (the picture is cleared to black). False on failure.
    bool ResizeBackBuffer(int width, int height);

    // Draws the back buffer into the window's default framebuffer (framebuffer 0) of the given pixel
    // size (the drawable size), scaled to fit with the aspect kept and black bars; with a ramp (256
    // entries; channel value i shows as ramp[i] / 256) every colour goes through it, as the brightness
    // does in full screen. The caller swaps the window afterwards. Leaves the offscreen framebuffer
    // bound for the next frame's drawing.
    void PresentToWindow(int windowPixelWidth, int windowPixelHeight, const uint16_t* gammaRampOrNull);

    // The back buffer as RGBA, top row first, alpha 255 (screenshots, golden images).
    bool ReadBackBuffer(std::vector<uint8_t>& rgba);

    // The window's default framebuffer (what PresentToWindow drew) as RGBA, top row first.
    static bool ReadWindowPixels(int windowPixelWidth, int windowPixelHeight, std::vector<uint8_t>& rgba);

    // Forget what is known of OpenGL's state, after someone else (the display's own drawing) used the
    // context.
    void InvalidateStateCache() { appliedValid_ = false; }

    // While set, draws, clears and flushes are checked but not sent to OpenGL: a frame that runs for
    // its game effects only and shows no picture (runs faster than real time).
    void SetDiscardDrawing(bool discard) { discardDrawing_ = discard; }

    // Where the back buffer lands in a window of the given size: x, y (from the bottom left), w, h.
    struct Viewport {
        int x = 0, y = 0, width = 0, height = 0;
        bool operator==(const Viewport&) const = default;
    };
    static Viewport Letterbox(int backBufferWidth, int backBufferHeight, int windowWidth, int windowHeight);

private:
    bool MakeTarget(int width, int height);
    void ApplyState(const RenderState& state);

    bool ok_ = false;
    std::string error_;
    unsigned framebuffer_ = 0;
    unsigned colorTexture_ = 0;
    unsigned program_ = 0;
    unsigned presentProgram_ = 0;
    unsigned vao_ = 0;
    unsigned vbo_ = 0;
    DrawBatch batch_;
    size_t streamCapacity_ = 0;  // bytes of the vertex stream
    size_t streamUsed_ = 0;
    unsigned emptyVao_ = 0;
    unsigned sampler_ = 0;
    unsigned whiteTexture_ = 0;
    unsigned rampTexture_ = 0;
    int uViewport_ = -1;
    int uColorOp_ = -1;
    int uPresentUseRamp_ = -1;
    RenderState applied_;  // what OpenGL has, valid while appliedValid_
    bool appliedValid_ = false;
    bool discardDrawing_ = false;
};

}  // namespace tamblor
