#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace tamblor {

// The PCM layout of decoded sound data (the fields of a WAVEFORMATEX, extra size always 0).
struct PcmFormat {
    uint16_t formatTag = 1;  // 1 = PCM
    uint16_t channels = 0;
    uint32_t samplesPerSec = 0;
    uint32_t avgBytesPerSec = 0;
    uint16_t blockAlign = 0;
    uint16_t bitsPerSample = 0;
};

// A sound file opened for decoding into PCM. Open validates what it reads; Read never leaves garbage
// in the destination: whatever it cannot deliver is zero-filled.
class SoundDecoder {
public:
    virtual ~SoundDecoder() = default;
    // 0 on success; non-zero when the file cannot be opened or is not a sound the output can play.
    virtual int Open(const std::string& path) = 0;
    // Back to the first byte of the data.
    virtual void Rewind() = 0;
    // Copies up to count bytes of decoded data into destination and returns the bytes delivered; the
    // rest of the destination is zero-filled. With loop set the data wraps to its start, so the whole
    // count is delivered unless the file yields nothing (then the rest is silence, never an endless
    // loop).
    virtual uint32_t Read(void* destination, uint32_t count, bool loop) = 0;

    const PcmFormat& Format() const { return format_; }
    uint32_t DataLength() const { return dataLength_; }
    uint32_t ReadPosition() const { return readPosition_; }

protected:
    PcmFormat format_;
    uint32_t dataLength_ = 0;
    uint32_t readPosition_ = 0;
};

// The decoder for a file name, chosen by the text after its last "." without regard to letter case:
// "wav" and "ogg"; null for any other extension.
std::unique_ptr<SoundDecoder> MakeDecoderFor(std::string_view fileName);

// A format the output can play: PCM, one or two channels, 8 or 16 bits, a rate, whole frames.
bool IsPlayablePcm(const PcmFormat& format);

}  // namespace tamblor
