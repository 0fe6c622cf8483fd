#include "Canvas.h"

#include <algorithm>
#include <cmath>

namespace assetgen {

Rgb Hex(uint32_t rgb) {
    return {((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0};
}

Rgb Mix(Rgb a, Rgb b, double t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Rgb Lighten(Rgb c, double t) { return Mix(c, {1, 1, 1}, t); }
Rgb Darken(Rgb c, double t) { return Mix(c, {0, 0, 0}, t); }

Rgb Desaturate(Rgb c, double t) {
    double grey = 0.3 * c.r + 0.59 * c.g + 0.11 * c.b;
    return Mix(c, {grey, grey, grey}, t);
}

void SetColour(cairo_t* cr, Rgb c, double alpha) { cairo_set_source_rgba(cr, c.r, c.g, c.b, alpha); }

void AddStop(cairo_pattern_t* p, double offset, Rgb c, double alpha) {
    cairo_pattern_add_color_stop_rgba(p, offset, c.r, c.g, c.b, alpha);
}

void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double r) {
    r = std::min(r, std::min(w, h) / 2);
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
    cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
    cairo_arc(cr, x + r, y + r, r, M_PI, 1.5 * M_PI);
    cairo_close_path(cr);
}

void RegularPolygon(cairo_t* cr, double cx, double cy, double radius, int sides, double rotation) {
    cairo_new_sub_path(cr);
    for (int i = 0; i < sides; ++i) {
        double a = rotation + 2 * M_PI * i / sides;
        cairo_line_to(cr, cx + radius * std::cos(a), cy + radius * std::sin(a));
    }
    cairo_close_path(cr);
}

void StarPath(cairo_t* cr, double cx, double cy, double outer, double inner, int points, double rotation) {
    cairo_new_sub_path(cr);
    for (int i = 0; i < 2 * points; ++i) {
        double a = rotation + M_PI * i / points;
        double r = (i % 2 == 0) ? outer : inner;
        cairo_line_to(cr, cx + r * std::cos(a), cy + r * std::sin(a));
    }
    cairo_close_path(cr);
}

void SoftGlow(cairo_t* cr, double cx, double cy, double radius, Rgb c, double alpha) {
    cairo_pattern_t* p = cairo_pattern_create_radial(cx, cy, 0, cx, cy, radius);
    AddStop(p, 0, c, alpha);
    AddStop(p, 0.4, c, alpha * 0.45);
    AddStop(p, 1, c, 0);
    cairo_set_source(cr, p);
    cairo_arc(cr, cx, cy, radius, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
}

void VerticalGradient(cairo_t* cr, double w, double h, Rgb top, Rgb bottom) {
    cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, 0, h);
    AddStop(p, 0, top);
    AddStop(p, 1, bottom);
    cairo_set_source(cr, p);
    cairo_rectangle(cr, 0, 0, w, h);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
}

cairo_surface_t* NewSurface(int w, int h) { return cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h); }

}  // namespace assetgen
