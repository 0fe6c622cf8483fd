#include "Shapes.h"

#include <cctype>
#include <cmath>
#include <vector>

#include "Output.h"

namespace assetgen {

namespace {

struct ShapeClassLook {
    const char* name;
    uint32_t colour;
};

// File order is a rainbow, so the game-complete grid of classes 0 to 14 sweeps through the spectrum.
const ShapeClassLook kClasses[16] = {
    {"Ruby", 0xD7263D},  {"Amber", 0xF08A24}, {"Lemon", 0xF2D13A}, {"Lime", 0x8CC63F},
    {"Jade", 0x2E9E5B},  {"Teal", 0x1FA5A5},  {"Sky", 0x4FB3F0},   {"Cobalt", 0x2D4FCF},
    {"Violet", 0x7B47D1}, {"Plum", 0x9C2F7A}, {"Rose", 0xF27BB0},  {"Coral", 0xFF7F6B},
    {"Sand", 0xD9B77E},  {"Cocoa", 0x7A4E2D}, {"Slate", 0x6B7A8F}, {"Pearl", 0xE8E8EE},
};

struct Pt {
    double x, y;
};

// A closed polygon whose corners are rounded off by r pixels.
void RoundedPolygon(cairo_t* cr, const std::vector<Pt>& pts, double r) {
    size_t n = pts.size();
    cairo_new_sub_path(cr);
    for (size_t i = 0; i < n; ++i) {
        Pt v = pts[i], a = pts[(i + n - 1) % n], b = pts[(i + 1) % n];
        double la = std::hypot(a.x - v.x, a.y - v.y), lb = std::hypot(b.x - v.x, b.y - v.y);
        double d = std::min(r, 0.45 * std::min(la, lb));
        Pt p1{v.x + (a.x - v.x) / la * d, v.y + (a.y - v.y) / la * d};
        Pt p2{v.x + (b.x - v.x) / lb * d, v.y + (b.y - v.y) / lb * d};
        cairo_line_to(cr, p1.x, p1.y);
        cairo_curve_to(cr, p1.x + 0.55 * (v.x - p1.x), p1.y + 0.55 * (v.y - p1.y), p2.x + 0.55 * (v.x - p2.x),
                       p2.y + 0.55 * (v.y - p2.y), p2.x, p2.y);
    }
    cairo_close_path(cr);
}

std::vector<Pt> Place(std::vector<Pt> pts, double cx, double cy, double s) {
    for (Pt& p : pts) p = {cx + p.x * s, cy + p.y * s};
    return pts;
}

// Emblems tell the classes apart without relying on colour.
void EmblemPath(cairo_t* cr, int kind, double cx, double cy, double s, bool& stroke) {
    stroke = false;
    double e = 8 * s;
    switch (kind) {
        case 0:  // dot
            cairo_arc(cr, cx, cy, 0.62 * e, 0, 2 * M_PI);
            break;
        case 1:  // ring
            cairo_arc(cr, cx, cy, 0.75 * e, 0, 2 * M_PI);
            stroke = true;
            break;
        case 2:  // bar
            RoundedRect(cr, cx - e, cy - 0.32 * e, 2 * e, 0.64 * e, 0.3 * e);
            break;
        case 3:  // chevron
            cairo_move_to(cr, cx - 0.85 * e, cy + 0.45 * e);
            cairo_line_to(cr, cx, cy - 0.45 * e);
            cairo_line_to(cr, cx + 0.85 * e, cy + 0.45 * e);
            stroke = true;
            break;
        case 4:  // plus
            cairo_move_to(cr, cx - 0.8 * e, cy);
            cairo_line_to(cr, cx + 0.8 * e, cy);
            cairo_move_to(cr, cx, cy - 0.8 * e);
            cairo_line_to(cr, cx, cy + 0.8 * e);
            stroke = true;
            break;
        case 5:  // two dots
            cairo_arc(cr, cx - 0.55 * e, cy, 0.38 * e, 0, 2 * M_PI);
            cairo_new_sub_path(cr);
            cairo_arc(cr, cx + 0.55 * e, cy, 0.38 * e, 0, 2 * M_PI);
            break;
        case 6:  // small triangle
            RegularPolygon(cr, cx, cy + 0.15 * e, 0.8 * e, 3, -M_PI / 2);
            break;
        case 7:  // x
            cairo_move_to(cr, cx - 0.6 * e, cy - 0.6 * e);
            cairo_line_to(cr, cx + 0.6 * e, cy + 0.6 * e);
            cairo_move_to(cr, cx + 0.6 * e, cy - 0.6 * e);
            cairo_line_to(cr, cx - 0.6 * e, cy + 0.6 * e);
            stroke = true;
            break;
        case 8:  // three dots
            for (int i = 0; i < 3; ++i) {
                double a = -M_PI / 2 + i * 2 * M_PI / 3;
                cairo_new_sub_path(cr);
                cairo_arc(cr, cx + 0.6 * e * std::cos(a), cy + 0.6 * e * std::sin(a), 0.3 * e, 0, 2 * M_PI);
            }
            break;
        case 9:  // small square
            RoundedRect(cr, cx - 0.6 * e, cy - 0.6 * e, 1.2 * e, 1.2 * e, 0.2 * e);
            break;
        case 10:  // small diamond
            RegularPolygon(cr, cx, cy, 0.85 * e, 4, -M_PI / 2);
            break;
        case 11:  // wave
            cairo_move_to(cr, cx - 0.95 * e, cy + 0.1 * e);
            cairo_curve_to(cr, cx - 0.5 * e, cy - 0.8 * e, cx - 0.1 * e, cy - 0.2 * e, cx, cy);
            cairo_curve_to(cr, cx + 0.1 * e, cy + 0.2 * e, cx + 0.5 * e, cy + 0.8 * e, cx + 0.95 * e, cy - 0.1 * e);
            stroke = true;
            break;
        case 12:  // crescent
            cairo_arc(cr, cx, cy, 0.8 * e, 0.5 * M_PI, 1.5 * M_PI);
            cairo_arc_negative(cr, cx + 0.15 * e, cy, 0.55 * e, 1.5 * M_PI, 0.5 * M_PI);
            cairo_close_path(cr);
            break;
        case 13:  // small star
            StarPath(cr, cx, cy + 0.05 * e, 0.95 * e, 0.42 * e, 5, -M_PI / 2);
            break;
        case 14:  // double bar
            RoundedRect(cr, cx - 0.9 * e, cy - 0.6 * e, 1.8 * e, 0.4 * e, 0.2 * e);
            RoundedRect(cr, cx - 0.9 * e, cy + 0.2 * e, 1.8 * e, 0.4 * e, 0.2 * e);
            break;
        default:  // spark: a four-pointed star
            StarPath(cr, cx, cy, 0.95 * e, 0.3 * e, 4, -M_PI / 2);
            break;
    }
}

void DrawEmblem(cairo_t* cr, int kind, double cx, double cy, double s, Rgb ink, double inkAlpha, Rgb edge,
                double edgeAlpha) {
    bool stroke = false;
    cairo_save(cr);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_new_path(cr);
    EmblemPath(cr, kind, cx, cy, s, stroke);
    double w = 2.6 * s;
    if (edgeAlpha > 0) {
        SetColour(cr, edge, edgeAlpha);
        cairo_set_line_width(cr, stroke ? w + 2.2 * s : 2.2 * s);
        cairo_stroke_preserve(cr);
    }
    SetColour(cr, ink, inkAlpha);
    if (stroke) {
        cairo_set_line_width(cr, w);
        cairo_stroke(cr);
    } else {
        cairo_fill(cr);
    }
    cairo_restore(cr);
}

// Where the emblem sits inside a form: lower in the triangle and the star, whose middle is lower.
double EmblemDy(Form form) { return form == Form::Triangle ? 5 : (form == Form::Star ? 2 : 0); }

double Luma(Rgb c) { return 0.3 * c.r + 0.59 * c.g + 0.11 * c.b; }

// Shades the inside edges of the current path: the area of the path not covered by the path moved by
// (dx, dy) gets the colour. Used for bevels and for the recess of a hole.
void InnerEdge(cairo_t* cr, Form form, double cx, double cy, double s, double dx, double dy, Rgb c,
               double alpha) {
    cairo_save(cr);
    cairo_new_path(cr);
    FormPath(cr, form, cx, cy, s);
    cairo_clip(cr);
    cairo_new_path(cr);
    cairo_rectangle(cr, cx - 64 * s, cy - 64 * s, 128 * s, 128 * s);
    FormPath(cr, form, cx + dx, cy + dy, s);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    SetColour(cr, c, alpha);
    cairo_fill(cr);
    cairo_restore(cr);
}

void Hole(cairo_t* cr, Form form, double cx, double cy, double s, Rgb c, int emblem) {
    Rgb base = Darken(Desaturate(c, 0.25), 0.5);
    cairo_new_path(cr);
    FormPath(cr, form, cx, cy, s);
    cairo_pattern_t* p = cairo_pattern_create_linear(cx, cy - 30 * s, cx, cy + 30 * s);
    AddStop(p, 0, Darken(base, 0.35));
    AddStop(p, 1, Lighten(base, 0.08));
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    // Shadow cast by the upper rim, then a lit lower rim: the hole reads as sunk into the board.
    InnerEdge(cr, form, cx, cy, s, 2.5 * s, 3.5 * s, {0, 0, 0}, 0.35);
    InnerEdge(cr, form, cx, cy, s, 5 * s, 7 * s, {0, 0, 0}, 0.25);
    InnerEdge(cr, form, cx, cy, s, -1.5 * s, -2 * s, Lighten(c, 0.3), 0.55);
    double ey = cy + EmblemDy(form) * s;
    DrawEmblem(cr, emblem, cx + 0.8 * s, ey + 1.2 * s, s, Lighten(c, 0.35), 0.6, {0, 0, 0}, 0);
    DrawEmblem(cr, emblem, cx, ey, s, Darken(c, 0.75), 0.9, {0, 0, 0}, 0);
    cairo_new_path(cr);
    FormPath(cr, form, cx, cy, s);
    SetColour(cr, c, 1.0);
    cairo_set_line_width(cr, 2.2 * s);
    cairo_stroke(cr);
}

}  // namespace

void FormPath(cairo_t* cr, Form form, double cx, double cy, double s) {
    switch (form) {
        case Form::Circle:
            cairo_new_sub_path(cr);
            cairo_arc(cr, cx, cy, 27 * s, 0, 2 * M_PI);
            cairo_close_path(cr);
            break;
        case Form::Square:
            RoundedRect(cr, cx - 25 * s, cy - 25 * s, 50 * s, 50 * s, 9 * s);
            break;
        case Form::Triangle: {
            std::vector<Pt> pts;
            for (int i = 0; i < 3; ++i) {
                double a = -M_PI / 2 + i * 2 * M_PI / 3;
                pts.push_back({33 * std::cos(a), 7.5 + 33 * std::sin(a)});
            }
            RoundedPolygon(cr, Place(pts, cx, cy, s), 7 * s);
            break;
        }
        case Form::Diamond:
            RoundedPolygon(cr, Place({{0, -30}, {25, 0}, {0, 30}, {-25, 0}}, cx, cy, s), 5 * s);
            break;
        case Form::Hexagon: {
            std::vector<Pt> pts;
            for (int i = 0; i < 6; ++i) {
                double a = i * M_PI / 3;
                pts.push_back({29 * std::cos(a), 29 * std::sin(a)});
            }
            RoundedPolygon(cr, Place(pts, cx, cy, s), 5 * s);
            break;
        }
        case Form::Star: {
            std::vector<Pt> pts;
            for (int i = 0; i < 10; ++i) {
                double a = -M_PI / 2 + i * M_PI / 5;
                double r = (i % 2 == 0) ? 30 : 14;
                pts.push_back({r * std::cos(a), 2.5 + r * std::sin(a)});
            }
            RoundedPolygon(cr, Place(pts, cx, cy, s), 3 * s);
            break;
        }
        case Form::Heart: {
            auto P = [&](double x, double y) { return Pt{cx + x * s, cy + y * s}; };
            Pt a = P(0, 27);
            cairo_new_sub_path(cr);
            cairo_move_to(cr, a.x, a.y);
            Pt c1 = P(-10, 19), c2 = P(-29, 7), e1 = P(-29, -8);
            cairo_curve_to(cr, c1.x, c1.y, c2.x, c2.y, e1.x, e1.y);
            Pt c3 = P(-29, -20), c4 = P(-20, -26), e2 = P(-13.5, -26);
            cairo_curve_to(cr, c3.x, c3.y, c4.x, c4.y, e2.x, e2.y);
            Pt c5 = P(-6, -26), c6 = P(-1, -21), e3 = P(0, -15);
            cairo_curve_to(cr, c5.x, c5.y, c6.x, c6.y, e3.x, e3.y);
            Pt c7 = P(1, -21), c8 = P(6, -26), e4 = P(13.5, -26);
            cairo_curve_to(cr, c7.x, c7.y, c8.x, c8.y, e4.x, e4.y);
            Pt c9 = P(20, -26), c10 = P(29, -20), e5 = P(29, -8);
            cairo_curve_to(cr, c9.x, c9.y, c10.x, c10.y, e5.x, e5.y);
            Pt c11 = P(29, 7), c12 = P(10, 19);
            cairo_curve_to(cr, c11.x, c11.y, c12.x, c12.y, a.x, a.y);
            cairo_close_path(cr);
            break;
        }
        case Form::Cross:
            RoundedPolygon(cr,
                           Place({{-10, -28}, {10, -28}, {10, -10}, {28, -10}, {28, 10}, {10, 10}, {10, 28},
                                  {-10, 28}, {-10, 10}, {-28, 10}, {-28, -10}, {-10, -10}},
                                 cx, cy, s),
                           4 * s);
            break;
    }
}

void GlossyPiece(cairo_t* cr, Form form, double cx, double cy, double s, Rgb c) {
    cairo_new_path(cr);
    FormPath(cr, form, cx, cy, s);
    cairo_pattern_t* p = cairo_pattern_create_radial(cx - 9 * s, cy - 11 * s, 2 * s, cx, cy, 40 * s);
    AddStop(p, 0, Lighten(c, 0.45));
    AddStop(p, 0.45, c);
    AddStop(p, 1, Darken(c, 0.4));
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    // Bevel: light on the upper-left inside edge, shade on the lower-right one.
    InnerEdge(cr, form, cx, cy, s, 2.5 * s, 2.5 * s, {1, 1, 1}, 0.28);
    InnerEdge(cr, form, cx, cy, s, -3 * s, -3.5 * s, {0, 0, 0}, 0.22);
    // Gloss: a soft white sheen across the top.
    cairo_save(cr);
    cairo_new_path(cr);
    FormPath(cr, form, cx, cy, s);
    cairo_clip(cr);
    cairo_new_path(cr);
    cairo_save(cr);
    cairo_translate(cr, cx - 3 * s, cy - 15 * s);
    cairo_scale(cr, 22 * s, 12 * s);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr);
    cairo_pattern_t* g = cairo_pattern_create_linear(cx, cy - 27 * s, cx, cy - 3 * s);
    cairo_pattern_add_color_stop_rgba(g, 0, 1, 1, 1, 0.62);
    cairo_pattern_add_color_stop_rgba(g, 1, 1, 1, 1, 0.04);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    cairo_restore(cr);
    cairo_new_path(cr);
    FormPath(cr, form, cx, cy, s);
    SetColour(cr, Darken(c, 0.55), 1.0);
    cairo_set_line_width(cr, 2 * s);
    cairo_stroke(cr);
}

