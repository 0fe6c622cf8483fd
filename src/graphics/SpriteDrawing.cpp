// Quads: plain and rotated sprites, sprite-sheet frames, digit strips and progress bars.
#include <cmath>
#include <cstdint>
#include <limits>

#include "core/FloatToInt.h"
#include "graphics/Graphics.h"
#include "platform/Clock.h"

namespace tamblor {
namespace {

constexpr uint32_t kBlendFlags = SPRITE_ALPHA | SPRITE_ADD | SPRITE_DARKEN;
constexpr uint32_t kWhite = 0xFFFFFFFF;

uint32_t Tint(uint32_t colour, float factor) {
    uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        uint32_t c = (colour >> shift) & 0xFF;
        out |= static_cast<uint32_t>(TruncateToInt(static_cast<float>(c) * factor, 0, 255)) << shift;
    }
    return out;
}

}  // namespace

void Graphics::SetSpriteBlend(uint32_t flags) {
    RenderState& state = device_->State();
    state.alphaBlendEnable = true;
    if (flags & SPRITE_ALPHA) {
        state.srcBlend = BlendFactor::SrcAlpha;
        state.destBlend = BlendFactor::InvSrcAlpha;
        state.colorOp = ColorOp::Modulate;
    }
    if (flags & SPRITE_ADD) {
        state.srcBlend = BlendFactor::One;
        state.destBlend = BlendFactor::One;
    }
    if (flags & SPRITE_DARKEN) {
        state.srcBlend = BlendFactor::Zero;
        state.destBlend = BlendFactor::InvSrcColor;
    }
}

int32_t Graphics::DrawSprite(TextureHandle texture, float x, float y, float w, float h, float tu0, float tv0,
                             float tu1, float tv1, uint32_t colour, uint32_t flags) {
    if (device_ == nullptr)
        return E_FAIL_CODE;
    if (flags & SPRITE_TINT)
        colour = Tint(colour, tintFactor);
    PixelSize client = GetClientSize();
    float W = static_cast<float>(client.width);
    float H = static_cast<float>(client.height);
    float cx = x * W;
    float cy = y * H;
    float pw = w * W;
    float ph = h * H;
    if (flags & SPRITE_OWN_SIZE) {
        // Nothing has a size to draw at without a picture.
        if (texture == nullptr)
            return 0;
        pw = static_cast<float>(texture->Width());
        ph = static_cast<float>(texture->Height());
    }
    // The half-pixel shift puts texel edges on pixel edges.
    float left = cx - pw / 2 - 0.5f;
    float top = cy - ph / 2 - 0.5f;
    float right = left + pw;
    float bottom = top + ph;

    Vertex v[4];
    v[0] = {left, bottom, 0.9f, 1.0f, colour, 0, tu0, tv1};
    v[1] = {right, bottom, 0.9f, 1.0f, colour, 0, tu1, tv1};
    v[2] = {left, top, 0.9f, 1.0f, colour, 0, tu0, tv0};
    v[3] = {right, top, 0.9f, 1.0f, colour, 0, tu1, tv0};
    static constexpr uint16_t kIndices[6] = {2, 3, 0, 1, 0, 3};

    if (!PrepareToDraw(texture))
        return 0;
    RenderState& state = device_->State();
    state.texture = texture;
    CullMode savedCull = state.cullMode;
    state.cullMode = CullMode::CounterClockwise;
    if (!(flags & SPRITE_WRAP)) {
        state.addressU = TextureAddress::Clamp;
        state.addressV = TextureAddress::Clamp;
    }
    bool blend = (flags & kBlendFlags) != 0;
    bool savedEnable = state.alphaBlendEnable;
    if (blend)
        SetSpriteBlend(flags);

    int32_t result = device_->DrawTriangles(v, 4, kIndices, 6);

    if (blend)
        state.alphaBlendEnable = savedEnable;
    state.addressU = TextureAddress::Wrap;
    state.addressV = TextureAddress::Wrap;
    state.cullMode = savedCull;
    return result;
}

int32_t Graphics::DrawSpriteRotated(TextureHandle texture, float x, float y, float w, float h, float angle,
                                    uint32_t colour, uint32_t flags) {
    if (device_ == nullptr)
        return E_FAIL_CODE;
    PixelSize client = GetClientSize();
    float W = static_cast<float>(client.width);
    float H = static_cast<float>(client.height);
    static constexpr float kCorners[4][4] = {
        {-0.5f, -0.5f, 0, 0}, {0.5f, -0.5f, 1, 0}, {-0.5f, 0.5f, 0, 1}, {0.5f, 0.5f, 1, 1}};
    float c = std::cos(angle);
    float s = std::sin(angle);
    Vertex corner[4];
    for (int i = 0; i < 4; ++i) {
        float a = kCorners[i][0];
        float b = kCorners[i][1];
        // Rotation before scaling: a sprite of unequal pixel sides is sheared while it turns.
        float ra = a * c - b * s;
        float rb = a * s + b * c;
        corner[i] = {ra * w * W + x * W, rb * h * H + y * H, 0.0f, 1.0f, colour, 0,
                     kCorners[i][2],     kCorners[i][3]};
    }
    Vertex v[6] = {corner[0], corner[1], corner[2], corner[3], corner[2], corner[1]};

    if (!PrepareToDraw(texture))
        return 0;
    RenderState& state = device_->State();
    state.texture = texture;
    bool blend = (flags & kBlendFlags) != 0;
    bool savedEnable = state.alphaBlendEnable;
    if (blend)
        SetSpriteBlend(flags);
    int32_t result = device_->DrawTriangles(v, 6, nullptr, 0);
    if (blend)
        state.alphaBlendEnable = savedEnable;
    return result;
}

