#pragma once
#include <string_view>

namespace tamblor {

class Texture;

// Turns an image file name into a texture handle of the texture library (null when it cannot be
// loaded). Game play only looks textures up; it never releases them.
class TextureFinder {
public:
    virtual ~TextureFinder() = default;
    virtual Texture* FindTexture(std::string_view fileName) = 0;
};

}  // namespace tamblor
