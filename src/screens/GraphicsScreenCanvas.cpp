#include "screens/GraphicsScreenCanvas.h"

#include "graphics/Graphics.h"

namespace tamblor {

static_assert(ScreenCanvas::kAlpha == SPRITE_ALPHA && ScreenCanvas::kOwnSize == SPRITE_OWN_SIZE);
static_assert(ScreenCanvas::kTextCenter == TEXT_CENTER && ScreenCanvas::kTextRight == TEXT_RIGHT &&
              ScreenCanvas::kTextImageOwnSize == TEXT_IMAGE_OWN_SIZE);

int GraphicsScreenCanvas::ClientWidth() const {
    return graphics_.GetClientSize().width;
}

int GraphicsScreenCanvas::ClientHeight() const {
    return graphics_.GetClientSize().height;
}

bool GraphicsScreenCanvas::PictureSize(std::string_view picture, int& width, int& height) {
    TextureHandle texture = graphics_.FindTexture(picture);
    if (!texture)
        return false;
    const PixelSize size = Graphics::GetTextureSize(texture);
    width = size.width;
    height = size.height;
    return true;
}

int GraphicsScreenCanvas::FontSheetHeight() {
    return Graphics::GetTextureSize(graphics_.FontTexture()).height;
}

void GraphicsScreenCanvas::DrawPicture(std::string_view picture, float x, float y, float w, float h,
                                       uint32_t colour, uint32_t flags) {
    graphics_.DrawSprite(graphics_.FindTexture(picture), x, y, w, h, 0.0f, 0.0f, 1.0f, 1.0f, colour, flags);
}

void GraphicsScreenCanvas::DrawPicturePart(std::string_view picture, float x, float y, float w, float h,
                                           float u0, float v0, float u1, float v1, uint32_t colour,
                                           uint32_t flags) {
    graphics_.DrawSprite(graphics_.FindTexture(picture), x, y, w, h, u0, v0, u1, v1, colour, flags);
}

void GraphicsScreenCanvas::DrawPictureRotated(std::string_view picture, float x, float y, float w, float h,
                                              float angle, uint32_t colour, uint32_t flags) {
    graphics_.DrawSpriteRotated(graphics_.FindTexture(picture), x, y, w, h, angle, colour, flags);
}

void GraphicsScreenCanvas::DrawString(float x, float y, float size, uint32_t colour, uint32_t flags,
                                      std::string_view key) {
    graphics_.DrawString(x, y, size, colour, flags, key);
}

void GraphicsScreenCanvas::SetLinearFiltering(bool linear) {
    RenderDevice* device = graphics_.Device();
    if (!device)
        return;
    const TextureFilter filter = linear ? TextureFilter::Linear : TextureFilter::Point;
    device->State().minFilter = filter;
    device->State().magFilter = filter;
}

}  // namespace tamblor
