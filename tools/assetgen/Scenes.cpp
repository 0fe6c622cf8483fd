#include "Scenes.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "Canvas.h"
#include "Interface.h"
#include "Output.h"
#include "Shapes.h"
#include "Style.h"

namespace assetgen {

namespace {

using namespace style;

struct Theme {
    Rgb skyTop, skyBottom;
    Rgb glow;          // sun or moon glow
    double glowX, glowY, glowR;
    bool night;
    Rgb layers[4];     // hills from far to near
    uint32_t seed;
};

// A rolling ridge: a sum of a few slow sines.
double Ridge(double x, double base, double amp, const double* f, const double* ph) {
    return base + amp * (0.55 * std::sin(x * f[0] + ph[0]) + 0.3 * std::sin(x * f[1] + ph[1]) +
                         0.15 * std::sin(x * f[2] + ph[2]));
}

void Hills(cairo_t* cr, double w, double h, const Theme& t, double horizon) {
    Rng rng(t.seed);
    for (int layer = 0; layer < 4; ++layer) {
        double f[3], ph[3];
        for (int i = 0; i < 3; ++i) {
            f[i] = rng.Range(0.004, 0.009) * (i + 1) * (1 + 0.25 * layer) * 800.0 / w;
            ph[i] = rng.Range(0, 2 * M_PI);
        }
        double base = horizon + (h - horizon) * (0.05 + 0.27 * layer);
        double amp = (h - horizon) * (0.35 - 0.05 * layer) + 8;
        cairo_new_path(cr);
        cairo_move_to(cr, 0, h);
        for (double x = 0; x <= w + 4; x += 4) cairo_line_to(cr, x, Ridge(x, base, amp, f, ph));
        cairo_line_to(cr, w, h);
        cairo_close_path(cr);
        Rgb c = t.layers[layer];
        cairo_pattern_t* p = cairo_pattern_create_linear(0, base - amp, 0, h);
        AddStop(p, 0, Lighten(c, 0.08));
        AddStop(p, 1, Darken(c, 0.25));
        cairo_set_source(cr, p);
        cairo_fill(cr);
        cairo_pattern_destroy(p);
        // A thin lit crest line.
        cairo_new_path(cr);
        for (double x = 0; x <= w + 4; x += 4) cairo_line_to(cr, x, Ridge(x, base, amp, f, ph) + 1);
        SetColour(cr, Lighten(c, 0.35), 0.35);
        cairo_set_line_width(cr, 1.5);
        cairo_stroke(cr);
    }
}

void Sky(cairo_t* cr, double w, double h, const Theme& t, double horizon) {
    cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, 0, horizon + (h - horizon) * 0.5);
    AddStop(p, 0, t.skyTop);
    AddStop(p, 1, t.skyBottom);
    cairo_set_source(cr, p);
    cairo_rectangle(cr, 0, 0, w, h);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    Rng rng(t.seed ^ 0x5A5A);
    if (t.night) {
        for (int i = 0; i < 90; ++i) {
            double x = rng.Range(0, w), y = rng.Range(0, horizon), r = rng.Range(0.6, 1.6);
            cairo_arc(cr, x, y, r, 0, 2 * M_PI);
            cairo_set_source_rgba(cr, 1, 1, 0.92, rng.Range(0.35, 0.9) * (1 - y / horizon * 0.7));
            cairo_fill(cr);
        }
    }
    SoftGlow(cr, t.glowX, t.glowY, t.glowR * 3.2, t.glow, 0.35);
    cairo_arc(cr, t.glowX, t.glowY, t.glowR, 0, 2 * M_PI);
    SetColour(cr, Lighten(t.glow, 0.55), 0.95);
    cairo_fill(cr);
    // Soft long clouds.
    for (int i = 0; i < 6; ++i) {
        double cx = rng.Range(0, w), cy = rng.Range(horizon * 0.15, horizon * 0.8);
        double len = rng.Range(0.15, 0.35) * w;
        cairo_save(cr);
        cairo_translate(cr, cx, cy);
        cairo_scale(cr, len, rng.Range(8, 16));
        cairo_pattern_t* g = cairo_pattern_create_radial(0, 0, 0, 0, 0, 1);
        cairo_pattern_add_color_stop_rgba(g, 0, 1, 1, 1, t.night ? 0.06 : 0.28);
        cairo_pattern_add_color_stop_rgba(g, 1, 1, 1, 1, 0);
        cairo_set_source(cr, g);
        cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
        cairo_fill(cr);
        cairo_pattern_destroy(g);
        cairo_restore(cr);
    }
}

// Floating soft lights drifting over a scene.
void Bokeh(cairo_t* cr, double w, double h, uint32_t seed, Rgb c, int count, double alpha) {
    Rng rng(seed);
    for (int i = 0; i < count; ++i) {
        double x = rng.Range(0, w), y = rng.Range(0, h), r = rng.Range(6, 22);
        SoftGlow(cr, x, y, r, c, alpha * rng.Range(0.4, 1.0));
    }
}

// Faint silhouettes of the game's pieces drifting in the sky.
void GhostShapes(cairo_t* cr, double w, double h, uint32_t seed, int count) {
    Rng rng(seed);
    for (int i = 0; i < count; ++i) {
        double x = rng.Range(0, w), y = rng.Range(0, h), s = rng.Range(0.35, 0.9);
        cairo_save(cr);
        cairo_translate(cr, x, y);
        cairo_rotate(cr, rng.Range(-0.5, 0.5));
        cairo_new_path(cr);
        FormPath(cr, static_cast<Form>(rng.Next() % 8), 0, 0, s);
        cairo_set_source_rgba(cr, 1, 1, 1, rng.Range(0.04, 0.09));
        cairo_fill_preserve(cr);
        cairo_set_source_rgba(cr, 1, 1, 1, 0.12);
        cairo_set_line_width(cr, 1.5);
        cairo_stroke(cr);
        cairo_restore(cr);
    }
}

// Adds a tiny deterministic noise so smooth gradients do not band in the JPEG files.
void Dither(cairo_surface_t* s, uint32_t seed) {
    cairo_surface_flush(s);
    int w = cairo_image_surface_get_width(s), h = cairo_image_surface_get_height(s);
    int stride = cairo_image_surface_get_stride(s);
    unsigned char* data = cairo_image_surface_get_data(s);
    Rng rng(seed);
    for (int y = 0; y < h; ++y) {
        uint32_t* row = reinterpret_cast<uint32_t*>(data + y * stride);
        for (int x = 0; x < w; ++x) {
            int n = static_cast<int>(rng.Next() % 5) - 2;
            uint32_t p = row[x];
            uint32_t out = p & 0xFF000000u;
            for (int shift = 0; shift <= 16; shift += 8) {
                int v = static_cast<int>((p >> shift) & 0xFF) + n;
                out |= static_cast<uint32_t>(std::clamp(v, 0, 255)) << shift;
            }
            row[x] = out;
        }
    }
    cairo_surface_mark_dirty(s);
}

cairo_surface_t* Landscape(int w, int h, const Theme& t, double horizon) {
    cairo_surface_t* s = NewSurface(w, h);
    cairo_t* cr = cairo_create(s);
    Sky(cr, w, h, t, horizon);
    Hills(cr, w, h, t, horizon);
    cairo_destroy(cr);
    return s;
}

const Theme kGameThemes[5] = {
    // Meadow at dawn.
    {Hex(0x9CCFD0), Hex(0xF4D9A8), Hex(0xFFE3A0), 470, 150, 34, false,
     {Hex(0x8DB9A0), Hex(0x6FA37F), Hex(0x4F8A62), Hex(0x3A714D)}, 11},
    // Lagoon.
    {Hex(0x5FA9D6), Hex(0xCFEDEE), Hex(0xFFFFFF), 220, 120, 28, false,
     {Hex(0x7FB8C9), Hex(0x4E95B0), Hex(0x2F7695), Hex(0x1F5C7A)}, 23},
    // Desert dusk.
    {Hex(0x6A5A8C), Hex(0xF3A96A), Hex(0xFFC98A), 380, 260, 40, false,
     {Hex(0xC98C6B), Hex(0xB7714F), Hex(0x9C5A40), Hex(0x7E4534)}, 37},
    // Forest night.
    {Hex(0x141C36), Hex(0x3A4C72), Hex(0xDDE6FF), 520, 110, 24, true,
     {Hex(0x3A4E6A), Hex(0x2C4257), Hex(0x213646), Hex(0x172A36)}, 41},
    // Snowfield.
    {Hex(0x8FB6D8), Hex(0xEAF3FA), Hex(0xFFFFFF), 300, 140, 30, false,
     {Hex(0xC7D9EA), Hex(0xA9C3DC), Hex(0x8CAACA), Hex(0x7491B4)}, 53},
};

cairo_surface_t* GameBackground(int index) {
    const Theme& t = kGameThemes[index];
    cairo_surface_t* s = Landscape(688, 516, t, 290);
    cairo_t* cr = cairo_create(s);
    Bokeh(cr, 688, 516, t.seed * 7, t.night ? Hex(0xBFD4FF) : Hex(0xFFF4D8), 26, t.night ? 0.25 : 0.3);
    // Calm the picture down where the board sits, so pieces and holes stay the clearest thing on screen.
    cairo_rectangle(cr, 0, 0, 688, 516);
    cairo_set_source_rgba(cr, 0.06, 0.1, 0.16, t.night ? 0.1 : 0.22);
    cairo_fill(cr);
    cairo_destroy(cr);
    Dither(s, t.seed);
    return s;
}

cairo_surface_t* MenuBackdrop() {
    Theme t{Hex(0x16304A), Hex(0x6FA7AE), Hex(0xFFD9A0), 610, 360, 30, false,
            {Hex(0x4F7F8C), Hex(0x3B6877), Hex(0x2A5262), Hex(0x1D3F4E)}, 7};
    cairo_surface_t* s = Landscape(800, 600, t, 400);
    cairo_t* cr = cairo_create(s);
    GhostShapes(cr, 800, 380, 99, 16);
    Bokeh(cr, 800, 600, 5, Hex(0xFFF0CF), 30, 0.22);
    cairo_destroy(cr);
    Dither(s, 7);
    return s;
}

cairo_surface_t* IntroPicture() {
    cairo_surface_t* s = MenuBackdrop();
    cairo_t* cr = cairo_create(s);
    SoftGlow(cr, 400, 230, 300, Hex(0x0B1A2A), 0.55);
    DrawTitle(cr, 400, 220, 150);
    // A gentle arc of pieces under the title, one of every form.
    const uint32_t colours[8] = {0xD7263D, 0xF08A24, 0xF2D13A, 0x8CC63F, 0x1FA5A5, 0x4FB3F0, 0x7B47D1, 0xF27BB0};
    for (int i = 0; i < 8; ++i) {
        double u = (i - 3.5) / 3.5;
        double x = 400 + u * 300, y = 370 + 40 * u * u;
        SoftGlow(cr, x, y + 4, 48, Hex(0x0B1A2A), 0.35);
        GlossyPiece(cr, static_cast<Form>(i), x, y, 1.15, Hex(colours[i]));
    }
    cairo_destroy(cr);
    return s;
}

// A Catmull-Rom curve through points, as a cairo path.
void SmoothPath(cairo_t* cr, const std::vector<std::pair<double, double>>& p) {
    cairo_move_to(cr, p[0].first, p[0].second);
    for (size_t i = 0; i + 1 < p.size(); ++i) {
        auto p0 = p[i == 0 ? 0 : i - 1], p1 = p[i], p2 = p[i + 1], p3 = p[std::min(i + 2, p.size() - 1)];
        cairo_curve_to(cr, p1.first + (p2.first - p0.first) / 6, p1.second + (p2.second - p0.second) / 6,
                       p2.first - (p3.first - p1.first) / 6, p2.second - (p3.second - p1.second) / 6, p2.first,
                       p2.second);
    }
}

cairo_surface_t* StageMap() {
    const int w = 800, h = 600;
    cairo_surface_t* s = NewSurface(w, h);
    cairo_t* cr = cairo_create(s);
    // Land seen from above: meadow greens under an evening light.
    cairo_pattern_t* p = cairo_pattern_create_radial(380, 300, 50, 400, 320, 560);
    AddStop(p, 0, Hex(0x6E9E6A));
    AddStop(p, 1, Hex(0x2D5A4E));
    cairo_set_source(cr, p);
    cairo_paint(cr);
    cairo_pattern_destroy(p);
    Rng rng(321);
    // Soft patches of lighter and darker grass.
    for (int i = 0; i < 40; ++i) {
        SoftGlow(cr, rng.Range(0, w), rng.Range(0, h), rng.Range(40, 110),
                 (i % 2) ? Hex(0x9CC27E) : Hex(0x24483E), 0.18);
    }
    // A lake and a river.
    cairo_save(cr);
    cairo_translate(cr, 610, 470);
    cairo_scale(cr, 120, 55);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr);
    cairo_pattern_t* water = cairo_pattern_create_linear(0, 415, 0, 525);
    AddStop(water, 0, Hex(0x6FB7C9));
    AddStop(water, 1, Hex(0x2F7695));
    cairo_set_source(cr, water);
    cairo_fill_preserve(cr);
    SetColour(cr, Hex(0xE3D7A8), 0.8);
    cairo_set_line_width(cr, 4);
    cairo_stroke(cr);
    cairo_new_path(cr);
    SmoothPath(cr, {{800, 330}, {720, 360}, {690, 420}});
    SetColour(cr, Hex(0x4E98B2));
    cairo_set_line_width(cr, 12);
    cairo_stroke(cr);
    // Hills in the north.
    for (int i = 0; i < 9; ++i) {
        double x = 60 + i * 90 + rng.Range(-20, 20), y = 70 + rng.Range(-10, 15), r = rng.Range(40, 60);
        cairo_move_to(cr, x - r, y + r * 0.45);
        cairo_curve_to(cr, x - r * 0.5, y - r * 0.5, x + r * 0.5, y - r * 0.5, x + r, y + r * 0.45);
        cairo_close_path(cr);
        SetColour(cr, Hex(0x496F5B), 0.9);
        cairo_fill(cr);
    }
    const std::vector<std::pair<double, double>> stages = {{104, 456}, {216, 336}, {136, 198}, {296, 132},
                                                           {424, 240}, {560, 144}, {688, 252}};
    // Woods: small round trees, kept away from the path's stops and from the text bands.
    for (int i = 0; i < 140; ++i) {
        double x = rng.Range(10, 790), y = rng.Range(110, 490), r = rng.Range(7, 12);
        bool clear = true;
        for (auto& st : stages) {
            if (std::hypot(st.first - x, st.second - y) < 70) clear = false;
        }
        if (std::hypot((x - 610) / 135.0, (y - 470) / 70.0) < 1) clear = false;
        if (!clear) continue;
        cairo_arc(cr, x + 2, y + 3, r, 0, 2 * M_PI);
        cairo_set_source_rgba(cr, 0, 0, 0, 0.25);
        cairo_fill(cr);
        cairo_arc(cr, x, y, r, 0, 2 * M_PI);
        cairo_pattern_t* tp = cairo_pattern_create_radial(x - r * 0.4, y - r * 0.4, 1, x, y, r);
        AddStop(tp, 0, Hex(0x8CC27A));
        AddStop(tp, 1, Hex(0x2E6B4A));
        cairo_set_source(cr, tp);
        cairo_fill(cr);
        cairo_pattern_destroy(tp);
    }
    // The winding path through the seven stages.
    cairo_new_path(cr);
    SmoothPath(cr, stages);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    SetColour(cr, Hex(0x5B4A32), 0.6);
    cairo_set_line_width(cr, 16);
    cairo_stroke_preserve(cr);
    SetColour(cr, Hex(0xE6D3A3));
    cairo_set_line_width(cr, 11);
    cairo_stroke_preserve(cr);
    double dash[2] = {2, 14};
    cairo_set_dash(cr, dash, 2, 0);
    SetColour(cr, Hex(0xB39559));
    cairo_set_line_width(cr, 4);
    cairo_stroke(cr);
    cairo_set_dash(cr, nullptr, 0, 0);
    // A clearing under every stage button.
    for (auto& st : stages) {
        SoftGlow(cr, st.first, st.second, 70, Hex(0xF7E9B8), 0.55);
        cairo_arc(cr, st.first, st.second + 4, 46, 0, 2 * M_PI);
        cairo_set_source_rgba(cr, 0, 0, 0, 0.2);
        cairo_fill(cr);
    }
    // Calm bands at the top (title) and bottom (hint and Start button).
    cairo_pattern_t* top = cairo_pattern_create_linear(0, 0, 0, 100);
    AddStop(top, 0, Hex(0x12283A), 0.85);
    AddStop(top, 1, Hex(0x12283A), 0.0);
    cairo_set_source(cr, top);
    cairo_rectangle(cr, 0, 0, w, 100);
    cairo_fill(cr);
    cairo_pattern_destroy(top);
    cairo_pattern_t* bottom = cairo_pattern_create_linear(0, 480, 0, 600);
    AddStop(bottom, 0, Hex(0x12283A), 0.0);
    AddStop(bottom, 1, Hex(0x12283A), 0.85);
    cairo_set_source(cr, bottom);
    cairo_rectangle(cr, 0, 480, w, 120);
    cairo_fill(cr);
    cairo_pattern_destroy(bottom);
    cairo_pattern_destroy(water);
    cairo_destroy(cr);
    Dither(s, 321);
    return s;
}

