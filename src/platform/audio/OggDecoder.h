#pragma once
#include <memory>

#include "platform/audio/SoundDecoder.h"

namespace tamblor {

// Ogg Vorbis through vorbisfile, decoded to little-endian signed 16-bit samples. Only the first
// logical stream is played.
class OggDecoder final : public SoundDecoder {
public:
    OggDecoder();
    ~OggDecoder() override;
    OggDecoder(const OggDecoder&) = delete;
    OggDecoder& operator=(const OggDecoder&) = delete;

    int Open(const std::string& path) override;
    void Rewind() override;
    uint32_t Read(void* destination, uint32_t count, bool loop) override;

private:
    struct File;
    std::unique_ptr<File> file_;
    // Decodes until count bytes or the end of the stream; false at the end.
    uint32_t Decode(char* destination, uint32_t count, bool* ended);
};

}  // namespace tamblor
