#include "Sounds.h"

#include <cmath>
#include <cstdio>
#include <string>

#include "Output.h"
#include "Synth.h"

namespace assetgen {

namespace {

using namespace synth;

// Note numbers (middle C = 60).
constexpr int C4 = 60, D4 = 62, E4 = 64, F4 = 65, G4 = 67, A4 = 69, B4 = 71;
constexpr int C5 = 72, D5 = 74, E5 = 76, G5 = 79, A5 = 81, C6 = 84, D6 = 86, E6 = 88, G6 = 91, A6 = 93, C7 = 96;

Buffer Sized(double seconds) { return Buffer(static_cast<size_t>(Samples(seconds)), 0.0f); }

void Trim(Buffer& b, double seconds) { b.resize(static_cast<size_t>(Samples(seconds)), 0.0f); }

// A wooden "thock": a low sine with a quick pitch drop and a short noise tick on top.
void Thock(Buffer& b, double t, double hz, uint32_t seed, double gain) {
    AddGlide(b, t, 0.14, hz * 1.5, hz * 0.8, gain, 0.001, 0.035);
    AddTick(b, t, 0.02, 2500, gain * 0.9, seed);
}

// A soft brass-like voice: a few harmonics whose brightness follows the envelope.
void AddBrass(Buffer& b, double t, double length, double hz, double gain) {
    int start = Samples(t), n = Samples(length);
    if (b.size() < static_cast<size_t>(start + n)) b.resize(static_cast<size_t>(start + n), 0.0f);
    int na = Samples(0.04), nr = Samples(0.25);
    for (int i = 0; i < n; ++i) {
        double env = std::min(1.0, double(i) / na) * std::min(1.0, double(n - i) / nr);
        double bright = 0.3 + 0.7 * env;
        double vib = 1 + 0.003 * std::sin(2 * M_PI * 5.2 * i / kRate) * std::min(1.0, i / (0.3 * kRate));
        double ph = hz * vib * i / kRate, v = 0;
        for (int h = 1; h <= 7; ++h) v += std::pow(bright, h - 1) / h * Sine(ph * h);
        b[start + i] += static_cast<float>(gain * env * v);
    }
}

Buffer TakeShape() {
    Buffer b = Sized(0.1);
    AddGlide(b, 0, 0.1, 600, 900, 0.7, 0.003, 0.04);
    AddGlide(b, 0, 0.1, 1200, 1800, 0.15, 0.003, 0.03);
    AddTick(b, 0, 0.012, 4000, 0.5, 11);
    Trim(b, 0.1);
    Finish(b, -3);
    return b;
}

Buffer PlaceShape(bool variant) {
    Buffer b = Sized(0.15);
    Thock(b, 0, variant ? 205 : 180, variant ? 23 : 21, 1.0);
    Trim(b, 0.15);
    Finish(b, -3);
    return b;
}

Buffer PlaceBonus(int n) {
    const int scale[7] = {E5, G5, A5, C6, D6, E6, G6};
    Buffer b = Sized(0.35);
    Thock(b, 0, 180, 30 + n, 0.5);
    AddStruck(b, 0.005, NoteHz(scale[n - 1]), 0.8, kMarimba, 0.34);
    AddStruck(b, 0.005, NoteHz(scale[n - 1] + 12), 0.15, kGlass, 0.3);
    Trim(b, 0.35);
    Finish(b, -3, 2, 25);
    return b;
}

Buffer DropShape() {
    Buffer b = Sized(0.3);
    AddNoiseSweep(b, 0, 0.3, 2200, 350, 1.5, 1.0, 41);
    AddGlide(b, 0, 0.3, 500, 200, 0.35, 0.02, 0.2);
    Trim(b, 0.3);
    Finish(b, -4, 3, 30);
    return b;
}

Buffer DeleteShape() {
    Buffer b = Sized(0.05);
    AddTick(b, 0, 0.03, 1800, 1.0, 51);
    AddGlide(b, 0, 0.04, 1000, 900, 0.3, 0.001, 0.01);
    Trim(b, 0.05);
    Finish(b, -5);
    return b;
}

Buffer ShapeClear() {
    Buffer b = Sized(0.35);
    Noise noise(61);
    for (int k = 0; k < 3; ++k) {
        double t = k * 0.11;
        int start = Samples(t), n = Samples(0.09);
        Svf f;
        f.Set(1400 - k * 250, 1.2);
        for (int i = 0; i < n; ++i) {
            double grit = (noise.Next() > 0.6) ? 1.0 : 0.35;  // crackle
            f.Process(noise.Next() * grit);
            double env = std::exp(-4.0 * i / n) * std::min(1.0, i / 40.0);
            b[start + i] += static_cast<float>(env * f.low * 1.6);
        }
        AddGlide(b, t, 0.06, 160 - k * 20, 90, 0.4, 0.001, 0.02);
    }
    Trim(b, 0.35);
    Finish(b, -3, 2, 20);
    return b;
}

Buffer RemoveLine() {
    Buffer b = Sized(0.8);
    AddNoiseSweep(b, 0, 0.75, 500, 6000, 3.0, 0.5, 71);
    const int run[8] = {C6, E6, G6, C7, E6, G6, C7, E6 + 12};
    for (int i = 0; i < 8; ++i) AddStruck(b, 0.05 + i * 0.07, NoteHz(run[i]), 0.35, kBell, 0.6);
    Trim(b, 0.8);
    Finish(b, -3, 2, 120);
    return b;
}

Buffer FillArea() {
    Buffer b = Sized(0.5);
    AddGlide(b, 0, 0.35, 110, 45, 1.0, 0.004, 0.12);
    AddNoiseSweep(b, 0, 0.12, 300, 120, 0.8, 0.6, 81);
    const int sparkle[5] = {C7, G6, E6 + 12, A6, C7 + 7};
    for (int i = 0; i < 5; ++i) AddStruck(b, 0.1 + i * 0.06, NoteHz(sparkle[i]), 0.18, kGlass, 0.35);
    Trim(b, 0.5);
    Finish(b, -3, 2, 80);
    return b;
}

Buffer NoBonus() {
    Buffer b = Sized(0.8);
    AddBrass(b, 0.0, 0.36, NoteHz(G4), 0.6);
    AddBrass(b, 0.38, 0.42, NoteHz(F4 - 1), 0.6);
    // A slow "wah": a low-pass that opens and closes over each tone.
    Svf f;
    for (size_t i = 0; i < b.size(); ++i) {
        double t = double(i) / kRate;
        double local = t < 0.38 ? t / 0.38 : (t - 0.38) / 0.42;
        f.Set(400 + 2200 * std::sin(M_PI * std::min(1.0, local)), 1.5);
        b[i] = static_cast<float>(f.Process(b[i]));
    }
    Trim(b, 0.8);
    Finish(b, -3, 2, 60);
    return b;
}

Buffer BugAlarm() {
    Buffer b = Sized(0.6);
    int n = static_cast<int>(b.size());
    double phase = 0;
    for (int i = 0; i < n; ++i) {
        double u = double(i) / n;
        double hz = 220 * std::pow(260.0 / 220.0, u);
        phase += hz / kRate;
        double v = 0;
        for (int h = 1; h <= 10; ++h) v += Sine(phase * h) / h;  // soft saw
        double trem = 0.55 + 0.45 * Sine(30.0 * i / kRate);
        double env = std::sin(M_PI * u);
        b[i] = static_cast<float>(0.5 * v * trem * env);
    }
    Trim(b, 0.6);
    Finish(b, -4, 5, 30);
    return b;
}

Buffer ShapeChomp() {
    Buffer b = Sized(0.25);
    Noise noise(91);
    Svf f;
    f.Set(1500, 0.9);
    int n = Samples(0.12);
    for (int i = 0; i < n; ++i) {
        f.Process(noise.Next());
        double env = std::exp(-6.0 * i / n) * std::min(1.0, i / 30.0);
        b[i] += static_cast<float>(env * f.low * 1.5);
    }
    AddGlide(b, 0.01, 0.2, 140, 70, 0.8, 0.002, 0.06);
    Trim(b, 0.25);
    Finish(b, -3, 2, 30);
    return b;
}

Buffer TransformShape() {
    Buffer b = Sized(0.2);
    int n = static_cast<int>(b.size());
    double phase = 0;
    for (int i = 0; i < n; ++i) {
        double u = double(i) / n;
        double hz = u < 0.5 ? 400 * std::pow(2.0, u * 2) : 800 * std::pow(0.75, (u - 0.5) * 2);
        phase += hz / kRate;
        double env = std::min(1.0, i / 200.0) * std::exp(-3.0 * u);
        b[i] = static_cast<float>(env * (Sine(phase) + 0.2 * Sine(2 * phase)));
    }
    Finish(b, -4, 2, 30);
    return b;
}

Buffer Timeout() {
    Buffer b = Sized(0.12);
    AddTick(b, 0, 0.015, 3000, 0.7, 101);
    AddGlide(b, 0.01, 0.07, 2000, 2000, 0.45, 0.003, 0.03);
    Trim(b, 0.12);
    Finish(b, -4, 1, 20);
    return b;
}

// Ratchet ticks with the given gaps between them.
Buffer Ratchet(double length, bool accelerate, uint32_t seed) {
    Buffer b = Sized(length);
    double t = 0.0;
    int i = 0;
    while (t < length - 0.04) {
        double u = t / length;
        AddTick(b, t, 0.02, 2200, 0.8, seed + i);
        AddGlide(b, t, 0.025, 1200, 1150, 0.2, 0.001, 0.008);
        double gap = accelerate ? 0.085 - 0.06 * u : 0.03 + 0.06 * u;
        t += gap;
        ++i;
    }
    AddGlide(b, 0, length, accelerate ? 90 : 130, accelerate ? 130 : 90, 0.25, 0.05, length);
    Trim(b, length);
    Finish(b, -5, 3, 40);
    return b;
}

Buffer EmitScores() {
    Buffer b = Sized(0.4);
    AddNoiseSweep(b, 0, 0.35, 800, 4500, 2.0, 0.6, 111);
    const int glitter[6] = {G6, C7, E6 + 12, G6 + 12, C7 + 7, C7 + 12};
    for (int i = 0; i < 6; ++i) AddStruck(b, 0.08 + i * 0.04, NoteHz(glitter[i]), 0.12, kGlass, 0.25);
    Trim(b, 0.4);
    Finish(b, -4, 3, 60);
    return b;
}

Buffer CollectScores() {
    Buffer b = Sized(0.3);
    AddStruck(b, 0, 988, 0.6, kBell, 0.3);
    AddStruck(b, 0.06, 1319, 0.7, kBell, 0.24);
    Trim(b, 0.3);
    Finish(b, -3, 1, 60);
    return b;
}

Buffer LevelStart() {
    Buffer b = Sized(0.9);
    const int notes[3] = {C5, E5, G5};
    for (int i = 0; i < 3; ++i) AddStruck(b, i * 0.15, NoteHz(notes[i]), 0.7, kBell, 0.9 - i * 0.15);
    Trim(b, 0.9);
    Finish(b, -3, 2, 150);
    return b;
}

Buffer LevelComplete() {
    Buffer b = Sized(2.0);
    const int notes[5] = {C5, E5, G5, C6, E6};
    for (int i = 0; i < 5; ++i) {
        AddStruck(b, i * 0.12, NoteHz(notes[i]), 0.6, kMarimba, 0.8);
        AddStruck(b, i * 0.12, NoteHz(notes[i]), 0.2, kBell, 0.8);
    }
    for (int note : {C5, E5, G5, C6}) AddBrass(b, 0.62, 1.3, NoteHz(note), 0.12);
    AddStruck(b, 0.62, NoteHz(C6), 0.4, kBell, 1.3);
    Trim(b, 2.0);
    Finish(b, -2, 2, 300);
    return b;
}

Buffer BonusLevelComplete() {
    Buffer b = Sized(2.5);
    const int notes[8] = {C5, D5, E5, G5, A5, C6, D6, E6};
    for (int i = 0; i < 8; ++i) AddStruck(b, i * 0.08, NoteHz(notes[i]), 0.5, kMarimba, 0.7);
    for (int note : {C5, E5, G5, C6, E6}) AddBrass(b, 0.7, 1.6, NoteHz(note), 0.1);
    const int sparkle[10] = {C7, G6, E6, C7, A6, G6, C7 + 4, C7, G6 + 12, C7 + 12};
    for (int i = 0; i < 10; ++i) AddStruck(b, 0.7 + i * 0.09, NoteHz(sparkle[i]), 0.16, kGlass, 0.6);
    Trim(b, 2.5);
    Finish(b, -2, 2, 350);
    return b;
}

Buffer GameOver() {
    Buffer b = Sized(2.5);
    const int notes[4] = {A4, G4, F4, E4};
    for (int i = 0; i < 4; ++i) {
        double len = i == 3 ? 1.3 : 0.42;
        AddStruck(b, i * 0.4, NoteHz(notes[i]), 0.55, kMarimba, len);
        AddBrass(b, i * 0.4, len, NoteHz(notes[i] - 12), 0.18);
    }
    for (int note : {A4 - 12, C4, E4}) AddBrass(b, 1.2, 1.25, NoteHz(note), 0.1);
    Trim(b, 2.5);
    Finish(b, -3, 3, 400);
    return b;
}

Buffer GameComplete() {
    Buffer b = Sized(4.0);
    // A short fanfare: G4 C5 E5, then a held G5 over a C major chord, then a sparkle.
    const int call[4] = {G4, C5, E5, G5};
    const double times[4] = {0.0, 0.18, 0.36, 0.6};
    const double lens[4] = {0.2, 0.2, 0.25, 1.0};
    for (int i = 0; i < 4; ++i) AddBrass(b, times[i], lens[i], NoteHz(call[i]), 0.35);
    for (int note : {C4, G4, C5, E5}) AddBrass(b, 1.6, 2.2, NoteHz(note), 0.16);
    AddBrass(b, 1.6, 2.2, NoteHz(C5 + 12), 0.25);
    for (int i = 0; i < 12; ++i) {
        const int run[6] = {C6, E6, G6, C7, G6, E6 + 12};
        AddStruck(b, 1.6 + i * 0.1, NoteHz(run[i % 6]), 0.15, kGlass, 0.8);
    }
    AddStruck(b, 1.6, NoteHz(C5), 0.5, kBell, 2.3);
    Trim(b, 4.0);
    Finish(b, -2, 3, 500);
    return b;
}

Buffer TypeKey() {
    Buffer b = Sized(0.05);
    AddTick(b, 0, 0.03, 3500, 1.0, 131);
    AddTick(b, 0.004, 0.03, 900, 0.6, 137);
    Trim(b, 0.05);
    Finish(b, -5);
    return b;
}

Buffer ClassNote(int k) {
    const int scale[16] = {C4, D4, E4, G4, A4, C5, D5, E5, G5, A5, C6, D6, E6, G6, A6, C7};
    Buffer b = Sized(0.6);
    AddStruck(b, 0, NoteHz(scale[k]), 0.8, kMarimba, 0.6);
    AddStruck(b, 0, NoteHz(scale[k] + 12), 0.2, kGlass, 0.6);
    Trim(b, 0.6);
    Finish(b, -3, 2, 80);
    return b;
}

Buffer Click() {
    Buffer b = Sized(0.03);
    AddTick(b, 0, 0.02, 2500, 1.0, 141);
    AddGlide(b, 0, 0.02, 700, 600, 0.4, 0.001, 0.006);
    Trim(b, 0.03);
    Finish(b, -14, 1, 6);
    return b;
}

Buffer Over() {
    Buffer b = Sized(0.04);
    AddGlide(b, 0, 0.04, 2600, 3000, 1.0, 0.004, 0.015);
    Trim(b, 0.04);
    Finish(b, -24, 3, 10);
    return b;
}

}  // namespace

void MakeSounds(Output& out) {
    auto put = [&](const std::string& name, const Buffer& b) { out.Bytes("Sound\\" + name + ".wav", Wav(b)); };
    put("take_shape", TakeShape());
    put("place_shape", PlaceShape(false));
    put("place_shape_b", PlaceShape(true));
    for (int n = 1; n <= 7; ++n) put("place_shape_bonus_" + std::to_string(n), PlaceBonus(n));
    put("drop_shape", DropShape());
    put("delete_shape", DeleteShape());
    put("shape_clear", ShapeClear());
    put("remove_line", RemoveLine());
    put("fill_area", FillArea());
    put("no_bonus", NoBonus());
    put("bug_alarm", BugAlarm());
    put("shape_chomp", ShapeChomp());
    put("transform_shape", TransformShape());
    put("timeout", Timeout());
    put("shape_panel_in", Ratchet(0.8, true, 151));
    put("shape_panel_out", Ratchet(0.5, false, 171));
    put("emit_scores", EmitScores());
    put("collect_scores", CollectScores());
    put("level_start", LevelStart());
    put("level_complete", LevelComplete());
    put("bonus_level_complete", BonusLevelComplete());
    put("game_over", GameOver());
    put("game_complete", GameComplete());
    put("type_01", TypeKey());
    for (int k = 0; k < 16; ++k) {
        char name[16];
        std::snprintf(name, sizeof name, "class_%02d", k);
        put(name, ClassNote(k));
    }
    put("click", Click());
    put("over", Over());
}

}  // namespace assetgen
