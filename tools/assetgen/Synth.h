#pragma once
// Small building blocks for the synthesised sounds: oscillators, envelopes, noise and filters on
// float buffers, and the 16-bit PCM WAV writer.
#include <cstdint>
#include <string>
#include <vector>

namespace assetgen::synth {

constexpr int kRate = 44100;
using Buffer = std::vector<float>;

inline int Samples(double seconds) { return static_cast<int>(seconds * kRate + 0.5); }

// Sine from a shared table with linear interpolation (fast and identical on every run).
double Sine(double phase);  // phase in cycles

double NoteHz(int midi);

// A deterministic white-noise source in [-1, 1].
class Noise {
public:
    explicit Noise(uint32_t seed) : state_(seed | 1u) {}
    double Next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return (state_ >> 8) * (2.0 / 16777216.0) - 1.0;
    }

private:
    uint32_t state_;
};

// State-variable filter (Chamberlin), stable for cut-offs well under a sixth of the rate.
class Svf {
public:
    void Set(double cutoffHz, double q);
    // Returns the low-pass output; band and high are kept for callers that want them.
    double Process(double x);
    double low = 0, band = 0, high = 0;

private:
    double f_ = 0.1, damp_ = 1.0;
};

// Adds a struck note with inharmonic partials (marimba, bell, glass), starting at t seconds.
struct Partial {
    double ratio, gain, decay;  // decay in seconds (time to fall to 1/e)
};
void AddStruck(Buffer& out, double t, double hz, double gain, const std::vector<Partial>& partials,
               double length);
extern const std::vector<Partial> kMarimba;
extern const std::vector<Partial> kBell;
extern const std::vector<Partial> kGlass;

// Adds a sine whose frequency glides linearly in log-pitch from hz0 to hz1, with an attack and an
// exponential decay.
void AddGlide(Buffer& out, double t, double length, double hz0, double hz1, double gain, double attack,
              double decay);

// Adds band-passed noise whose centre moves from hz0 to hz1, with a raised-sine envelope.
void AddNoiseSweep(Buffer& out, double t, double length, double hz0, double hz1, double q, double gain,
                   uint32_t seed);

// Adds a short filtered noise click.
void AddTick(Buffer& out, double t, double length, double hz, double gain, uint32_t seed);

// Removes any DC offset, fades the first and last milliseconds to silence and scales the peak to
// peakDb (dBFS, negative).
void Finish(Buffer& b, double peakDb, double fadeInMs = 2, double fadeOutMs = 6);

// 16-bit PCM WAV file contents; mono when rightOrEmpty is empty, else stereo.
std::string Wav(const Buffer& left, const Buffer& rightOrEmpty = {});

}  // namespace assetgen::synth
