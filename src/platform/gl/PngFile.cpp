#include "platform/gl/PngFile.h"

#include <SDL.h>
#include <SDL_image.h>

#include <fstream>
#include <sstream>

#include "platform/gl/SdlImageDecoder.h"

namespace tamblor {

namespace {

SDL_Surface* WrapPixels(int width, int height, const std::vector<uint8_t>& rgba) {
    if (width <= 0 || height <= 0 || rgba.size() != static_cast<size_t>(width) * height * 4)
        return nullptr;
    return SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint8_t*>(rgba.data()), width, height, 32, width * 4,
                                              SDL_PIXELFORMAT_RGBA32);
}

}  // namespace

bool WritePng(const std::string& path, int width, int height, const std::vector<uint8_t>& rgba) {
    SDL_Surface* surface = WrapPixels(width, height, rgba);
    if (surface == nullptr)
        return false;
    bool ok = IMG_SavePNG(surface, path.c_str()) == 0;
    SDL_FreeSurface(surface);
    return ok;
}

bool WriteJpg(const std::string& path, int width, int height, const std::vector<uint8_t>& rgba, int quality) {
    SDL_Surface* surface = WrapPixels(width, height, rgba);
    if (surface == nullptr)
        return false;
    bool ok = IMG_SaveJPG(surface, path.c_str(), quality) == 0;
    SDL_FreeSurface(surface);
    return ok;
}

bool ReadPng(const std::string& path, int& width, int& height, std::vector<uint8_t>& rgba) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    SdlImageDecoder decoder;
    Image image;
    if (!decoder.Decode(bytes.str(), path, image))
        return false;
    width = image.width;
    height = image.height;
    rgba = std::move(image.rgba);
    return true;
}

}  // namespace tamblor
