#include "ContactSheet.h"

#include <algorithm>
#include <cmath>

#include "Canvas.h"
#include "Output.h"

namespace assetgen {

namespace {

void Checkerboard(cairo_t* cr, double x, double y, double w, double h) {
    cairo_save(cr);
    cairo_rectangle(cr, x, y, w, h);
    cairo_clip(cr);
    for (int j = 0; j * 8 < h; ++j) {
        for (int i = 0; i * 8 < w; ++i) {
            double v = ((i + j) % 2) ? 0.42 : 0.34;
            cairo_set_source_rgb(cr, v, v, v + 0.03);
            cairo_rectangle(cr, x + i * 8, y + j * 8, 8, 8);
            cairo_fill(cr);
        }
    }
    cairo_restore(cr);
}

void Cell(cairo_t* cr, const Output::Entry& e, double x, double y, double cw, double ch) {
    double boxW = cw - 8, boxH = ch - 22;
    int w = cairo_image_surface_get_width(e.surface), h = cairo_image_surface_get_height(e.surface);
    double scale = std::min({boxW / w, boxH / h, 2.0});
    double dw = w * scale, dh = h * scale;
    double px = x + 4 + (boxW - dw) / 2, py = y + 4 + (boxH - dh) / 2;
    Checkerboard(cr, px, py, dw, dh);
    cairo_save(cr);
    cairo_translate(cr, px, py);
    cairo_scale(cr, scale, scale);
    cairo_set_source_surface(cr, e.surface, 0, 0);
    cairo_paint(cr);
    cairo_restore(cr);
    std::string label = e.name;
    size_t slash = label.find_last_of('\\');
    if (slash != std::string::npos) label = label.substr(slash + 1);
    label += " " + std::to_string(w) + "x" + std::to_string(h);
    cairo_set_source_rgb(cr, 0.92, 0.92, 0.88);
    cairo_set_font_size(cr, 11);
    cairo_text_extents_t ext;
    cairo_text_extents(cr, label.c_str(), &ext);
    cairo_move_to(cr, x + (cw - ext.x_advance) / 2, y + ch - 6);
    cairo_show_text(cr, label.c_str());
}

}  // namespace

bool WriteContactSheet(const Output& pictures, const std::string& file) {
    std::vector<const Output::Entry*> big, small;
    for (const Output::Entry& e : pictures.Pictures()) {
        int w = cairo_image_surface_get_width(e.surface), h = cairo_image_surface_get_height(e.surface);
        (w > 300 || h > 200 ? big : small).push_back(&e);
    }
    const int width = 1800;
    const double bigW = 450, bigH = 360, smallW = 150, smallH = 112;
    int bigCols = static_cast<int>(width / bigW), smallCols = static_cast<int>(width / smallW);
    int bigRows = (static_cast<int>(big.size()) + bigCols - 1) / bigCols;
    int smallRows = (static_cast<int>(small.size()) + smallCols - 1) / smallCols;
    int height = static_cast<int>(bigRows * bigH + smallRows * smallH + 20);
    cairo_surface_t* sheet = NewSurface(width, height);
    cairo_t* cr = cairo_create(sheet);
    cairo_set_source_rgb(cr, 0.16, 0.17, 0.2);
    cairo_paint(cr);
    cairo_select_font_face(cr, "sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    for (size_t i = 0; i < big.size(); ++i) {
        Cell(cr, *big[i], (i % bigCols) * bigW, (i / bigCols) * bigH, bigW, bigH);
    }
    double top = bigRows * bigH + 20;
    for (size_t i = 0; i < small.size(); ++i) {
        Cell(cr, *small[i], (i % smallCols) * smallW, top + (i / smallCols) * smallH, smallW, smallH);
    }
    cairo_destroy(cr);
    bool ok = cairo_surface_write_to_png(sheet, file.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(sheet);
    return ok;
}

}  // namespace assetgen
