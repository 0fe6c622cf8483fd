#pragma once
// A stand-in picture decoder for the fuzz targets: a PNG becomes a blank picture of the size its
// header gives (at most 1024 x 1024), any other file a blank 64 x 48 one. Drawing sees pictures of
// the right sizes without the cost of decoding them on every input.
#include <algorithm>
#include <cstdint>

#include "platform/ImageDecoder.h"

namespace tamblor::fuzz {

class PictureSizeDecoder final : public ImageDecoder {
public:
    bool Decode(std::string_view bytes, std::string_view, Image& out) override {
        out.width = 64;
        out.height = 48;
        if (bytes.size() >= 24 && bytes.substr(1, 3) == "PNG") {
            out.width = std::clamp(BigEndian32(bytes, 16), 1, 1024);
            out.height = std::clamp(BigEndian32(bytes, 20), 1, 1024);
        }
        out.rgba.assign(static_cast<size_t>(out.width) * static_cast<size_t>(out.height) * 4, 0x80);
        return true;
    }

private:
    static int BigEndian32(std::string_view b, size_t at) {
        uint32_t v = 0;
        for (size_t i = 0; i < 4; ++i) v = (v << 8) | static_cast<uint8_t>(b[at + i]);
        return static_cast<int>(std::min<uint32_t>(v, 1u << 20));
    }
};

}  // namespace tamblor::fuzz
