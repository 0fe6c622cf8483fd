#include "Text.h"

#include <cairo-ft.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstdio>

namespace assetgen {

namespace {

struct Fonts {
    FT_Library library = nullptr;
    FT_Face faces[2] = {nullptr, nullptr};
    cairo_font_face_t* cairoFaces[2] = {nullptr, nullptr};
    bool tried = false;
};

Fonts& TheFonts() {
    static Fonts fonts;
    return fonts;
}

const char* kFontFiles[2] = {"/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf",
                             "/usr/share/fonts/truetype/liberation/LiberationSans-Bold.ttf"};

void Load() {
    Fonts& f = TheFonts();
    if (f.tried) return;
    f.tried = true;
    if (FT_Init_FreeType(&f.library) != 0) return;
    for (int i = 0; i < 2; ++i) {
        if (FT_New_Face(f.library, kFontFiles[i], 0, &f.faces[i]) != 0) {
            std::fprintf(stderr, "assetgen: cannot open the font %s\n", kFontFiles[i]);
            f.faces[i] = nullptr;
            continue;
        }
        f.cairoFaces[i] = cairo_ft_font_face_create_for_ft_face(f.faces[i], FT_LOAD_NO_HINTING);
    }
}

}  // namespace

cairo_font_face_t* SansFace(bool bold) {
    Load();
    return TheFonts().cairoFaces[bold ? 1 : 0];
}

bool FontsAvailable() { return SansFace(true) && SansFace(false); }

void ReleaseFonts() {
    Fonts& f = TheFonts();
    for (int i = 0; i < 2; ++i) {
        if (f.cairoFaces[i]) cairo_font_face_destroy(f.cairoFaces[i]);
        f.cairoFaces[i] = nullptr;
        if (f.faces[i]) FT_Done_Face(f.faces[i]);
        f.faces[i] = nullptr;
    }
    if (f.library) FT_Done_FreeType(f.library);
    f.library = nullptr;
}

void OutlinedText(cairo_t* cr, const std::string& text, double size, double cx, double cy, Rgb fillColour,
                  cairo_pattern_t* fill, Rgb outline, double outlineWidth, bool bold) {
    cairo_font_face_t* face = SansFace(bold);
    if (!face) return;
    cairo_save(cr);
    cairo_set_font_face(cr, face);
    cairo_set_font_size(cr, size);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_set_font_options(cr, options);
    cairo_font_options_destroy(options);
    cairo_text_extents_t ext;
    cairo_text_extents(cr, text.c_str(), &ext);
    double x = cx - ext.width / 2 - ext.x_bearing;
    double y = cy - ext.height / 2 - ext.y_bearing;
    cairo_new_path(cr);
    cairo_move_to(cr, x, y);
    cairo_text_path(cr, text.c_str());
    if (outlineWidth > 0) {
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        cairo_set_line_width(cr, outlineWidth * 2);
        SetColour(cr, outline, 1.0);
        cairo_stroke_preserve(cr);
    }
    if (fill) {
        cairo_set_source(cr, fill);
    } else {
        SetColour(cr, fillColour, 1.0);
    }
    cairo_fill(cr);
    cairo_restore(cr);
}

}  // namespace assetgen