// The tray the panel shapes ride on: a dark rail with a shallow socket at every resting place.
cairo_surface_t* BottomBar() {
    const int w = 800, h = 78;
    cairo_surface_t* s = NewSurface(w, h);
    cairo_t* cr = cairo_create(s);
    cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, 0, h);
    AddStop(p, 0, Hex(0x2B4A63));
    AddStop(p, 0.5, Hex(0x1D3549));
    AddStop(p, 1, Hex(0x132636));
    cairo_set_source(cr, p);
    cairo_paint(cr);
    cairo_pattern_destroy(p);
    for (double y : {6.0, 72.0}) {
        cairo_rectangle(cr, 0, y - 1, w, 2);
        SetColour(cr, Rim(), 0.35);
        cairo_fill(cr);
    }
    auto socket = [&](double x, double r) {
        cairo_arc(cr, x, 39, r, 0, 2 * M_PI);
        cairo_pattern_t* sp = cairo_pattern_create_linear(0, 39 - r, 0, 39 + r);
        AddStop(sp, 0, Hex(0x0C1824));
        AddStop(sp, 1, Hex(0x2E5068));
        cairo_set_source(cr, sp);
        cairo_fill(cr);
        cairo_pattern_destroy(sp);
        cairo_arc(cr, x, 39, r, 0, 2 * M_PI);
        SetColour(cr, Rim(), 0.25);
        cairo_set_line_width(cr, 1.5);
        cairo_stroke(cr);
    };
    for (int k = 0; k < 6; ++k) socket(240 + 95 * k, 31);
    socket(56, 33);
    cairo_destroy(cr);
    Dither(s, 77);
    return s;
}

