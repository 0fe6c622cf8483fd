#pragma once
#include <array>
#include <cstdint>
#include <string_view>

namespace tamblor {

class Clock;
class Random;
class SoundEventPlayer;
class Graphics;
class Texture;

enum EffectKind : int32_t {
    EffectRisingText = 1,
    EffectSpriteRing = 2,
    EffectGrowSprite = 3,
    EffectTween = 4,
    EffectBounceText = 5,
    EffectShrinkSprite = 6,
    EffectSoundCue = 7,
    EffectFadingText = 8,
    EffectRisingSprite = 9,
    EffectParticleBurst = 10,
    EffectTrackingGlow = 11,
    EffectFlyingText = 12,
    EffectDropText = 13,
    EffectDelayedAdd = 14,
};

struct EffectParticle {
    float direction = 0.0f;  // radians
    float speed = 0.0f;      // factor of the radius
    float size = 0.0f;
    float spin = 0.0f;  // -1 .. 1
};

// One timed effect: a show piece drawn for a while, or a delayed action (sound, score, value glide).
struct Effect {
    int32_t kind = 0;
    int32_t layer = 0;  // -1: drawn by every Draw call
    const float* xPointer = nullptr;
    const float* yPointer = nullptr;
    float x = 0.0f, y = 0.0f;
    float w = 0.0f, h = 0.0f;
    float yOffset = 0.0f;
    std::array<char, 256> text{};
    float progress = 0.0f;
    float duration = 0.0f;
    float startTime = 0.0f;
    float size = 0.0f;
    std::array<EffectParticle, 10> particles{};
    float radius = 0.0f;
    Texture* texture = nullptr;
    float from = 0.0f, to = 0.0f;
    float* target = nullptr;
    int32_t* intTarget = nullptr;
    int32_t amount = 0;
    int32_t finished = 0;
    int32_t pending = 0;
    int32_t useDigits = 0;
    int32_t columns = 0, rows = 0;
    float riseSpeed = 0.0f;
    float x2 = 0.0f, y2 = 0.0f;

    std::string_view Text() const;
};

// The one list of timed effects: callers add an effect with a delay and a duration and forget it;
// the list starts it when its time comes, advances it each frame, draws it by layer and removes it
// when it is done. A fixed array: nothing is allocated while effects come and go.
class EffectList {
public:
    static constexpr int kCapacity = 150;
    static constexpr const char* kDigitsImage = "Graphics\\digits.png";

    EffectList(const Clock& clock, Random& random, SoundEventPlayer& sound);

    // Every Add returns 1, or 0 when the list is full or the duration is not above 0 (nothing added).
    int AddRisingText(int layer, float delay, float duration, float x, float y, std::string_view text,
                      int useDigits);
    int AddTween(float delay, float duration, float from, float to, float* target);
    int AddSpriteRing(int layer, float delay, float duration, float x, float y, float size, float radius,
                      Texture* texture);
    int AddGrowSprite(int layer, float delay, float duration, float x, float y, float w, float h,
                      Texture* texture);
    int AddBounceText(int layer, float delay, float duration, float x, float y, std::string_view text,
                      float yOffset);
    int AddShrinkSprite(int layer, float delay, float duration, float x, float y, float w, float h,
                        Texture* texture);
    int AddSoundCue(float delay, std::string_view eventName);
    int AddFadingText(int layer, float delay, float duration, float x, float y, std::string_view text,
                      int useDigits);
    int AddRisingSprite(int layer, float delay, float duration, float x, float y, Texture* texture,
                        int columns, int rows, float riseSpeed);
    int AddParticleBurst(int layer, float delay, float duration, float x, float y, float size, float radius,
                         Texture* texture, int evenSpread);
    int AddTrackingGlow(int layer, float delay, float duration, const float* xPointer, const float* yPointer,
                        Texture* texture);
    int AddFlyingText(int layer, float delay, float duration, float x, float y, float x2, float y2,
                      std::string_view text, int useDigits);
    int AddDropText(int layer, float delay, float duration, float x, float y, std::string_view text);
    int AddDelayedAdd(float delay, int amount, int32_t* intTarget);

    // A glide of *target that replaces any glide already driving it. The end value is taken from where
    // a running glide would have left the value, so successive moves add up exactly.
    int AddReplacingTween(float delay, float duration, float offset, float* target);
    // The value *target ends at once every glide on it is done (its current value when none runs).
    float PendingTweenEnd(const float* target) const;
    // Drops every glide that drives *target.
    void RemoveTweensOf(const float* target);

    // Once per frame before drawing: starts due effects, advances the running ones, removes finished.
    void Update();
    // Draws every started effect of the layer (and those of layer -1); also moves the value glides.
    void Draw(Graphics& graphics, int layer);
    // Drops every effect without its start action.
    void Clear();
    void Remove(int index);

    int Count() const { return count_; }
    bool Empty() const { return count_ == 0; }
    const Effect& At(int index) const { return effects_[static_cast<size_t>(index)]; }

private:
    Effect* NewEffect(int kind, int layer, float delay, float duration);
    float Now() const;

    const Clock& clock_;
    Random& random_;
    SoundEventPlayer& sound_;
    int count_ = 0;
    float lastUpdate_ = 0.0f;
    std::array<Effect, kCapacity> effects_{};
};

}  // namespace tamblor