UVRect Graphics::FrameUV(int frame, int columns, int rows) {
    if (columns <= 0 || rows <= 0)
        return {};
    int64_t count = static_cast<int64_t>(columns) * rows;
    if (frame < 1 || frame > count)
        return {};
    int k = frame - 1;
    int column = k % columns;
    int row = k / columns;
    return {static_cast<float>(column) / columns, static_cast<float>(row) / rows,
            static_cast<float>(column + 1) / columns, static_cast<float>(row + 1) / rows};
}

int32_t Graphics::DrawAnimatedSprite(TextureHandle texture, float x, float y, float w, float h,
                                     uint32_t flags, int columns, int rows, float speed, uint32_t colour) {
    // A sheet without cells has no frame to show.
    if (columns <= 0 || rows <= 0)
        return 0;
    double n = static_cast<double>(columns) * rows;
    double f = (flags & SPRITE_FRAME_PHASE) ? n * speed
                                            : static_cast<double>(clock_.TimeGetTime()) * 0.001 * n * speed;
    double cell = std::isfinite(f) ? std::fmod(std::floor(f), n) : 0.0;
    if (cell < 0)
        cell += n;
    int frame = TruncateToInt(cell, 0, std::numeric_limits<int>::max() - 1) + 1;
    UVRect uv = FrameUV(frame, columns, rows);
    if (flags & SPRITE_OWN_SIZE) {
        if (texture == nullptr)
            return 0;
        PixelSize client = GetClientSize();
        w = static_cast<float>(texture->Width()) / columns / client.width;
        h = static_cast<float>(texture->Height()) / rows / client.height;
        flags = 0;
    }
    return DrawSprite(texture, x, y, w, h, uv.tu0, uv.tv0, uv.tu1, uv.tv1, colour, flags);
}

void Graphics::DrawDigits(TextureHandle texture, float x, float y, float spacing, uint32_t colour,
                          std::string_view text, float scale) {
    if (texture == nullptr || device_ == nullptr || text.empty())
        return;
    PixelSize client = GetClientSize();
    float dw = static_cast<float>(texture->Width()) * 0.1f / client.width * scale;
    float dh = static_cast<float>(texture->Height()) / client.height * scale;
    float offset = -static_cast<float>(text.size() - 1) * dw / 2;
    for (size_t i = 0; i < text.size(); ++i) {
        if (i > 0)
            offset += dw * spacing;
        char ch = text[i];
        if (ch < '0' || ch > '9')
            continue;  // keeps its place, draws nothing
        int d = ch - '0';
        DrawSprite(texture, x + offset, y, dw, dh, 0.1f * d, 0, 0.1f * (d + 1), 1, colour, SPRITE_ALPHA);
    }
}

void Graphics::DrawProgressBar(TextureHandle first, TextureHandle second, float x, float y, float w, float h,
                               int percent, uint32_t flags) {
    if (device_ == nullptr)
        return;
    if (flags & BAR_OWN_SIZE) {
        if (second == nullptr)
            return;
        PixelSize client = GetClientSize();
        w = static_cast<float>(second->Width()) / client.width;
        h = static_cast<float>(second->Height()) / client.height;
    }
    RenderState& state = device_->State();
    SetSpriteBlend(SPRITE_ALPHA);  // on, source alpha / inverse source alpha, modulate
    DrawSprite(first, x, y, w, h, 0, 0, 1, 1, kWhite, 0);
    float p = static_cast<float>(percent) / 100;
    if (flags & BAR_VERTICAL) {
        DrawSprite(second, x, y + h / 2 - p * h / 2, w, p * h, 0, 1 - p, 1, 1, kWhite, 0);
    }
    if (flags & BAR_HORIZONTAL) {
        DrawSprite(second, x - w / 2 + p * w / 2, y, p * w, h, 0, 0, p, 1, kWhite, 0);
    }
    state.alphaBlendEnable = false;
}

void Graphics::StepClamped(float* value, float rate, float dt) {
    if (value == nullptr)
        return;
    *value += rate * dt;
    if (rate > 0 && *value > 1)
        *value = 1;
    if (rate < 0 && *value < 0)
        *value = 0;
}

}  // namespace tamblor
