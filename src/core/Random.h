#pragma once
#include <cstdint>

namespace tamblor {

// The game's one pseudo-random generator: a 15-bit linear congruential generator (values 0..32767),
// seeded explicitly so runs can be repeated. Tests may derive from it to script the numbers drawn.
class Random {
public:
    virtual ~Random() = default;
    void SRand15(uint32_t seed) { state_ = seed; }
    virtual int Rand15() {
        state_ = state_ * 214013u + 2531011u;
        return static_cast<int>((state_ >> 16) & 0x7FFF);
    }
    // A random fraction 0..1 as the game forms it: Rand15() / 32767.
    double Fraction() { return Rand15() / 32767.0; }
    // Uniform integer in [lo, hi]. Draws are rejected and repeated until one falls in the range; an
    // empty range (hi < lo) returns lo without drawing rather than looping for ever.
    int RandomInt(int lo, int hi);

private:
    uint32_t state_ = 1;
};

}  // namespace tamblor
