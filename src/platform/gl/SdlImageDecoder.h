#pragma once
#include "platform/ImageDecoder.h"

namespace tamblor {

// PNG, JPEG, TGA and BMP through SDL2_image (no video subsystem needed), recognised by their content
// whatever the file is called. Other formats, pictures whose data ends early, CMYK JPEGs and pictures
// larger than kMaxPictureSide either way are refused.
class SdlImageDecoder final : public ImageDecoder {
public:
    // Well above the game's largest picture (1024 pixels) and the texture size drivers commonly take.
    static constexpr int kMaxPictureSide = 8192;

    bool Decode(std::string_view fileBytes, std::string_view fileName, Image& out) override;
};

}  // namespace tamblor
