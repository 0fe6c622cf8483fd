#pragma once
// Helpers of the sound tests: WAV files made in memory, a dialog stand-in that records, and loopback
// rendering that steps the streaming by hand.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "platform/Dialogs.h"
#include "platform/audio/AudioDevice.h"

namespace tamblor::test {

inline void PutLe32(std::string& s, uint32_t v) {
    for (int i = 0; i < 4; ++i) s.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}
inline void PutLe16(std::string& s, uint16_t v) {
    s.push_back(static_cast<char>(v & 0xFF));
    s.push_back(static_cast<char>(v >> 8));
}

// A RIFF WAVE file around raw PCM bytes. dataSizeOverride replaces the size in the data chunk header.
inline std::string MakeWavBytes(int channels, int rate, int bits, const std::string& pcm,
                                int64_t dataSizeOverride = -1) {
    std::string s = "RIFF";
    PutLe32(s, static_cast<uint32_t>(36 + pcm.size()));
    s += "WAVEfmt ";
    PutLe32(s, 16);
    PutLe16(s, 1);
    PutLe16(s, static_cast<uint16_t>(channels));
    PutLe32(s, static_cast<uint32_t>(rate));
    PutLe32(s, static_cast<uint32_t>(rate * channels * bits / 8));
    PutLe16(s, static_cast<uint16_t>(channels * bits / 8));
    PutLe16(s, static_cast<uint16_t>(bits));
    s += "data";
    PutLe32(s, dataSizeOverride >= 0 ? static_cast<uint32_t>(dataSizeOverride)
                                     : static_cast<uint32_t>(pcm.size()));
    s += pcm;
    return s;
}

inline std::string Pcm16(const std::vector<int16_t>& samples) {
    std::string pcm(samples.size() * 2, '\0');
    std::memcpy(pcm.data(), samples.data(), pcm.size());
    return pcm;
}

inline std::string MakeWav16(int channels, const std::vector<int16_t>& samples, int rate = 44100) {
    return MakeWavBytes(channels, rate, 16, Pcm16(samples));
}

// A stereo ramp whose every frame is distinct: left = frame index modulo 30000, right = its negative.
inline std::vector<int16_t> StereoRamp(int frames) {
    std::vector<int16_t> samples;
    samples.reserve(static_cast<size_t>(frames) * 2);
    for (int i = 0; i < frames; ++i) {
        int v = (i % 30000) + 1;
        samples.push_back(static_cast<int16_t>(v));
        samples.push_back(static_cast<int16_t>(-v));
    }
    return samples;
}

class RecordingDialogs final : public Dialogs {
public:
    struct Shown {
        MessageKind kind;
        std::string title;
        std::string text;
    };
    std::vector<Shown> shown;
    void ShowMessage(MessageKind kind, const std::string& title, const std::string& text) override {
        shown.push_back({kind, title, text});
    }
};

// Renders frames of stereo output, running one streaming pass before every block, as the thread
// would between mixes.
inline std::vector<float> RenderFrames(AudioDevice& audio, int frames, int block = 2048) {
    std::vector<float> out(static_cast<size_t>(frames) * 2, 0.0f);
    for (int done = 0; done < frames; done += block) {
        int n = frames - done < block ? frames - done : block;
        audio.PumpOnce();
        audio.RenderLoopback(out.data() + static_cast<size_t>(done) * 2, n);
    }
    return out;
}

inline float Peak(const std::vector<float>& samples, size_t from = 0, size_t to = SIZE_MAX) {
    float peak = 0.0f;
    for (size_t i = from; i < samples.size() && i < to; ++i) {
        float a = samples[i] < 0 ? -samples[i] : samples[i];
        if (a > peak)
            peak = a;
    }
    return peak;
}

}  // namespace tamblor::test