// Frame around the board: the left panel with plates behind the values, thin edges on the other
// sides, and a clear band at the bottom where the tray and the panel shapes show through.
cairo_surface_t* StatusBorder() {
    cairo_surface_t* s = NewSurface(1024, 1024);
    cairo_t* cr = cairo_create(s);
    auto frameFill = [&]() {
        cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, 200, 600);
        AddStop(p, 0, Hex(0x2A4B66));
        AddStop(p, 1, Hex(0x18304A));
        cairo_set_source(cr, p);
        cairo_fill(cr);
        cairo_pattern_destroy(p);
    };
    // Opaque frame: everything but the board window and the tray band.
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    cairo_rectangle(cr, 0, 0, 808, 608);
    RoundedRect(cr, 200, 30, 560, 450, 14);
    cairo_rectangle(cr, 0, 510, 808, 78);
    frameFill();
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
    // Rims around the board window and along the tray band.
    RoundedRect(cr, 199, 29, 562, 452, 15);
    SetColour(cr, Rim(), 0.9);
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
    RoundedRect(cr, 194, 24, 572, 462, 19);
    SetColour(cr, Ink(), 0.8);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    for (double y : {509.0, 589.0}) {
        cairo_rectangle(cr, 0, y - 1, 808, 2);
        SetColour(cr, Rim(), 0.8);
        cairo_fill(cr);
    }
    // Left panel: a slight inner bevel line and the plates behind the values and the Menu button
    // (where menu-ingame.xml puts them, below the band that the editor's help line uses).
    cairo_rectangle(cr, 189, 30, 2, 450);
    SetColour(cr, Ink(), 0.5);
    cairo_fill(cr);
    for (double y : {114.0, 198.0, 282.0}) {
        RoundedRect(cr, 22, y - 20, 156, 40, 12);
        cairo_pattern_t* p = cairo_pattern_create_linear(0, y - 20, 0, y + 20);
        AddStop(p, 0, Hex(0x0E1D2C));
        AddStop(p, 1, Hex(0x1F3A52));
        cairo_set_source(cr, p);
        cairo_fill_preserve(cr);
        cairo_pattern_destroy(p);
        SetColour(cr, Rim(), 0.55);
        cairo_set_line_width(cr, 1.5);
        cairo_stroke(cr);
    }
    RoundedRect(cr, 14, 363 - 20, 172, 40, 14);
    SetColour(cr, Hex(0x0E1D2C), 0.8);
    cairo_fill_preserve(cr);
    SetColour(cr, Rim(), 0.4);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    RoundedRect(cr, 14, 444 - 26, 172, 52, 22);
    SetColour(cr, Hex(0x0E1D2C), 0.6);
    cairo_fill(cr);
    // Small jewels in the corners of the board window.
    for (double x : {200.0, 760.0}) {
        for (double y : {30.0, 480.0}) {
            RegularPolygon(cr, x, y, 7, 4, 0);
            SetColour(cr, Gold());
            cairo_fill_preserve(cr);
            SetColour(cr, Ink(), 0.8);
            cairo_set_line_width(cr, 1);
            cairo_stroke(cr);
        }
    }
    cairo_destroy(cr);
    return s;
}

