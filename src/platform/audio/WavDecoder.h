#pragma once
#include <cstdio>

#include "platform/audio/SoundDecoder.h"

namespace tamblor {

// RIFF WAVE files with PCM data. Chunks are walked with their padding byte; the "fmt " chunk must
// describe a playable format. A "data" chunk that runs past the end of the file is cut to the whole
// frames the file holds.
class WavDecoder final : public SoundDecoder {
public:
    WavDecoder() = default;
    ~WavDecoder() override;
    WavDecoder(const WavDecoder&) = delete;
    WavDecoder& operator=(const WavDecoder&) = delete;

    int Open(const std::string& path) override;
    void Rewind() override;
    uint32_t Read(void* destination, uint32_t count, bool loop) override;

private:
    std::FILE* file_ = nullptr;
    long dataOffset_ = 0;
};

}  // namespace tamblor
