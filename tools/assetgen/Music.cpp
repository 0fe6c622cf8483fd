#include "Music.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "Canvas.h"
#include "Output.h"
#include "Synth.h"

namespace assetgen {

namespace {

using namespace synth;

constexpr double kBeat = 0.6;  // 100 beats a minute
constexpr double kBar = 4 * kBeat;
constexpr int kBars = 40;
constexpr long kFrames = static_cast<long>(kBars * kBar * kRate + 0.5);

// The loop is rendered into a circular stereo buffer: anything that rings past the end carries on at
// the start, so the last sample leads straight into the first.
struct Loop {
    std::vector<float> l = std::vector<float>(kFrames, 0.0f);
    std::vector<float> r = std::vector<float>(kFrames, 0.0f);
    void Add(long i, double v, double pan) {  // pan -1 left .. 1 right
        long k = ((i % kFrames) + kFrames) % kFrames;
        l[k] += static_cast<float>(v * std::sqrt(0.5 * (1 - pan)));
        r[k] += static_cast<float>(v * std::sqrt(0.5 * (1 + pan)));
    }
};

struct Chord {
    int bass;                // bass root note
    std::array<int, 4> pad;  // pad voicing
};

// F major; a phrase of eight bars each.
const Chord kFmaj7{41, {57, 60, 64, 65}}, kDm7{38, {57, 60, 62, 65}}, kBbmaj7{46, {57, 58, 62, 65}},
    kCsus{36, {55, 60, 65, 67}}, kC6{36, {55, 57, 60, 64}}, kAm7{45, {55, 57, 60, 64}},
    kGm7{43, {55, 58, 62, 65}}, kC7sus{36, {55, 58, 60, 65}};
const Chord kPhraseA[8] = {kFmaj7, kDm7, kBbmaj7, kCsus, kFmaj7, kAm7, kBbmaj7, kC7sus};
const Chord kPhraseB[8] = {kDm7, kBbmaj7, kFmaj7, kC6, kDm7, kGm7, kBbmaj7, kCsus};

const Chord& ChordOfBar(int bar) {
    int phrase = bar / 8, i = bar % 8;
    return (phrase == 2 || phrase == 4) ? kPhraseB[i] : kPhraseA[i];
}

// Pad timbre: one cycle of a soft, slightly reedy wave.
struct PadTable {
    static constexpr int kSize = 4096;
    std::array<float, kSize + 1> v{};
    PadTable() {
        for (int i = 0; i <= kSize; ++i) {
            double s = 0;
            for (int h = 1; h <= 8; ++h) s += std::sin(2 * M_PI * h * i / kSize) / std::pow(h, 1.7);
            v[i] = static_cast<float>(s * 0.7);
        }
    }
    double At(double phase) const {
        phase -= std::floor(phase);
        double x = phase * kSize;
        int i = static_cast<int>(x);
        return v[i] + (v[i + 1] - v[i]) * (x - i);
    }
};

void Pad(Loop& out, const PadTable& table, long start, double length, int note, double gain, double pan) {
    double hz = NoteHz(note);
    long n = static_cast<long>((length + 0.9) * kRate);
    long attack = static_cast<long>(0.5 * kRate), release = static_cast<long>(0.9 * kRate);
    long hold = n - release;
    for (int voice = 0; voice < 2; ++voice) {
        double detune = voice ? 1.0025 : 0.9975;
        double p = voice ? pan + 0.3 : pan - 0.3;
        for (long i = 0; i < n; ++i) {
            double env = std::min(1.0, double(i) / attack);
            if (i > hold) env *= 0.5 + 0.5 * std::cos(M_PI * double(i - hold) / release);
            double swell = 0.85 + 0.15 * Sine(0.23 * i / kRate + voice * 0.5);
            out.Add(start + i, gain * env * swell * table.At(hz * detune * i / kRate), p);
        }
    }
}

void Bass(Loop& out, long start, double length, int note, double gain) {
    double hz = NoteHz(note);
    long n = static_cast<long>((length + 0.08) * kRate);
    long release = static_cast<long>(0.08 * kRate);
    for (long i = 0; i < n; ++i) {
        double t = double(i) / kRate;
        double env = std::min(1.0, i / 220.0) * (0.55 + 0.45 * std::exp(-t / 0.25));
        if (i > n - release) env *= double(n - i) / release;
        double ph = hz * t;
        double v = Sine(ph) + 0.28 * Sine(2 * ph) + 0.08 * Sine(3 * ph);
        out.Add(start + i, gain * env * v, 0.0);
    }
}

void Mallet(Loop& out, Loop& send, long start, int note, double gain, double pan, double sendGain) {
    double hz = NoteHz(note);
    long n = static_cast<long>(1.4 * kRate);
    const Partial* ps = kMarimba.data();
    for (long i = 0; i < n; ++i) {
        double t = double(i) / kRate;
        double a = std::min(1.0, i / 60.0);
        double v = 0;
        for (size_t k = 0; k < kMarimba.size(); ++k) {
            double f = hz * ps[k].ratio;
            if (f > kRate * 0.45) continue;
            v += ps[k].gain * std::exp(-t / (ps[k].decay * 1.4)) * Sine(f * t);
        }
        v *= gain * a;
        out.Add(start + i, v, pan);
        send.Add(start + i, v * sendGain, pan);
    }
}

void Lead(Loop& out, Loop& send, long start, double length, int note, double gain, double pan) {
    double hz = NoteHz(note);
    long n = static_cast<long>((length + 0.25) * kRate);
    long attack = static_cast<long>(0.05 * kRate), release = static_cast<long>(0.25 * kRate);
    long hold = n - release;
    double phase = 0;
    for (long i = 0; i < n; ++i) {
        double t = double(i) / kRate;
        double vib = 1 + 0.004 * Sine(5.0 * t) * std::min(1.0, std::max(0.0, (t - 0.2) / 0.3));
        phase += hz * vib / kRate;
        double env = std::min(1.0, double(i) / attack) * (0.8 + 0.2 * std::exp(-t / 0.3));
        if (i > hold) env *= 0.5 + 0.5 * std::cos(M_PI * double(i - hold) / release);
        double v = gain * env * (Sine(phase) + 0.18 * Sine(2 * phase) + 0.06 * Sine(3 * phase));
        out.Add(start + i, v, pan);
        send.Add(start + i, v * 0.6, pan);
    }
}

void Shaker(Loop& out, long start, double gain, uint32_t seed, double pan) {
    Noise noise(seed);
    Svf f;
    f.Set(6000, 0.8);
    long n = static_cast<long>(0.07 * kRate);
    for (long i = 0; i < n; ++i) {
        f.Process(noise.Next());
        double env = std::min(1.0, i / 150.0) * std::exp(-double(i) / (0.018 * kRate));
        out.Add(start + i, gain * env * f.high, pan);
    }
}

void Kick(Loop& out, long start, double gain) {
    long n = static_cast<long>(0.3 * kRate);
    double phase = 0;
    for (long i = 0; i < n; ++i) {
        double t = double(i) / kRate;
        phase += (50 + 60 * std::exp(-t / 0.03)) / kRate;
        double env = std::min(1.0, i / 40.0) * std::exp(-t / 0.09);
        out.Add(start + i, gain * env * Sine(phase), 0.0);
    }
}

void Rim(Loop& out, long start, double gain, uint32_t seed) {
    Noise noise(seed);
    Svf f;
    f.Set(1700, 4.0);
    long n = static_cast<long>(0.05 * kRate);
    for (long i = 0; i < n; ++i) {
        f.Process(noise.Next());
        double env = std::min(1.0, i / 30.0) * std::exp(-double(i) / (0.01 * kRate));
        out.Add(start + i, gain * env * f.band, 0.15);
    }
}

long At(int bar, double beats) { return static_cast<long>((bar * kBar + beats * kBeat) * kRate + 0.5); }

// The melody: short phrases on the F major scale, leaning on chord tones on strong beats.
void Melody(Loop& out, Loop& send, int firstBar, int bars, uint32_t seed) {
    const int scale[7] = {65, 67, 69, 70, 72, 74, 76};  // F G A Bb C D E
    auto pitchOf = [&](int degree) { return scale[((degree % 7) + 7) % 7] + 12 * ((degree >= 0 ? degree : degree - 6) / 7); };
    // Rhythms in beats; each sums to 4 (a negative value is a rest).
    const std::vector<std::vector<double>> rhythms = {
        {1, 1, 2}, {1.5, 0.5, 2}, {2, 1, 1}, {1, 0.5, 0.5, 2}, {-1, 1, 1, 1}, {3, 1}, {-2, 1, 1}};
    Rng rng(seed);
    int degree = 4;  // starting on C5
    for (int b = 0; b < bars; ++b) {
        int bar = firstBar + b;
        const Chord& chord = ChordOfBar(bar);
        // Every fourth bar rests on one long note to let the phrase breathe.
        const std::vector<double>& rhythm = (b % 4 == 3) ? rhythms[5] : rhythms[rng.Next() % rhythms.size()];
        double beat = 0;
        for (size_t k = 0; k < rhythm.size(); ++k) {
            double len = std::fabs(rhythm[k]);
            if (rhythm[k] > 0) {
                int step = static_cast<int>(rng.Next() % 5) - 2;  // -2 .. 2 scale steps
                int candidate = std::clamp(degree + step, 2, 11);
                bool strong = std::fmod(beat, 2.0) == 0.0;
                if (strong) {
                    // Snap to the nearest chord tone on strong beats.
                    int best = candidate, bestDist = 99;
                    for (int d = candidate - 3; d <= candidate + 3; ++d) {
                        int p = pitchOf(d) % 12;
                        for (int c : chord.pad) {
                            if (c % 12 == p && std::abs(d - candidate) < bestDist && d >= 2 && d <= 11) {
                                best = d;
                                bestDist = std::abs(d - candidate);
                            }
                        }
                    }
                    candidate = best;
                }
                degree = candidate;
                double gain = 0.16 * (strong ? 1.0 : 0.85);
                Lead(out, send, At(bar, beat), len * kBeat * 0.92, pitchOf(degree), gain, 0.12);
            }
            beat += len;
        }
    }
}

}  // namespace

bool MakeMusic(Output& out) {
    Loop mix, send;
    PadTable padTable;
    Rng rng(2024);
    for (int bar = 0; bar < kBars; ++bar) {
        const Chord& chord = ChordOfBar(bar);
        int section = bar / 8;
        // Pad: the whole bar, voices spread across the field.
        for (int k = 0; k < 4; ++k) Pad(mix, padTable, At(bar, 0), kBar, chord.pad[k], 0.045, -0.45 + 0.3 * k);
        // Bass: root on beat 1, fifth or octave on beat 3, a pickup in busy sections.
        Bass(mix, At(bar, 0), 1.9 * kBeat, chord.bass, 0.22);
        Bass(mix, At(bar, 2), 1.4 * kBeat, chord.bass + ((bar % 2) ? 7 : 12), 0.17);
        if (section >= 1 && section <= 3) Bass(mix, At(bar, 3.5), 0.4 * kBeat, chord.bass + 12, 0.12);
        // Marimba: eighth notes through the chord an octave up.
        const int pattern[8] = {0, 1, 2, 3, 2, 1, 2, 3};
        for (int e = 0; e < 8; ++e) {
            if (section == 4 && e % 2 == 1 && bar % 2 == 1) continue;  // thinner in the last phrase
            int note = chord.pad[pattern[e]] + 12;
            double accent = (e % 2 == 0) ? 1.0 : 0.7;
            double human = 0.9 + 0.2 * rng.Uniform();
            Mallet(mix, send, At(bar, e * 0.5), note, 0.085 * accent * human, (e % 2) ? 0.35 : -0.2, 0.5);
        }
        // Light percussion from the second phrase on.
        for (int e = 0; e < 8; ++e) {
            double g = (e % 2) ? 0.05 : 0.03;
            if (section == 0) g *= 0.5;
            Shaker(mix, At(bar, e * 0.5), g, 1000 + bar * 8 + e, 0.4);
        }
        if (section >= 2) {
            Kick(mix, At(bar, 0), 0.32);
            Kick(mix, At(bar, 2), 0.24);
        }
        if (section >= 1) {
            Rim(mix, At(bar, 1), 0.09, 3000 + bar);
            Rim(mix, At(bar, 3), 0.09, 3100 + bar);
        }
    }
    Melody(mix, send, 8, 8, 71);
    Melody(mix, send, 16, 8, 72);
    Melody(mix, send, 24, 8, 73);

    // Ping-pong echo of the marimba and melody (a dotted eighth), read around the loop.
    const long delay = static_cast<long>(0.75 * kBeat * kRate);
    for (int k = 1; k <= 6; ++k) {
        double g = 0.3 * std::pow(0.5, k - 1);
        long off = k * delay;
        const std::vector<float>& srcL = (k % 2) ? send.r : send.l;
        const std::vector<float>& srcR = (k % 2) ? send.l : send.r;
        for (long i = 0; i < kFrames; ++i) {
            long j = ((i - off) % kFrames + kFrames) % kFrames;
            mix.l[i] += static_cast<float>(g * srcL[j]);
            mix.r[i] += static_cast<float>(g * srcR[j]);
        }
    }
    // A little room: a few early reflections, also around the loop.
    std::vector<float> dryL = mix.l, dryR = mix.r;
    const double tapMs[5] = {23, 37, 53, 71, 97};
    for (int k = 0; k < 5; ++k) {
        long off = static_cast<long>(tapMs[k] * kRate / 1000);
        double g = 0.16 * std::pow(0.75, k);
        const std::vector<float>& a = (k % 2) ? dryR : dryL;
        const std::vector<float>& b = (k % 2) ? dryL : dryR;
        for (long i = 0; i < kFrames; ++i) {
            long j = ((i - off) % kFrames + kFrames) % kFrames;
            mix.l[i] += static_cast<float>(g * a[j]);
            mix.r[i] += static_cast<float>(g * b[j]);
        }
    }
    // Remove any DC offset (a constant, so the loop stays seamless) and set the peak to -3 dBFS.
    double sumL = 0, sumR = 0, peak = 0;
    for (long i = 0; i < kFrames; ++i) {
        sumL += mix.l[i];
        sumR += mix.r[i];
    }
    float dcL = static_cast<float>(sumL / kFrames), dcR = static_cast<float>(sumR / kFrames);
    for (long i = 0; i < kFrames; ++i) {
        mix.l[i] -= dcL;
        mix.r[i] -= dcR;
        peak = std::max({peak, double(std::fabs(mix.l[i])), double(std::fabs(mix.r[i]))});
    }
    float scale = static_cast<float>(std::pow(10.0, -3.0 / 20.0) / std::max(peak, 1e-9));
    for (long i = 0; i < kFrames; ++i) {
        mix.l[i] *= scale;
        mix.r[i] *= scale;
    }
    std::string ogg = EncodeVorbis(mix.l.data(), mix.r.data(), kFrames, 0.4f);
    if (ogg.empty()) {
        std::fprintf(stderr, "assetgen: the Vorbis encoder failed\n");
        return false;
    }
    out.Bytes("Music\\theme1.ogg", ogg);
    return true;
}

std::string EncodeVorbis(const float* left, const float* right, long frames, float quality) {
    std::string result;
    vorbis_info vi;
    vorbis_info_init(&vi);
    if (vorbis_encode_init_vbr(&vi, 2, kRate, quality) != 0) {
        vorbis_info_clear(&vi);
        return result;
    }
    vorbis_comment vc;
    vorbis_comment_init(&vc);
    vorbis_comment_add_tag(&vc, "TITLE", "Tamblor theme");
    vorbis_dsp_state vd;
    vorbis_block vb;
    vorbis_analysis_init(&vd, &vi);
    vorbis_block_init(&vd, &vb);
    ogg_stream_state os;
    ogg_stream_init(&os, 0x54616D62);  // a fixed serial keeps the bytes reproducible
    ogg_packet header, comments, codebooks;
    vorbis_analysis_headerout(&vd, &vc, &header, &comments, &codebooks);
    ogg_stream_packetin(&os, &header);
    ogg_stream_packetin(&os, &comments);
    ogg_stream_packetin(&os, &codebooks);
    ogg_page page;
    auto append = [&](const ogg_page& p) {
        result.append(reinterpret_cast<const char*>(p.header), p.header_len);
        result.append(reinterpret_cast<const char*>(p.body), p.body_len);
    };
    while (ogg_stream_flush(&os, &page) != 0) append(page);

    const long chunk = 1024;
    long done = 0;
    bool eos = false;
    while (!eos) {
        long n = std::min(chunk, frames - done);
        if (n > 0) {
            float** buffer = vorbis_analysis_buffer(&vd, static_cast<int>(n));
            std::memcpy(buffer[0], left + done, n * sizeof(float));
            std::memcpy(buffer[1], right + done, n * sizeof(float));
            vorbis_analysis_wrote(&vd, static_cast<int>(n));
            done += n;
        } else {
            vorbis_analysis_wrote(&vd, 0);
        }
        while (vorbis_analysis_blockout(&vd, &vb) == 1) {
            vorbis_analysis(&vb, nullptr);
            vorbis_bitrate_addblock(&vb);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&vd, &packet)) {
                ogg_stream_packetin(&os, &packet);
                while (!eos && ogg_stream_pageout(&os, &page) != 0) {
                    append(page);
                    if (ogg_page_eos(&page)) eos = true;
                }
            }
        }
        if (n <= 0 && !eos) {
            // Everything has been handed over; flush what is left.
            while (ogg_stream_flush(&os, &page) != 0) {
                append(page);
                if (ogg_page_eos(&page)) eos = true;
            }
            eos = true;
        }
    }
    ogg_stream_clear(&os);
    vorbis_block_clear(&vb);
    vorbis_dsp_clear(&vd);
    vorbis_comment_clear(&vc);
    vorbis_info_clear(&vi);
    return result;
}

}  // namespace assetgen
