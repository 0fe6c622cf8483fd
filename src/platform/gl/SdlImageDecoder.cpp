#include "platform/gl/SdlImageDecoder.h"

#include <SDL.h>
#include <SDL_image.h>

#include <cstring>

#include "platform/gl/PictureFormat.h"

namespace tamblor {

bool SdlImageDecoder::Decode(std::string_view fileBytes, std::string_view /*fileName*/, Image& out) {
    if (fileBytes.empty() || fileBytes.size() > static_cast<size_t>(INT32_MAX))
        return false;
    // Only the four formats of the game, told by their content, and only when whole: the library
    // would also read other formats, and fills a picture that ends early without failing.
    const PictureFormat format = RecognisePicture(fileBytes);
    if (!PictureIsWhole(format, fileBytes) || !PictureFitsSide(format, fileBytes, kMaxPictureSide))
        return false;
    SDL_RWops* rw = SDL_RWFromConstMem(fileBytes.data(), static_cast<int>(fileBytes.size()));
    if (rw == nullptr)
        return false;
    SDL_Surface* loaded = nullptr;
    switch (format) {
        case PictureFormat::Png:
            loaded = IMG_LoadPNG_RW(rw);
            break;
        case PictureFormat::Jpeg:
            loaded = IMG_LoadJPG_RW(rw);
            break;
        case PictureFormat::Tga:
            loaded = IMG_LoadTGA_RW(rw);
            break;
        case PictureFormat::Bmp:
            loaded = IMG_LoadBMP_RW(rw);
            break;
        case PictureFormat::Unknown:
            break;
    }
    SDL_RWclose(rw);
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
