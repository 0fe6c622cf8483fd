#pragma once
#include <cstdint>
#include <vector>

#include "platform/RenderDevice.h"

namespace tamblor {

// Collects the triangles of consecutive draws that the GPU can take as one draw call: draws that bind
// the same texture page with the same blending, colour operation, filters and addressing. Culling is
// done here, triangle by triangle, so the cull mode never splits a batch; the texture coordinates of a
// picture packed into a page are moved into its rectangle of the page. Draw order is kept: a draw that
// cannot join the open batch closes it. The OpenGL device streams the batches' vertices; the recording
// device uses the same rules to count the draw calls OpenGL would make.
class DrawBatch {
public:
    DrawBatch() { vertices_.reserve(1024); }

    // True when a draw with this state can be added to the open batch (always, while it is empty).
    bool Joins(const RenderState& state) const { return vertices_.empty() || KeyOf(state) == key_; }

    // Adds the triangles of one draw that survive culling, as a plain triangle list. indices may be
    // null (vertices taken in order); the caller has checked the counts and index range.
    void Add(const RenderState& state, const Vertex* vertices, int vertexCount, const uint16_t* indices,
             int indexCount);

    bool Empty() const { return vertices_.empty(); }
    const std::vector<Vertex>& Vertices() const { return vertices_; }
    // The state the open batch is drawn with: the page as the texture, no culling, and the settings
    // that cannot matter (blend factors without blending, sampling without a texture) at their defaults.
    const RenderState& State() const { return key_; }
    // Empties the batch once it has been drawn (its storage is kept for the next one).
    void Clear() { vertices_.clear(); }

    static RenderState KeyOf(const RenderState& state);
    // True when a triangle list can be drawn: vertices, a multiple of 3 of them or of the indices, and
    // every index naming one of the vertices.
    static bool Valid(const Vertex* vertices, int vertexCount, const uint16_t* indices, int indexCount);

private:
    RenderState key_;
    std::vector<Vertex> vertices_;
};

}  // namespace tamblor
