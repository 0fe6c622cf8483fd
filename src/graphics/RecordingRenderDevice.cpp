#include "graphics/RecordingRenderDevice.h"

namespace tamblor {

std::vector<Vertex> RecordingRenderDevice::Draw::TriangleVertices() const {
    if (indices.empty())
        return vertices;
    std::vector<Vertex> out;
    out.reserve(indices.size());
    for (uint16_t i : indices) out.push_back(i < vertices.size() ? vertices[i] : Vertex{});
    return out;
}

std::unique_ptr<Texture> RecordingRenderDevice::CreateTexture(int width, int height, const uint8_t* rgba) {
    if (failTextureCreation || width <= 0 || height <= 0 || rgba == nullptr)
        return nullptr;
    size_t bytes = static_cast<size_t>(width) * static_cast<size_t>(height) * 4;
    ++texturesCreated;
    return std::make_unique<RecordedTexture>(width, height, texturesCreated,
                                             std::vector<uint8_t>(rgba, rgba + bytes));
}

int32_t RecordingRenderDevice::DrawTriangles(const Vertex* vertices, int vertexCount, const uint16_t* indices,
                                             int indexCount) {
    if (vertices == nullptr || vertexCount <= 0)
        return -1;
    Draw draw;
    if (!spare_.empty()) {
        draw = std::move(spare_.back());
        spare_.pop_back();
    }
    draw.vertices.assign(vertices, vertices + vertexCount);
    draw.indices.clear();
    if (indices != nullptr && indexCount > 0)
        draw.indices.assign(indices, indices + indexCount);
    draw.state = State();
    draws.push_back(std::move(draw));
    if (DrawBatch::Valid(vertices, vertexCount, indices, indexCount)) {
        if (!Batching() || !batch_.Joins(State()))
            Flush();
        batch_.Add(State(), vertices, vertexCount, indices, indexCount);
    }
    return 0;
}

void RecordingRenderDevice::Flush() {
    if (batch_.Empty())
        return;
    CountDrawCall(batch_.State().texture);
    batch_.Clear();
}

void RecordingRenderDevice::ForgetDraws() {
    for (Draw& draw : draws) spare_.push_back(std::move(draw));
    draws.clear();
    clears.clear();
    presents = 0;
}

}  // namespace tamblor
