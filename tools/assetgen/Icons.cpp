// The application icon: a rounded evening-teal tile holding a board of shape holes, one of them being
// filled by a gold piece. Drawn as vectors, so every size is sharp; the output is the same on every run.
#include "Icons.h"

#include <cairo.h>

#include <cmath>
#include <cstdio>
#include <filesystem>

namespace assetgen {
namespace {

constexpr const char* kIconName = "io.github.tamblor.Tamblor.png";

void Colour(cairo_t* cr, unsigned rgb, double alpha = 1.0) {
    cairo_set_source_rgba(cr, ((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0,
                          alpha);
}

void Rounded(cairo_t* cr, double x, double y, double w, double h, double r) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
    cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
    cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
}

void Polygon(cairo_t* cr, double cx, double cy, double radius, int sides, double rotation) {
    for (int i = 0; i < sides; ++i) {
        double a = rotation + 2 * M_PI * i / sides;
        double x = cx + radius * std::cos(a), y = cy + radius * std::sin(a);
        if (i == 0)
            cairo_move_to(cr, x, y);
        else
            cairo_line_to(cr, x, y);
    }
    cairo_close_path(cr);
}

// One hole of the board: a sunken outline of a shape (0 circle, 1 square, 2 triangle, 3 hexagon).
void ShapePath(cairo_t* cr, int shape, double cx, double cy, double r) {
    switch (shape) {
        case 0:
            cairo_new_sub_path(cr);
            cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
            break;
        case 1:
            Rounded(cr, cx - r * 0.85, cy - r * 0.85, r * 1.7, r * 1.7, r * 0.25);
            break;
        case 2:
            Polygon(cr, cx, cy + r * 0.12, r * 1.05, 3, -M_PI / 2);
            break;
        default:
            Polygon(cr, cx, cy, r, 6, 0);
            break;
    }
}

// Draws the icon on a 256-unit canvas scaled to the requested size.
cairo_surface_t* DrawIcon(int size) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size);
    cairo_t* cr = cairo_create(surface);
    cairo_scale(cr, size / 256.0, size / 256.0);

    // The tile with a vertical gradient and a cream rim.
    Rounded(cr, 8, 8, 240, 240, 44);
    cairo_pattern_t* tile = cairo_pattern_create_linear(0, 8, 0, 248);
    cairo_pattern_add_color_stop_rgb(tile, 0, 0x3D / 255.0, 0x9C / 255.0, 0x9A / 255.0);
    cairo_pattern_add_color_stop_rgb(tile, 1, 0x17 / 255.0, 0x30 / 255.0, 0x4A / 255.0);
    cairo_set_source(cr, tile);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(tile);
    Colour(cr, 0xEAD8AE);
    cairo_set_line_width(cr, 8);
    cairo_stroke(cr);

    // Three lines of holes (two columns each), as on the board.
    const double xs[3] = {70, 128, 186};
    const double ys[2] = {92, 164};
    int shape = 0;
    for (double x : xs) {
        for (double y : ys) {
            bool filled = (x == 128 && y == 92);
            ShapePath(cr, shape % 4, x, y, 22);
            if (filled) {
                cairo_pattern_t* gold = cairo_pattern_create_radial(x - 8, y - 8, 2, x, y, 26);
                cairo_pattern_add_color_stop_rgb(gold, 0, 1.0, 0.93, 0.70);
                cairo_pattern_add_color_stop_rgb(gold, 1, 0xC9 / 255.0, 0x8A / 255.0, 0x2B / 255.0);
                cairo_set_source(cr, gold);
                cairo_fill_preserve(cr);
                cairo_pattern_destroy(gold);
                Colour(cr, 0x142233);
                cairo_set_line_width(cr, 4);
                cairo_stroke(cr);
            } else {
                Colour(cr, 0x142233, 0.55);
                cairo_fill_preserve(cr);
                Colour(cr, 0xFFF6E2, 0.8);
                cairo_set_line_width(cr, 4);
                cairo_stroke(cr);
            }
            ++shape;
        }
    }

    // The shape panel along the bottom edge, holding a gold piece on its way in.
    Rounded(cr, 30, 200, 196, 34, 14);
    Colour(cr, 0x142233, 0.6);
    cairo_fill(cr);
    ShapePath(cr, 3, 186, 217, 12);
    Colour(cr, 0xF2BE55);
    cairo_fill(cr);
    ShapePath(cr, 1, 128, 217, 12);
    Colour(cr, 0x5CC6B8);
    cairo_fill(cr);

    cairo_destroy(cr);
    cairo_surface_flush(surface);
    return surface;
}

}  // namespace

bool MakeIcons(const std::string& hicolorDir) {
    bool ok = true;
    for (int size : {48, 128, 256}) {
        std::filesystem::path dir =
            std::filesystem::path(hicolorDir) / (std::to_string(size) + "x" + std::to_string(size)) / "apps";
        std::error_code ec;
        std::filesystem::create_directories(dir, ec);
        cairo_surface_t* icon = DrawIcon(size);
        std::string file = (dir / kIconName).string();
        if (ec || cairo_surface_write_to_png(icon, file.c_str()) != CAIRO_STATUS_SUCCESS) {
            std::fprintf(stderr, "assetgen: cannot write the icon %s\n", file.c_str());
            ok = false;
        }
        cairo_surface_destroy(icon);
    }
    return ok;
}

}  // namespace assetgen