void MakeShapes(Output& out) {
    for (int k = 0; k < 16; ++k) {
        Rgb c = Hex(kClasses[k].colour);
        int f0 = k < 8 ? k : (k + 4) % 8;
        std::string lower = kClasses[k].name;
        for (char& ch : lower) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
        bool light = Luma(c) > 0.62;
        Rgb ink = light ? Darken(c, 0.72) : Hex(0xFFFBF0);
        Rgb edge = light ? Lighten(c, 0.6) : Darken(c, 0.6);
        for (int j = 0; j < 4; ++j) {
            Form form = static_cast<Form>((f0 + j) % 8);
            std::string base = "Graphics\\Shapes\\" + lower + "_" + std::to_string(j);
            cairo_surface_t* main = NewSurface(64, 64);
            cairo_t* cr = cairo_create(main);
            GlossyPiece(cr, form, 32, 32, 1.0, c);
            DrawEmblem(cr, k, 32, 32 + EmblemDy(form), 1.0, ink, 0.95, edge, 0.55);
            cairo_destroy(cr);
            out.Picture(base + ".png", main);

            cairo_surface_t* hole = NewSurface(64, 64);
            cr = cairo_create(hole);
            Hole(cr, form, 32, 32, 1.0, c, k);
            cairo_destroy(cr);
            out.Picture(base + "_hole.png", hole);
        }
    }
}

}  // namespace assetgen