// A line strip: a translucent tinted column with a slow ripple pattern that repeats every 128 pixels
// (so the 512-pixel strip tiles vertically), fading out at the left and right edges.
cairo_surface_t* LineStrip(int index) {
    const Rgb tints[6] = {Hex(0x6FD3C8), Hex(0x7DB4F0), Hex(0xA992E8), Hex(0xF09BC2), Hex(0xF5C46E), Hex(0x9BD77E)};
    const int w = 96, h = 512;
    cairo_surface_t* s = NewSurface(w, h);
    cairo_surface_flush(s);
    int stride = cairo_image_surface_get_stride(s);
    unsigned char* data = cairo_image_surface_get_data(s);
    Rgb t = tints[index];
    for (int y = 0; y < h; ++y) {
        uint32_t* row = reinterpret_cast<uint32_t*>(data + y * stride);
        for (int x = 0; x < w; ++x) {
            double u = (x + 0.5) / w;
            double edge = std::min(u, 1 - u) * w;                  // pixels from the nearer edge
            double fade = std::clamp((edge - 1.0) / 9.0, 0.0, 1.0);
            fade = fade * fade * (3 - 2 * fade);
            double d = std::fabs(u - 0.5);
            double ripple = std::sin(2 * M_PI * (y / 128.0 + d * 1.2));
            double ripple2 = std::sin(2 * M_PI * (y / 64.0 - d * 0.8));
            double alpha = fade * (0.5 + 0.06 * ripple + 0.03 * ripple2);
            double light = 0.12 * ripple + 0.06 * ripple2;
            // Thin rails just inside each edge.
            double rail = std::exp(-std::pow((edge - 7.0) / 1.4, 2));
            alpha = std::min(1.0, alpha + 0.3 * rail * fade);
            Rgb c = Mix(Darken(t, 0.35), Lighten(t, 0.3), 0.5 + light);
            c = Mix(c, Lighten(t, 0.7), rail);
            auto ch = [&](double v) { return static_cast<uint32_t>(std::lround(std::clamp(v, 0.0, 1.0) * alpha * 255)); };
            uint32_t a = static_cast<uint32_t>(std::lround(alpha * 255));
            row[x] = (a << 24) | (ch(c.r) << 16) | (ch(c.g) << 8) | ch(c.b);
        }
    }
    cairo_surface_mark_dirty(s);
    return s;
}

}  // namespace

void MakeScenes(Output& out) {
    out.Picture("Graphics\\intro.jpg", IntroPicture());
    out.Picture("Graphics\\back_menu.jpg", MenuBackdrop());
    for (int i = 0; i < 5; ++i) {
        out.Picture("Graphics\\back_game0" + std::to_string(i + 1) + ".jpg", GameBackground(i));
    }
    out.Picture("Graphics\\map.jpg", StageMap());
    out.Picture("Graphics\\am_bottom_bar.jpg", BottomBar());
    out.Picture("Graphics\\status-border.png", StatusBorder());
    for (int i = 0; i < 6; ++i) {
        out.Picture("Graphics\\line" + std::to_string(i + 1) + ".png", LineStrip(i));
    }
}

}  // namespace assetgen
