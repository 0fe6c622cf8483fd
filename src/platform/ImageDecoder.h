#pragma once
#include <cstdint>
#include <string_view>
#include <vector>

namespace tamblor {

// Decoded picture: width x height RGBA pixels, rows top to bottom. Pictures without alpha are opaque.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgba;
};

// Turns the bytes of an image file (PNG, JPEG, TGA, BMP) into RGBA pixels. The file name is for
// decoders that need it; the real one goes by the content alone.
class ImageDecoder {
public:
    virtual ~ImageDecoder() = default;
    virtual bool Decode(std::string_view fileBytes, std::string_view fileName, Image& out) = 0;
};

}  // namespace tamblor
