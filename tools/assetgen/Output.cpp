#include "Output.h"

#include <SDL_image.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace assetgen {

Output::~Output() {
    for (Entry& e : pictures_) cairo_surface_destroy(e.surface);
}

std::string Output::PathOf(const std::string& logicalName) const {
    std::string relative = logicalName;
    for (char& c : relative) {
        if (c == '\\') c = '/';
    }
    return folder_ + "/" + relative;
}

namespace {

// Opaque JPEG through SDL2_image; cairo keeps premultiplied pixels, which for opaque pictures are the
// plain colours.
bool SaveJpeg(cairo_surface_t* surface, const std::string& path) {
    cairo_surface_flush(surface);
    int w = cairo_image_surface_get_width(surface);
    int h = cairo_image_surface_get_height(surface);
    int stride = cairo_image_surface_get_stride(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    SDL_Surface* rgb = SDL_CreateRGBSurfaceWithFormat(0, w, h, 24, SDL_PIXELFORMAT_RGB24);
    if (!rgb) return false;
    for (int y = 0; y < h; ++y) {
        const uint32_t* src = reinterpret_cast<const uint32_t*>(data + y * stride);
        unsigned char* dst = static_cast<unsigned char*>(rgb->pixels) + y * rgb->pitch;
        for (int x = 0; x < w; ++x) {
            uint32_t p = src[x];
            dst[3 * x + 0] = (p >> 16) & 0xFF;
            dst[3 * x + 1] = (p >> 8) & 0xFF;
            dst[3 * x + 2] = p & 0xFF;
        }
    }
    bool ok = IMG_SaveJPG(rgb, path.c_str(), 92) == 0;
    SDL_FreeSurface(rgb);
    return ok;
}

}  // namespace

void Output::Picture(const std::string& logicalName, cairo_surface_t* surface) {
    cairo_surface_flush(surface);
    pictures_.push_back({logicalName, surface});
    if (folder_.empty()) return;
    std::string path = PathOf(logicalName);
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
    bool ok;
    if (logicalName.size() > 4 && logicalName.compare(logicalName.size() - 4, 4, ".jpg") == 0) {
        ok = SaveJpeg(surface, path);
    } else {
        ok = cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
    }
    if (!ok) {
        std::fprintf(stderr, "assetgen: cannot write %s\n", path.c_str());
        failed_ = true;
    }
}

void Output::Bytes(const std::string& logicalName, std::string_view bytes) {
    if (folder_.empty()) return;
    std::string path = PathOf(logicalName);
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        std::fprintf(stderr, "assetgen: cannot write %s\n", path.c_str());
        failed_ = true;
    }
}

bool Output::Read(const std::string& logicalName, std::string& bytes) const {
    if (folder_.empty()) return false;
    std::ifstream in(PathOf(logicalName), std::ios::binary);
    if (!in) return false;
    std::ostringstream s;
    s << in.rdbuf();
    bytes = s.str();
    return true;
}

}  // namespace assetgen
