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

cairo_surface_t* Find(const Output& pictures, const std::string& name) {
    for (const Output::Entry& e : pictures.Pictures()) {
        if (e.name == name) return e.surface;
    }
    return nullptr;
}

void Blit(cairo_t* cr, cairo_surface_t* s, double x, double y, double w, double h) {
    if (!s) return;
    int sw = cairo_image_surface_get_width(s), sh = cairo_image_surface_get_height(s);
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, w / sw, h / sh);
    cairo_set_source_surface(cr, s, 0, 0);
    cairo_paint(cr);
    cairo_restore(cr);
}

// A mock-up of a frame of play, composed from the generated pictures the way the game scene layers
// them, to judge whether they work together.
cairo_surface_t* ScenePreview(const Output& pictures) {
    cairo_surface_t* scene = NewSurface(800, 600);
    cairo_t* cr = cairo_create(scene);
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_paint(cr);
    Blit(cr, Find(pictures, "Graphics\\back_game01.jpg"), 112, 0, 688, 516);
    const char* classes[4] = {"ruby", "sky", "lemon", "jade"};
    for (int line = 0; line < 6; ++line) {
        double x = 232 + 95 * line;
        Blit(cr, Find(pictures, "Graphics\\line" + std::to_string(line + 1) + ".png"), x - 47.5, 0, 95, 600);
        for (int cell = 0; cell < 6; ++cell) {
            double y = 60 + 95 * cell + (line % 2 ? 47.5 : 0);
            int k = (line * 7 + cell * 3) % 4;
            bool filled = (line + cell) % 3 == 0;
            std::string name = std::string("Graphics\\Shapes\\") + classes[k] + "_0" + (filled ? ".png" : "_hole.png");
            Blit(cr, Find(pictures, name), x - 32, y - 32, 64, 64);
        }
    }
    Blit(cr, Find(pictures, "Graphics\\am_bottom_bar.jpg"), 0, 510, 800, 78);
    for (int k = 0; k < 6; ++k) {
        std::string name = k == 2 ? "Graphics\\am_bonus02.png"
                                  : std::string("Graphics\\Shapes\\") + classes[k % 4] + "_0.png";
        Blit(cr, Find(pictures, name), 240 + 95 * k - 32, 549 - 32, 64, 64);
    }
    cairo_surface_t* border = Find(pictures, "Graphics\\status-border.png");
    if (border) {
        cairo_set_source_surface(cr, border, 0, 0);
        cairo_rectangle(cr, 0, 0, 800, 600);
        cairo_fill(cr);
    }
    Blit(cr, Find(pictures, "Graphics\\progress-empty.png"), 20, 327, 160, 24);
    Blit(cr, Find(pictures, "Graphics\\btn.png"), 20, 400, 160, 40);
    Blit(cr, Find(pictures, "Graphics\\btn_bin.png"), 24, 517, 64, 64);
    Blit(cr, Find(pictures, "Graphics\\round_time.png"), 36, 142, 128, 64);
    Blit(cr, Find(pictures, "Graphics\\bug_right.png"), 300, 400, 384, 64);
    cairo_destroy(cr);
    return scene;
}

}  // namespace

bool WriteContactSheet(const Output& pictures, const std::string& file) {
    Output::Entry preview{"scene preview (mock-up)", ScenePreview(pictures)};
    std::vector<const Output::Entry*> big{&preview}, small;
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
    cairo_surface_destroy(preview.surface);
    cairo_surface_destroy(sheet);
    return ok;
}

}  // namespace assetgen
