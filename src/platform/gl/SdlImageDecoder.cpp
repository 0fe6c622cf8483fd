#include "platform/gl/SdlImageDecoder.h"

#include <SDL.h>
#include <SDL_image.h>

#include <cstring>
#include <string>

namespace tamblor {
namespace {

std::string UpperExtension(std::string_view fileName) {
    size_t dot = fileName.rfind('.');
    if (dot == std::string_view::npos)
        return {};
    std::string ext(fileName.substr(dot + 1));
    for (char& c : ext) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return ext;
}

}  // namespace

bool SdlImageDecoder::Decode(std::string_view fileBytes, std::string_view fileName, Image& out) {
    if (fileBytes.empty() || fileBytes.size() > static_cast<size_t>(INT32_MAX))
        return false;
    SDL_RWops* rw = SDL_RWFromConstMem(fileBytes.data(), static_cast<int>(fileBytes.size()));
    if (rw == nullptr)
        return false;
    std::string ext = UpperExtension(fileName);
    if (ext == "JPEG")
        ext = "JPG";
    // IMG_LoadTyped_RW closes rw. The type only matters for formats that cannot be recognised.
    SDL_Surface* loaded = IMG_LoadTyped_RW(rw, 1, ext.empty() ? nullptr : ext.c_str());
    if (loaded == nullptr)
        return false;
    // ABGR8888 is R, G, B, A in memory on every byte order SDL packs it for.
    SDL_Surface* rgba = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGBA32, 0);
    SDL_FreeSurface(loaded);
    if (rgba == nullptr)
        return false;
    bool ok = rgba->w > 0 && rgba->h > 0 && SDL_LockSurface(rgba) == 0;
    if (ok) {
        out.width = rgba->w;
        out.height = rgba->h;
        out.rgba.resize(static_cast<size_t>(rgba->w) * rgba->h * 4);
        const auto* src = static_cast<const uint8_t*>(rgba->pixels);
        for (int y = 0; y < rgba->h; ++y) {
            std::memcpy(out.rgba.data() + static_cast<size_t>(y) * rgba->w * 4,
                        src + static_cast<size_t>(y) * rgba->pitch, static_cast<size_t>(rgba->w) * 4);
        }
        SDL_UnlockSurface(rgba);
    }
    SDL_FreeSurface(rgba);
    return ok;
}

}  // namespace tamblor
