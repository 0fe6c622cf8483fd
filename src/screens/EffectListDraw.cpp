#include <algorithm>
#include <cmath>
#include <numbers>

#include "core/FloatToInt.h"
#include "graphics/Graphics.h"
#include "screens/EffectList.h"

namespace tamblor {

namespace {

constexpr float kPi = std::numbers::pi_v<float>;

// White with the alpha byte a (truncated, kept within a byte).
uint32_t WhiteAlpha(float a) {
    int alpha = TruncateToInt(a, 0, 255);
    return (static_cast<uint32_t>(alpha) << 24) | 0x00FFFFFFu;
}

void ModulatedBlending(RenderState& state, ColorOp op) {
    state.alphaBlendEnable = true;
    state.srcBlend = BlendFactor::SrcAlpha;
    state.destBlend = BlendFactor::InvSrcAlpha;
    state.colorOp = op;
}

}  // namespace

void EffectList::Draw(Graphics& graphics, int layer) {
    RenderDevice* device = graphics.Device();
    for (int i = 0; i < count_; ++i) {
        Effect& e = effects_[static_cast<size_t>(i)];
        if (e.pending || (e.layer != layer && e.layer != -1))
            continue;
        float t = e.progress;
        std::string_view text = e.Text();
        switch (e.kind) {
            case EffectRisingText: {
                uint32_t colour = WhiteAlpha((1.0f - t) * 255.0f);
                float y = e.y - 0.15f * t;
                if (e.useDigits) {
                    graphics.DrawDigits(graphics.FindTexture(kDigitsImage), e.x, y, 0.75f, colour, text,
                                        1.0f);
                } else {
                    graphics.DrawString(e.x, y, 0.05f, colour, TEXT_CENTER, text);
                }
                break;
            }
            case EffectFlyingText: {
                float t3 = t * t * t;
                float x = e.x2 * t3 + (1.0f - t3) * e.x;
                float y = e.y2 * t + (1.0f - t) * e.y;
                float a = 255.0f;
                if (t < 0.1f)
                    a = 2550.0f * t;
                if (t > 0.9f)
                    a = 2550.0f * (1.0f - t);
                uint32_t colour = WhiteAlpha(a);
                if (e.useDigits) {
                    graphics.DrawDigits(graphics.FindTexture(kDigitsImage), x, y, 0.75f, colour, text,
                                        1.0f - 0.5f * t);
                } else {
                    graphics.DrawString(x, y, 0.05f, colour, TEXT_CENTER, text);
                }
                break;
            }
            case EffectBounceText: {
                float s = 2.0f * t - 1.0f;
                float s5 = s * s * s * s * s;
                graphics.DrawString(e.x, e.y + e.yOffset + s5, 0.1f, 0xFFFFFFFFu,
                                    TEXT_CENTER | TEXT_IMAGE_OWN_SIZE, text);
                break;
            }
            case EffectDropText: {
                float offset = 0.0f;
                float size = 0.2f;
                float a = 255.0f;
                if (t < 0.6f) {
                    float q = t / 0.6f - 1.0f;
                    offset = q * q * q * q * q;
                } else if (t >= 0.9f) {
                    float f = (t - 0.9f) / 0.1f;
                    size = 0.2f + 0.4f * f;
                    a = (1.0f - f) * 255.0f;
                }
                graphics.DrawString(e.x, e.y + offset, size, WhiteAlpha(a), TEXT_CENTER, text);
                break;
            }
            case EffectFadingText: {
                float a = 1.0f;
                if (t < 0.25f) {
                    a = t / 0.25f;
                } else if (t >= 0.85f) {
                    a = 1.0f - (t - 0.85f) / 0.15f;
                }
                a = std::clamp(a, 0.0f, 1.0f);
                uint32_t colour = WhiteAlpha(a * 255.0f);
                if (e.useDigits) {
                    graphics.DrawDigits(graphics.FindTexture(kDigitsImage), e.x, e.y, 0.75f, colour, text,
                                        1.0f);
                } else {
                    graphics.DrawString(e.x, e.y, 0.1f, colour, TEXT_CENTER | TEXT_IMAGE_OWN_SIZE, text);
                }
                break;
            }
            case EffectRisingSprite: {
                // A sheet without frames has nothing to show.
                if (e.columns <= 0 || e.rows <= 0 || !device)
                    break;
                ModulatedBlending(device->State(), ColorOp::Modulate);
                float y = e.y + (Now() - e.startTime) * e.riseSpeed;
                graphics.DrawAnimatedSprite(e.texture, e.x, y, 0.05f, 0.07f,
                                            SPRITE_OWN_SIZE | SPRITE_FRAME_PHASE, e.columns, e.rows, t,
                                            WhiteAlpha((1.0f - t) * 255.0f));
                device->State().alphaBlendEnable = false;
                break;
            }
            case EffectTrackingGlow: {
                if (!device)
                    break;
                ModulatedBlending(device->State(), ColorOp::Add);
                graphics.DrawSprite(e.texture, *e.xPointer, *e.yPointer, 0.125f, 0.166f, 0.0f, 0.0f, 1.0f,
                                    1.0f, WhiteAlpha((0.5f - t / 2.0f) * 255.0f), SPRITE_OWN_SIZE);
                device->State().colorOp = ColorOp::Modulate;
                device->State().alphaBlendEnable = false;
                break;
            }
            case EffectSpriteRing: {
                float r = e.radius * t;
                float turn = t * kPi / 2.0f;
                for (int k = 0; k < 8; ++k) {
                    float a = 2.0f * kPi * static_cast<float>(k) / 8.0f + turn;
                    graphics.DrawSprite(e.texture, e.x + std::cos(a) * r, e.y + std::sin(a) * r, e.size,
                                        e.size, 0.0f, 0.0f, 1.0f, 1.0f, 0xFFFFFFFFu, SPRITE_ALPHA);
                }
                break;
            }
            case EffectGrowSprite:
                graphics.DrawSprite(e.texture, e.x, e.y, t * e.w, t * e.h, 0.0f, 0.0f, 1.0f, 1.0f,
                                    0xFFFFFFFFu, SPRITE_ALPHA);
                break;
            case EffectShrinkSprite:
                graphics.DrawSprite(e.texture, e.x, e.y, (1.0f - t) * e.w, (1.0f - t) * e.h, 0.0f, 0.0f, 1.0f,
                                    1.0f, 0xFFFFFFFFu, SPRITE_ALPHA);
                break;
            case EffectParticleBurst: {
                float a = t <= 0.75f ? 255.0f : (1.0f - t) * 4.0f * 255.0f;
                uint32_t colour = WhiteAlpha(a);
                for (const EffectParticle& p : e.particles) {
                    float d = t * e.radius * p.speed;
                    float px = e.x + std::cos(p.direction) * d;
                    float py = e.y + std::sin(p.direction) * d * 4.0f / 3.0f;
                    float s = (0.5f * t + 0.5f) * p.size;
                    graphics.DrawSpriteRotated(e.texture, px, py, s, s * 4.0f / 3.0f, p.spin * 4.0f * kPi * t,
                                               colour, SPRITE_ALPHA);
                }
                break;
            }
            case EffectTween:
                *e.target = e.to * t + (1.0f - t) * e.from;
                break;
            default:
                break;
        }
    }
}

}  // namespace tamblor
