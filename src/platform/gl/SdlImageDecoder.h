#pragma once
#include "platform/ImageDecoder.h"

namespace tamblor {

// PNG, JPEG, TGA and BMP through SDL2_image (no video subsystem needed), recognised by their content
// whatever the file is called. Other formats, pictures whose data ends early and CMYK JPEGs are
// refused.
class SdlImageDecoder final : public ImageDecoder {
public:
    bool Decode(std::string_view fileBytes, std::string_view fileName, Image& out) override;
};

}  // namespace tamblor
