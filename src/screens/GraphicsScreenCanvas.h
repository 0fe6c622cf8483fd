#pragma once
#include "screens/ScreenCanvas.h"

namespace tamblor {

class Graphics;

// Screens drawn with the game's texture table and sprite and text drawing.
class GraphicsScreenCanvas final : public ScreenCanvas {
public:
    explicit GraphicsScreenCanvas(Graphics& graphics) : graphics_(graphics) {}

    int ClientWidth() const override;
    int ClientHeight() const override;
    bool PictureSize(std::string_view picture, int& width, int& height) override;
    int FontSheetHeight() override;
    void DrawPicture(std::string_view picture, float x, float y, float w, float h, uint32_t colour,
                     uint32_t flags) override;
    void DrawPicturePart(std::string_view picture, float x, float y, float w, float h, float u0, float v0,
                         float u1, float v1, uint32_t colour, uint32_t flags) override;
    void DrawPictureRotated(std::string_view picture, float x, float y, float w, float h, float angle,
                            uint32_t colour, uint32_t flags) override;
    void DrawString(float x, float y, float size, uint32_t colour, uint32_t flags,
                    std::string_view key) override;
    void SetLinearFiltering(bool linear) override;

private:
    Graphics& graphics_;
};

}  // namespace tamblor
