#include "screens/EffectList.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

#include "core/Random.h"
#include "platform/Clock.h"
#include "sound/SoundEventPlayer.h"

namespace tamblor {

std::string_view Effect::Text() const {
    return std::string_view(text.data(), ::strnlen(text.data(), text.size()));
}

namespace {

void CopyText(Effect& e, std::string_view text) {
    size_t n = std::min(text.size(), e.text.size() - 1);
    std::copy_n(text.data(), n, e.text.data());
    e.text[n] = '\0';
}

}  // namespace

EffectList::EffectList(const Clock& clock, Random& random, SoundEventPlayer& sound)
    : clock_(clock), random_(random), sound_(sound) {
    Clear();
}

float EffectList::Now() const {
    return static_cast<float>(clock_.TimeGetTime()) / 1000.0f;
}

Effect* EffectList::NewEffect(int kind, int layer, float delay, float duration) {
    // A duration of 0 would never progress and the list would never empty.
    if (count_ >= kCapacity || !(duration > 0.0f))
        return nullptr;
    Effect& e = effects_[static_cast<size_t>(count_++)];
    e = Effect{};
    e.kind = kind;
    e.layer = layer;
    e.duration = duration;
    e.startTime = Now() + delay;
    e.progress = 0.0f;
    e.pending = 1;
    e.finished = 0;
    return &e;
}

int EffectList::AddRisingText(int layer, float delay, float duration, float x, float y, std::string_view text,
                              int useDigits) {
    Effect* e = NewEffect(EffectRisingText, layer, delay, duration);
    if (!e)
        return 0;
    e->x = x;
    e->y = y;
    CopyText(*e, text);
    e->useDigits = useDigits;
    return 1;
}

int EffectList::AddTween(float delay, float duration, float from, float to, float* target) {
    if (!target)
        return 0;
    Effect* e = NewEffect(EffectTween, -1, delay, duration);
    if (!e)
        return 0;
    e->from = from;
    e->to = to;
    e->target = target;
    return 1;
}

int EffectList::AddSpriteRing(int layer, float delay, float duration, float x, float y, float size,
                              float radius, Texture* texture) {
    Effect* e = NewEffect(EffectSpriteRing, layer, delay, duration);
    if (!e)
        return 0;
    e->x = x;
    e->y = y;
    e->size = size;
    e->radius = radius;
    e->texture = texture;
    return 1;
}

int EffectList::AddGrowSprite(int layer, float delay, float duration, float x, float y, float w, float h,
                              Texture* texture) {
    Effect* e = NewEffect(EffectGrowSprite, layer, delay, duration);
    if (!e)
        return 0;
    e->x = x;
    e->y = y;
    e->w = w;
    e->h = h;
    e->texture = texture;
    return 1;
}

int EffectList::AddBounceText(int layer, float delay, float duration, float x, float y, std::string_view text,
                              float yOffset) {
    Effect* e = NewEffect(EffectBounceText, layer, delay, duration);
    if (!e)
        return 0;
    e->x = x;
    e->y = y;
    CopyText(*e, text);
    e->yOffset = yOffset;
    return 1;
}

int EffectList::AddShrinkSprite(int layer, float delay, float duration, float x, float y, float w, float h,
                                Texture* texture) {
    Effect* e = NewEffect(EffectShrinkSprite, layer, delay, duration);
    if (!e)
        return 0;
    e->x = x;
    e->y = y;
    e->w = w;
    e->h = h;
    e->texture = texture;
    return 1;
}

int EffectList::AddSoundCue(float delay, std::string_view eventName) {
    Effect* e = NewEffect(EffectSoundCue, -1, delay, 1.0f);
    if (!e)
        return 0;
    CopyText(*e, eventName);
    return 1;
}

int EffectList::AddFadingText(int layer, float delay, float duration, float x, float y, std::string_view text,
                              int useDigits) {
    Effect* e = NewEffect(EffectFadingText, layer, delay, duration);
    if (!e)
        return 0;
    e->x = x;
    e->y = y;
    CopyText(*e, text);
    e->useDigits = useDigits;
    return 1;
}

int EffectList::AddRisingSprite(int layer, float delay, float duration, float x, float y, Texture* texture,
                                int columns, int rows, float riseSpeed) {
    Effect* e = NewEffect(EffectRisingSprite, layer, delay, duration);
    if (!e)
        return 0;
    e->x = x;
    e->y = y;
    e->texture = texture;
    e->columns = columns;
    e->rows = rows;
    e->riseSpeed = riseSpeed;
    return 1;
}

int EffectList::AddParticleBurst(int layer, float delay, float duration, float x, float y, float size,
                                 float radius, Texture* texture, int evenSpread) {
    Effect* e = NewEffect(EffectParticleBurst, layer, delay, duration);
    if (!e)
        return 0;
    e->x = x;
    e->y = y;
    e->size = size;
    e->radius = radius;
    e->texture = texture;
    constexpr double kTwoPi = 2.0 * std::numbers::pi;
    for (size_t k = 0; k < e->particles.size(); ++k) {
        EffectParticle& p = e->particles[k];
        p.size = size;
        p.spin = static_cast<float>(2.0 * random_.Fraction() - 1.0);
        if (evenSpread) {
            p.speed = 1.0f;
            p.direction = static_cast<float>(static_cast<double>(k) * kTwoPi / 10.0);
        } else {
            p.speed = static_cast<float>(0.5 + 0.5 * random_.Fraction());
            p.direction = static_cast<float>(kTwoPi * random_.Fraction());
        }
    }
    return 1;
}

int EffectList::AddTrackingGlow(int layer, float delay, float duration, const float* xPointer,
                                const float* yPointer, Texture* texture) {
    if (!xPointer || !yPointer)
        return 0;
    Effect* e = NewEffect(EffectTrackingGlow, layer, delay, duration);
    if (!e)
        return 0;
    e->xPointer = xPointer;
    e->yPointer = yPointer;
    e->texture = texture;
    return 1;
}

int EffectList::AddFlyingText(int layer, float delay, float duration, float x, float y, float x2, float y2,
                              std::string_view text, int useDigits) {
    Effect* e = NewEffect(EffectFlyingText, layer, delay, duration);
    if (!e)
        return 0;
    e->x = x;
    e->y = y;
    e->x2 = x2;
    e->y2 = y2;
    CopyText(*e, text);
    e->useDigits = useDigits;
    return 1;
}

int EffectList::AddDropText(int layer, float delay, float duration, float x, float y, std::string_view text) {
    Effect* e = NewEffect(EffectDropText, layer, delay, duration);
    if (!e)
        return 0;
    e->x = x;
    e->y = y;
    CopyText(*e, text);
    return 1;
}

int EffectList::AddDelayedAdd(float delay, int amount, int32_t* intTarget) {
    if (!intTarget)
        return 0;
    Effect* e = NewEffect(EffectDelayedAdd, -1, delay, 1.0f);
    if (!e)
        return 0;
    e->amount = amount;
    e->intTarget = intTarget;
    return 1;
}

float EffectList::PendingTweenEnd(const float* target) const {
    // The glide added last is the one whose value wins while several run.
    for (int i = count_ - 1; i >= 0; --i) {
        const Effect& e = effects_[static_cast<size_t>(i)];
        if (e.kind == EffectTween && e.target == target)
            return e.to;
    }
    return *target;
}

void EffectList::RemoveTweensOf(const float* target) {
    for (int i = 0; i < count_;) {
        const Effect& e = effects_[static_cast<size_t>(i)];
        if (e.kind == EffectTween && e.target == target) {
            Remove(i);
        } else {
            ++i;
        }
    }
}

int EffectList::AddReplacingTween(float delay, float duration, float offset, float* target) {
    if (!target)
        return 0;
    float end = PendingTweenEnd(target) + offset;
    RemoveTweensOf(target);
    return AddTween(delay, duration, *target, end, target);
}

void EffectList::Update() {
    float now = Now();
    float dt = now - lastUpdate_;
    lastUpdate_ = now;
    for (int i = 0; i < count_;) {
        Effect& e = effects_[static_cast<size_t>(i)];
        if (e.duration <= 0.0f || now < e.startTime) {
            ++i;
            continue;
        }
        if (e.pending) {
            e.pending = 0;
            if (e.kind == EffectTween) {
                *e.target = e.from;
            } else if (e.kind == EffectDelayedAdd) {
                *e.intTarget += e.amount;
            } else if (e.kind == EffectSoundCue) {
                sound_.PlayEvent(e.Text());
            }
            ++i;
            continue;
        }
        if (e.finished) {
            // The next effect moves into this place; look at it without advancing.
            Remove(i);
            continue;
        }
        e.progress += dt / e.duration;
        if (e.progress >= 1.0f) {
            e.progress = 1.0f;
            e.finished = 1;
        }
        ++i;
    }
}

void EffectList::Clear() {
    lastUpdate_ = Now();
    count_ = 0;
}

void EffectList::Remove(int index) {
    if (index < 0 || index >= count_)
        return;
    for (int i = index; i + 1 < count_; ++i)
        effects_[static_cast<size_t>(i)] = effects_[static_cast<size_t>(i + 1)];
    --count_;
}

}  // namespace tamblor
