#pragma once
#include <chrono>
#include <cstdint>

namespace tamblor {

// Every time the game reads goes through a Clock: unsigned milliseconds that start at 60 000 when the
// program starts, so formulas that want "a system time past a few seconds" hold from the first frame.
class Clock {
public:
    static constexpr uint32_t kStartOffsetMs = 60000;
    virtual ~Clock() = default;
    virtual uint32_t TimeGetTime() const = 0;
    float Seconds() const { return static_cast<float>(TimeGetTime()) * 0.001f; }
};

// Monotonic wall clock of the running program.
class SystemClock final : public Clock {
public:
    SystemClock() : start_(std::chrono::steady_clock::now()) {}
    uint32_t TimeGetTime() const override {
        auto elapsed = std::chrono::steady_clock::now() - start_;
        auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count();
        return static_cast<uint32_t>(ms) + kStartOffsetMs;
    }

private:
    std::chrono::steady_clock::time_point start_;
};

// A clock that moves only when told to: tests, headless runs and replays.
class ManualClock final : public Clock {
public:
    uint32_t TimeGetTime() const override { return now_; }
    void Set(uint32_t ms) { now_ = ms; }
    void Advance(uint32_t ms) { now_ += ms; }

private:
    uint32_t now_ = kStartOffsetMs;
};

}  // namespace tamblor
