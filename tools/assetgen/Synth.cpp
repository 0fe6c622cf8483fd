#include "Synth.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace assetgen::synth {

namespace {

constexpr int kTableBits = 12;
constexpr int kTableSize = 1 << kTableBits;

struct SineTable {
    std::array<float, kTableSize + 1> v;
    SineTable() {
        for (int i = 0; i <= kTableSize; ++i) v[i] = static_cast<float>(std::sin(2 * M_PI * i / kTableSize));
    }
};

const SineTable kSine;

void Ensure(Buffer& b, size_t n) {
    if (b.size() < n) b.resize(n, 0.0f);
}

}  // namespace

double Sine(double phase) {
    phase -= std::floor(phase);
    double x = phase * kTableSize;
    int i = static_cast<int>(x);
    double f = x - i;
    return kSine.v[i] + (kSine.v[i + 1] - kSine.v[i]) * f;
}

double NoteHz(int midi) { return 440.0 * std::pow(2.0, (midi - 69) / 12.0); }

void Svf::Set(double cutoffHz, double q) {
    f_ = 2 * std::sin(M_PI * std::min(cutoffHz, kRate / 6.5) / kRate);
    damp_ = 1.0 / std::max(q, 0.5);
}

double Svf::Process(double x) {
    low += f_ * band;
    high = x - low - damp_ * band;
    band += f_ * high;
    return low;
}

const std::vector<Partial> kMarimba = {{1.0, 1.0, 0.32}, {3.93, 0.32, 0.07}, {9.8, 0.1, 0.025}};
const std::vector<Partial> kBell = {{1.0, 1.0, 0.8}, {2.76, 0.45, 0.35}, {5.4, 0.22, 0.15}, {8.93, 0.1, 0.07}};
const std::vector<Partial> kGlass = {{1.0, 1.0, 0.5}, {2.0, 0.25, 0.22}, {3.0, 0.12, 0.1}, {4.16, 0.05, 0.05}};

void AddStruck(Buffer& out, double t, double hz, double gain, const std::vector<Partial>& partials,
               double length) {
    int start = Samples(t), n = Samples(length);
    Ensure(out, static_cast<size_t>(start + n));
    int attack = Samples(0.002);
    for (const Partial& p : partials) {
        double f = hz * p.ratio;
        if (f > kRate * 0.45) continue;
        double k = std::exp(-1.0 / (p.decay * kRate));
        double env = 1.0;
        for (int i = 0; i < n; ++i) {
            double a = i < attack ? double(i) / attack : 1.0;
            out[start + i] += static_cast<float>(gain * p.gain * a * env * Sine(f * i / kRate));
            env *= k;
        }
    }
}

void AddGlide(Buffer& out, double t, double length, double hz0, double hz1, double gain, double attack,
              double decay) {
    int start = Samples(t), n = Samples(length);
    Ensure(out, static_cast<size_t>(start + n));
    double phase = 0;
    int na = std::max(1, Samples(attack));
    for (int i = 0; i < n; ++i) {
        double u = double(i) / n;
        double hz = hz0 * std::pow(hz1 / hz0, u);
        phase += hz / kRate;
        double env = (i < na ? double(i) / na : 1.0) * std::exp(-double(i) / kRate / decay);
        out[start + i] += static_cast<float>(gain * env * Sine(phase));
    }
}

void AddNoiseSweep(Buffer& out, double t, double length, double hz0, double hz1, double q, double gain,
                   uint32_t seed) {
    int start = Samples(t), n = Samples(length);
    Ensure(out, static_cast<size_t>(start + n));
    Noise noise(seed);
    Svf f;
    for (int i = 0; i < n; ++i) {
        double u = double(i) / n;
        f.Set(hz0 * std::pow(hz1 / hz0, u), q);
        f.Process(noise.Next());
        double env = std::sin(M_PI * u);
        out[start + i] += static_cast<float>(gain * env * f.band);
    }
}

void AddTick(Buffer& out, double t, double length, double hz, double gain, uint32_t seed) {
    int start = Samples(t), n = Samples(length);
    Ensure(out, static_cast<size_t>(start + n));
    Noise noise(seed);
    Svf f;
    f.Set(hz, 2.5);
    for (int i = 0; i < n; ++i) {
        f.Process(noise.Next());
        double env = std::exp(-5.0 * i / n) * std::min(1.0, i / 20.0);
        out[start + i] += static_cast<float>(gain * env * f.band);
    }
}

void Finish(Buffer& b, double peakDb, double fadeInMs, double fadeOutMs) {
    if (b.empty()) return;
    // DC blocker.
    double prevIn = 0, prevOut = 0;
    for (float& s : b) {
        double y = s - prevIn + 0.9995 * prevOut;
        prevIn = s;
        prevOut = y;
        s = static_cast<float>(y);
    }
    int fi = std::min<int>(Samples(fadeInMs / 1000), static_cast<int>(b.size()));
    int fo = std::min<int>(Samples(fadeOutMs / 1000), static_cast<int>(b.size()));
    for (int i = 0; i < fi; ++i) b[i] *= static_cast<float>(0.5 - 0.5 * std::cos(M_PI * i / fi));
    for (int i = 0; i < fo; ++i) {
        b[b.size() - 1 - i] *= static_cast<float>(0.5 - 0.5 * std::cos(M_PI * i / fo));
    }
    b.back() = 0;
    b.front() = 0;
    double peak = 0;
    for (float s : b) peak = std::max(peak, double(std::fabs(s)));
    if (peak <= 0) return;
    double scale = std::pow(10.0, peakDb / 20.0) / peak;
    for (float& s : b) s = static_cast<float>(s * scale);
}

namespace {

void Put16(std::string& s, uint32_t v) {
    s += static_cast<char>(v & 0xFF);
    s += static_cast<char>((v >> 8) & 0xFF);
}
void Put32(std::string& s, uint32_t v) {
    Put16(s, v & 0xFFFF);
    Put16(s, v >> 16);
}
int16_t ToPcm(float v) {
    double x = std::clamp(double(v), -1.0, 1.0) * 32767.0;
    return static_cast<int16_t>(std::lround(x));
}

}  // namespace

std::string Wav(const Buffer& left, const Buffer& right) {
    uint32_t channels = right.empty() ? 1 : 2;
    uint32_t frames = static_cast<uint32_t>(left.size());
    uint32_t dataBytes = frames * channels * 2;
    std::string s = "RIFF";
    Put32(s, 36 + dataBytes);
    s += "WAVEfmt ";
    Put32(s, 16);
    Put16(s, 1);  // PCM
    Put16(s, channels);
    Put32(s, kRate);
    Put32(s, kRate * channels * 2);
    Put16(s, channels * 2);
    Put16(s, 16);
    s += "data";
    Put32(s, dataBytes);
    s.reserve(s.size() + dataBytes);
    for (uint32_t i = 0; i < frames; ++i) {
        Put16(s, static_cast<uint16_t>(ToPcm(left[i])));
        if (channels == 2) Put16(s, static_cast<uint16_t>(ToPcm(i < right.size() ? right[i] : 0.0f)));
    }
    return s;
}

}  // namespace assetgen::synth
