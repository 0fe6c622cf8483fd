#include "platform/DrawBatch.h"

namespace tamblor {
namespace {

// Twice the signed area of a triangle on screen (y down): positive when it turns clockwise.
float Turn(const Vertex& a, const Vertex& b, const Vertex& c) {
    return (b.x - a.x) * (c.y - a.y) - (c.x - a.x) * (b.y - a.y);
}

bool Culled(CullMode mode, float turn) {
    // A triangle without area covers no pixel whichever way it is said to turn.
    if (turn == 0.0f || turn != turn)
        return true;
    if (mode == CullMode::CounterClockwise)
        return turn < 0.0f;
    if (mode == CullMode::Clockwise)
        return turn > 0.0f;
    return false;
}

}  // namespace

RenderState DrawBatch::KeyOf(const RenderState& state) {
    RenderState key = state;
    key.cullMode = CullMode::None;
    key.texture = state.texture != nullptr ? state.texture->Page() : nullptr;
    if (!key.alphaBlendEnable) {
        key.srcBlend = BlendFactor::One;
        key.destBlend = BlendFactor::Zero;
    }
    if (state.texture != nullptr && key.texture != state.texture) {
        // A packed picture is drawn with coordinates inside it and its gutter repeats its edge, so
        // wrapping and clamping read the same; along a side that spans its whole page (a strip as tall
        // as its page, a picture alone on its page) the page's own addressing wraps or clamps.
        const Texture::PageRect& rect = state.texture->RectInPage();
        if (rect.uSize != 1.0f)
            key.addressU = TextureAddress::Clamp;
        if (rect.vSize != 1.0f)
            key.addressV = TextureAddress::Clamp;
    }
    if (key.texture == nullptr) {
        // The stand-in white texture reads the same however it is sampled.
        key.minFilter = TextureFilter::Point;
        key.magFilter = TextureFilter::Point;
        key.addressU = TextureAddress::Wrap;
        key.addressV = TextureAddress::Wrap;
    }
    return key;
}

bool DrawBatch::Valid(const Vertex* vertices, int vertexCount, const uint16_t* indices, int indexCount) {
    if (vertices == nullptr || vertexCount <= 0)
        return false;
    if (indices == nullptr)
        return vertexCount % 3 == 0;
    if (indexCount <= 0 || indexCount % 3 != 0)
        return false;
    for (int i = 0; i < indexCount; ++i) {
        if (indices[i] >= vertexCount)
            return false;
    }
    return true;
}

void DrawBatch::Add(const RenderState& state, const Vertex* vertices, int vertexCount,
                    const uint16_t* indices, int indexCount) {
    if (vertices_.empty())
        key_ = KeyOf(state);
    const Texture* texture = state.texture;
    bool packed = texture != nullptr && texture->Page() != texture;
    int count = indices != nullptr ? indexCount : vertexCount;
    for (int i = 0; i + 2 < count; i += 3) {
        const Vertex& a = vertices[indices != nullptr ? indices[i] : i];
        const Vertex& b = vertices[indices != nullptr ? indices[i + 1] : i + 1];
        const Vertex& c = vertices[indices != nullptr ? indices[i + 2] : i + 2];
        if (Culled(state.cullMode, Turn(a, b, c)))
            continue;
        size_t first = vertices_.size();
        vertices_.push_back(a);
        vertices_.push_back(b);
        vertices_.push_back(c);
        if (packed) {
            const Texture::PageRect& r = texture->RectInPage();
            for (size_t k = first; k < first + 3; ++k) {
                vertices_[k].u = r.u0 + vertices_[k].u * r.uSize;
                vertices_[k].v = r.v0 + vertices_[k].v * r.vSize;
            }
        }
    }
}

}  // namespace tamblor
