#include "platform/gl/PictureFormat.h"

#include <cstddef>
#include <cstdint>

namespace tamblor {
namespace {

uint8_t Byte(std::string_view b, size_t i) {
    return static_cast<uint8_t>(b[i]);
}
size_t Le16(std::string_view b, size_t i) {
    return Byte(b, i) | (static_cast<size_t>(Byte(b, i + 1)) << 8);
}
size_t Be16(std::string_view b, size_t i) {
    return (static_cast<size_t>(Byte(b, i)) << 8) | Byte(b, i + 1);
}
uint32_t Be32(std::string_view b, size_t i) {
    return (static_cast<uint32_t>(Be16(b, i)) << 16) | static_cast<uint32_t>(Be16(b, i + 2));
}
uint32_t Le32(std::string_view b, size_t i) {
    return static_cast<uint32_t>(Le16(b, i)) | (static_cast<uint32_t>(Le16(b, i + 2)) << 16);
}

constexpr size_t kTgaHeader = 18;

// The TGA header fields that decide the layout of the pixel data.
struct TgaLayout {
    size_t dataStart = 0;  // after the header, the id field and the colour map
    size_t pixels = 0;
    size_t bytesPerPixel = 0;
    bool runLength = false;
};

bool ReadTgaLayout(std::string_view b, TgaLayout* layout) {
    if (b.size() < kTgaHeader)
        return false;
    const uint8_t mapType = Byte(b, 1), imageType = Byte(b, 2), depth = Byte(b, 16);
    const size_t mapLength = Le16(b, 5), width = Le16(b, 12), height = Le16(b, 14);
    const uint8_t mapEntryBits = Byte(b, 7);
    const uint8_t kind = imageType & 7;  // 1 colour-mapped, 2 true colour, 3 grey; +8 run-length coded
    if (mapType > 1 || (imageType & ~0x0B) != 0 || kind == 0 || width == 0 || height == 0)
        return false;
    if ((kind == 1) != (mapType == 1))
        return false;
    bool depthFits = kind == 2 ? (depth == 15 || depth == 16 || depth == 24 || depth == 32) : depth == 8;
    if (!depthFits || (mapType == 1 && (mapLength == 0 || mapEntryBits == 0 || mapEntryBits > 32)))
        return false;
    size_t mapBytes = mapType == 1 ? mapLength * ((mapEntryBits + 7u) / 8u) : 0;
    layout->dataStart = kTgaHeader + Byte(b, 0) + mapBytes;
    layout->pixels = width * height;
    layout->bytesPerPixel = (depth + 7u) / 8u;
    layout->runLength = (imageType & 8) != 0;
    return true;
}

bool TgaIsWhole(std::string_view b) {
    TgaLayout t;
    if (!ReadTgaLayout(b, &t) || t.dataStart > b.size())
        return false;
    if (!t.runLength)
        return (b.size() - t.dataStart) / t.bytesPerPixel >= t.pixels;
    // Run-length packets: a count byte, then one pixel repeated or that many pixels as they are.
    size_t at = t.dataStart, covered = 0;
    while (covered < t.pixels) {
        if (at >= b.size())
            return false;
        uint8_t head = Byte(b, at++);
        size_t count = (head & 0x7Fu) + 1u;
        at += (head & 0x80u) ? t.bytesPerPixel : count * t.bytesPerPixel;
        if (at > b.size())
            return false;
        covered += count;
    }
    return true;
}

// What the JPEG segments up to the first scan say: the frame header's size and number of colour
// components, and where the scan's coded data begins (npos when the segments end before a scan).
struct JpegHeader {
    bool hasFrame = false;
    size_t width = 0;
    size_t height = 0;
    int components = 0;
    size_t scanData = std::string_view::npos;
};

JpegHeader ReadJpegHeader(std::string_view b) {
    JpegHeader header;
    size_t at = 2;
    while (at + 4 <= b.size()) {
        if (Byte(b, at) != 0xFF)
            return header;
        const uint8_t marker = Byte(b, at + 1);
        if (marker == 0xFF) {  // fill byte
            ++at;
            continue;
        }
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {  // markers without a length
            at += 2;
            continue;
        }
        if (marker == 0xD8 || marker == 0xD9)
            return header;
        const size_t length = Be16(b, at + 2);
        if (length < 2 || at + 2 + length > b.size())
            return header;
        const bool frameHeader =
            marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frameHeader) {
            header.hasFrame = length >= 8;
            if (!header.hasFrame)
                return header;
            header.height = Be16(b, at + 5);
            header.width = Be16(b, at + 7);
            header.components = Byte(b, at + 9);
        }
        if (marker == 0xDA) {
            header.scanData = at + 2 + length;
            return header;
        }
        at += 2 + length;
    }
    return header;
}

// The frame header must give one or three components, and the end-of-image marker must follow the
// scan. Inside coded data every 0xFF byte is followed by 0x00 or a restart marker, so the first
// 0xFF 0xD9 after the scan header is the real end.
bool JpegIsWhole(std::string_view b) {
    const JpegHeader header = ReadJpegHeader(b);
    return header.scanData != std::string_view::npos && (header.components == 1 || header.components == 3) &&
           b.find("\xFF\xD9", header.scanData) != std::string_view::npos;
}

}  // namespace

PictureFormat RecognisePicture(std::string_view b) {
    if (b.substr(0, 8) == std::string_view("\x89PNG\r\n\x1A\n", 8))
        return PictureFormat::Png;
    if (b.size() >= 3 && Byte(b, 0) == 0xFF && Byte(b, 1) == 0xD8 && Byte(b, 2) == 0xFF)
        return PictureFormat::Jpeg;
    if (b.substr(0, 2) == "BM")
        return PictureFormat::Bmp;
    TgaLayout layout;
    if (ReadTgaLayout(b, &layout))
        return PictureFormat::Tga;
    return PictureFormat::Unknown;
}

bool PictureIsWhole(PictureFormat format, std::string_view bytes) {
    switch (format) {
        case PictureFormat::Jpeg:
            return JpegIsWhole(bytes);
        case PictureFormat::Tga:
            return TgaIsWhole(bytes);
        case PictureFormat::Png:
        case PictureFormat::Bmp:
            return true;  // their decoders fail on data that ends early
        case PictureFormat::Unknown:
            break;
    }
    return false;
}

bool PictureFitsSide(PictureFormat format, std::string_view b, int maxSide) {
    size_t width = 0, height = 0;
    switch (format) {
        case PictureFormat::Png:
            if (b.size() < 24)
                return false;
            width = Be32(b, 16);
            height = Be32(b, 20);
            break;
        case PictureFormat::Jpeg: {
            const JpegHeader header = ReadJpegHeader(b);
            if (!header.hasFrame)
                return false;
            width = header.width;
            height = header.height;
            break;
        }
        case PictureFormat::Tga:
            if (b.size() < kTgaHeader)
                return false;
            width = Le16(b, 12);
            height = Le16(b, 14);
            break;
        case PictureFormat::Bmp: {
            if (b.size() < 26)
                return false;
            width = Le32(b, 18);
            // A negative height is a picture stored top row first.
            const auto signedHeight = static_cast<int32_t>(Le32(b, 22));
            height = signedHeight < 0 ? 0u - static_cast<uint32_t>(signedHeight) : static_cast<uint32_t>(signedHeight);
            break;
        }
        case PictureFormat::Unknown:
            return false;
    }
    const auto limit = static_cast<size_t>(maxSide);
    return width <= limit && height <= limit;
}

}  // namespace tamblor
