#pragma once
#include "game/TextureFinder.h"
#include "graphics/Graphics.h"

namespace tamblor {

// Game play looks its pictures up in the texture table.
class GraphicsTextureFinder final : public TextureFinder {
public:
    explicit GraphicsTextureFinder(Graphics& graphics) : graphics_(graphics) {}
    Texture* FindTexture(std::string_view fileName) override { return graphics_.FindTexture(fileName); }

private:
    Graphics& graphics_;
};

}  // namespace tamblor
