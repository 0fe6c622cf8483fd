#include "platform/audio/WavDecoder.h"

#include <cstring>

namespace tamblor {
namespace {

uint32_t Le32(const unsigned char* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

constexpr uint16_t kFormatExtensible = 0xFFFE;

uint16_t Le16(const unsigned char* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

bool ReadExactly(std::FILE* file, void* buffer, size_t size) {
    return std::fread(buffer, 1, size, file) == size;
}

}  // namespace

WavDecoder::~WavDecoder() {
    if (file_)
        std::fclose(file_);
}

int WavDecoder::Open(const std::string& path) {
    if (file_) {
        std::fclose(file_);
        file_ = nullptr;
    }
    dataLength_ = 0;
    readPosition_ = 0;
    file_ = std::fopen(path.c_str(), "rb");
    if (!file_)
        return 1;
    if (std::fseek(file_, 0, SEEK_END) != 0)
        return 1;
    long fileSize = std::ftell(file_);
    if (fileSize < 12 || std::fseek(file_, 0, SEEK_SET) != 0)
        return 1;

    unsigned char header[12];
    if (!ReadExactly(file_, header, sizeof header))
        return 1;
    if (std::memcmp(header, "RIFF", 4) != 0 || std::memcmp(header + 8, "WAVE", 4) != 0)
        return 1;

    // Walk the chunks that lie within the file. Every step moves forward by at least the 8-byte chunk
    // header, so a damaged size can end the walk but never loop it.
    bool haveFormat = false;
    bool haveData = false;
    long position = 12;
    while (position + 8 <= fileSize && !(haveFormat && haveData)) {
        unsigned char chunk[8];
        if (std::fseek(file_, position, SEEK_SET) != 0 || !ReadExactly(file_, chunk, sizeof chunk))
            return 1;
        uint32_t size = Le32(chunk + 4);
        long body = position + 8;
        long available = fileSize - body;
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            if (size < 16 || static_cast<long>(size) > available)
                return 1;
            unsigned char fmt[40] = {};
            size_t fmtBytes = size < sizeof fmt ? size : sizeof fmt;
            if (!ReadExactly(file_, fmt, fmtBytes))
                return 1;
            format_.formatTag = Le16(fmt);
            // The extensible form (written by many tools) is plain PCM when its sub-format says so.
            if (format_.formatTag == kFormatExtensible && fmtBytes >= 40 && Le16(fmt + 24) == 1)
                format_.formatTag = 1;
            format_.channels = Le16(fmt + 2);
            format_.samplesPerSec = Le32(fmt + 4);
            format_.avgBytesPerSec = Le32(fmt + 8);
            format_.blockAlign = Le16(fmt + 12);
            format_.bitsPerSample = Le16(fmt + 14);
            haveFormat = true;
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            // Data that claims more than the file holds (a cut-off file, or the size 0xFFFFFFFF of a
            // WAV written to a pipe) plays what is there.
            dataOffset_ = body;
            dataLength_ = static_cast<long>(size) > available ? static_cast<uint32_t>(available) : size;
            haveData = true;
        }
        long next = body + static_cast<long>(size) + static_cast<long>(size & 1u);
        if (next > fileSize)
            break;
        position = next;
    }
    if (!haveFormat || !haveData || !IsPlayablePcm(format_))
        return 1;
    // Only whole frames are played.
    dataLength_ -= dataLength_ % format_.blockAlign;
    if (dataLength_ == 0)
        return 1;
    Rewind();
    return 0;
}

void WavDecoder::Rewind() {
    readPosition_ = 0;
    if (file_)
        std::fseek(file_, dataOffset_, SEEK_SET);
}

uint32_t WavDecoder::Read(void* destination, uint32_t count, bool loop) {
    auto* out = static_cast<unsigned char*>(destination);
    uint32_t delivered = 0;
    bool rewoundWithoutData = false;
    while (file_ && delivered < count) {
        uint32_t left = dataLength_ - readPosition_;
        uint32_t want = count - delivered < left ? count - delivered : left;
        size_t got = want ? std::fread(out + delivered, 1, want, file_) : 0;
        delivered += static_cast<uint32_t>(got);
        readPosition_ += static_cast<uint32_t>(got);
        if (got > 0)
            rewoundWithoutData = false;
        if (delivered == count)
            break;
        bool atEnd = readPosition_ >= dataLength_;
        if (!atEnd && got == want)
            continue;
        // The end of the data, or a read that failed: wrap when looping, unless the data just rewound
        // to gave nothing (that would spin for ever).
        if (!loop || rewoundWithoutData)
            break;
        Rewind();
        rewoundWithoutData = true;
    }
    // Silence for the rest: 8-bit samples are unsigned, centred on 128.
    int silence = format_.bitsPerSample == 8 ? 0x80 : 0;
    if (delivered < count)
        std::memset(out + delivered, silence, count - delivered);
    return delivered;
}

}  // namespace tamblor
