#pragma once
#include "platform/ImageDecoder.h"

namespace tamblor {

// PNG, JPEG, TGA and BMP through SDL2_image (no video subsystem needed). The file name's extension
// tells TGA files apart, which have no signature.
class SdlImageDecoder final : public ImageDecoder {
public:
    bool Decode(std::string_view fileBytes, std::string_view fileName, Image& out) override;
};

}  // namespace tamblor
