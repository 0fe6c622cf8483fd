#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/DrawBatch.h"
#include "platform/RenderDevice.h"

namespace tamblor {

// A render device that draws nothing and remembers everything: each draw with its vertices, indices
// and the state it saw, clears, presents and the textures made. Tests read the record. It batches by
// the OpenGL device's rules (DrawBatch) only to count, in Stats(), the draw calls OpenGL would make.
class RecordingRenderDevice final : public RenderDevice {
public:
    explicit RecordingRenderDevice(int backBufferWidth = 800, int backBufferHeight = 600)
        : RenderDevice(backBufferWidth, backBufferHeight) {}

    class RecordedTexture final : public Texture {
    public:
        RecordedTexture(int width, int height, int serial, std::vector<uint8_t> pixels)
            : Texture(width, height), serial(serial), pixels(std::move(pixels)) {}
        const int serial;                   // 1 for the first texture made, 2 for the next, ...
        const std::vector<uint8_t> pixels;  // RGBA as handed in
    };

    struct Draw {
        std::vector<Vertex> vertices;
        std::vector<uint16_t> indices;  // empty: vertices in order
        RenderState state;
        // The vertices in the order they form triangles.
        std::vector<Vertex> TriangleVertices() const;
    };

    std::unique_ptr<Texture> CreateTexture(int width, int height, const uint8_t* rgba) override;
    int32_t DrawTriangles(const Vertex* vertices, int vertexCount, const uint16_t* indices,
                          int indexCount) override;
    void Clear(uint32_t argb) override {
        Flush();
        clears.push_back(argb);
    }
    void Present() override {
        Flush();
        ++presents;
    }
    void Flush() override;

    void Resize(int width, int height) { SetBackBufferSize(width, height); }
    // Forgets draws, clears and presents (not the textures, the state or the counts). The storage is
    // kept, so a steady frame recorded after this allocates nothing.
    void ForgetDraws();

    std::vector<Draw> draws;
    std::vector<uint32_t> clears;
    int presents = 0;
    int texturesCreated = 0;
    bool failTextureCreation = false;  // makes CreateTexture fail, as a device out of memory would

private:
    DrawBatch batch_;
    std::vector<Draw> spare_;  // forgotten draws whose storage the next draws reuse
};

}  // namespace tamblor
