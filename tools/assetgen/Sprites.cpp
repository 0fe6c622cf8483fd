#include "Sprites.h"

#include <cmath>
#include <string>

#include "Canvas.h"
#include "Output.h"
#include "Shapes.h"
#include "Style.h"
#include "Text.h"

namespace assetgen {

namespace {

using namespace style;

// Wildcard: a rainbow orb with a question mark.
cairo_surface_t* BonusWild() {
    cairo_surface_t* s = NewSurface(64, 64);
    cairo_t* cr = cairo_create(s);
    cairo_arc(cr, 32, 32, 27, 0, 2 * M_PI);
    cairo_pattern_t* rainbow = cairo_pattern_create_linear(8, 8, 56, 56);
    const uint32_t hues[6] = {0xE8414F, 0xF39A2C, 0xF2D13A, 0x59C263, 0x3F9BE6, 0x8E5BD8};
    for (int i = 0; i < 6; ++i) AddStop(rainbow, i / 5.0, Hex(hues[i]));
    cairo_set_source(cr, rainbow);
    cairo_fill(cr);
    cairo_pattern_destroy(rainbow);
    cairo_arc(cr, 32, 32, 27, 0, 2 * M_PI);
    cairo_pattern_t* shade = cairo_pattern_create_radial(24, 22, 2, 32, 32, 30);
    cairo_pattern_add_color_stop_rgba(shade, 0, 1, 1, 1, 0.45);
    cairo_pattern_add_color_stop_rgba(shade, 0.5, 1, 1, 1, 0.0);
    cairo_pattern_add_color_stop_rgba(shade, 1, 0, 0, 0, 0.35);
    cairo_set_source(cr, shade);
    cairo_fill(cr);
    cairo_pattern_destroy(shade);
    OutlinedText(cr, "?", 38, 32, 33, Cream(), nullptr, Ink(), 2.5);
    cairo_arc(cr, 32, 32, 27, 0, 2 * M_PI);
    SetColour(cr, Cream(), 0.9);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    cairo_destroy(cr);
    return s;
}

// Band: a glossy capsule with a vertical double arrow.
cairo_surface_t* BonusBand() {
    cairo_surface_t* s = NewSurface(64, 64);
    cairo_t* cr = cairo_create(s);
    RoundedRect(cr, 14, 3, 36, 58, 18);
    cairo_pattern_t* p = cairo_pattern_create_linear(14, 0, 50, 0);
    AddStop(p, 0, Hex(0x7FE0D2));
    AddStop(p, 0.5, Hex(0x2FA7A0));
    AddStop(p, 1, Hex(0x17696A));
    cairo_set_source(cr, p);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(p);
    SetColour(cr, Cream(), 0.95);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    cairo_new_path(cr);
    cairo_move_to(cr, 32, 9);
    cairo_line_to(cr, 43, 21);
    cairo_line_to(cr, 36, 21);
    cairo_line_to(cr, 36, 43);
    cairo_line_to(cr, 43, 43);
    cairo_line_to(cr, 32, 55);
    cairo_line_to(cr, 21, 43);
    cairo_line_to(cr, 28, 43);
    cairo_line_to(cr, 28, 21);
    cairo_line_to(cr, 21, 21);
    cairo_close_path(cr);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    SetColour(cr, Ink(), 0.85);
    cairo_set_line_width(cr, 3);
    cairo_stroke_preserve(cr);
    SetColour(cr, Cream());
    cairo_fill(cr);
    RoundedRect(cr, 19, 6, 12, 52, 6);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.18);
    cairo_fill(cr);
    cairo_destroy(cr);
    return s;
}

// Area: a warm burst.
cairo_surface_t* BonusArea() {
    cairo_surface_t* s = NewSurface(64, 64);
    cairo_t* cr = cairo_create(s);
    StarPath(cr, 32, 32, 30, 19, 12, -M_PI / 2);
    cairo_pattern_t* p = cairo_pattern_create_radial(28, 26, 2, 32, 32, 30);
    AddStop(p, 0, Hex(0xFFF3B0));
    AddStop(p, 0.5, Hex(0xF5A03A));
    AddStop(p, 1, Hex(0xD2452E));
    cairo_set_source(cr, p);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(p);
    SetColour(cr, Darken(Hex(0xD2452E), 0.4));
    cairo_set_line_width(cr, 1.5);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke(cr);
    // Six small dots around a centre dot: the hole and its six neighbours.
    for (int i = 0; i < 7; ++i) {
        double a = i * M_PI / 3, r = i == 6 ? 0 : 10;
        cairo_arc(cr, 32 + r * std::cos(a), 32 + r * std::sin(a), i == 6 ? 5 : 3.5, 0, 2 * M_PI);
        SetColour(cr, Cream());
        cairo_fill_preserve(cr);
        SetColour(cr, Ink(), 0.6);
        cairo_set_line_width(cr, 1);
        cairo_stroke(cr);
    }
    cairo_destroy(cr);
    return s;
}

// Digits 0-9 in ten 51.2-pixel slots; ink at most 38 pixels wide so neighbours at 0.75 spacing only touch.
cairo_surface_t* Digits() {
    cairo_surface_t* s = NewSurface(512, 64);
    cairo_t* cr = cairo_create(s);
    cairo_pattern_t* fill = cairo_pattern_create_linear(0, 8, 0, 56);
    AddStop(fill, 0, Hex(0xFFF3C4));
    AddStop(fill, 0.55, Hex(0xF6C452));
    AddStop(fill, 1, Hex(0xCF8526));
    for (int d = 0; d < 10; ++d) {
        std::string text(1, static_cast<char>('0' + d));
        double cx = 51.2 * d + 25.6;
        cairo_save(cr);
        cairo_rectangle(cr, 51.2 * d + 6.6, 0, 38, 64);
        cairo_clip(cr);
        OutlinedText(cr, text, 54, cx, 32, {0, 0, 0}, fill, Ink(), 3);
        cairo_restore(cr);
    }
    cairo_pattern_destroy(fill);
    cairo_destroy(cr);
    return s;
}

cairo_surface_t* GlowSpark(int size, Rgb c, int rays) {
    cairo_surface_t* s = NewSurface(size, size);
    cairo_t* cr = cairo_create(s);
    double m = size / 2.0;
    SoftGlow(cr, m, m, m - 1, c, 0.9);
    if (rays > 0) {
        StarPath(cr, m, m, m * 0.9, m * 0.12, rays, -M_PI / 2);
        cairo_pattern_t* p = cairo_pattern_create_radial(m, m, 0, m, m, m * 0.9);
        AddStop(p, 0, {1, 1, 1}, 1.0);
        AddStop(p, 1, Lighten(c, 0.5), 0.0);
        cairo_set_source(cr, p);
        cairo_fill(cr);
        cairo_pattern_destroy(p);
    }
    SoftGlow(cr, m, m, m * 0.3, {1, 1, 1}, 0.9);
    cairo_destroy(cr);
    return s;
}

void GoldStar(cairo_t* cr, double cx, double cy, double r, double rotation) {
    StarPath(cr, cx, cy, r, r * 0.45, 5, rotation);
    cairo_pattern_t* p = cairo_pattern_create_radial(cx - r * 0.3, cy - r * 0.3, 0, cx, cy, r);
    AddStop(p, 0, Hex(0xFFF6C8));
    AddStop(p, 0.6, Hex(0xF5C04A));
    AddStop(p, 1, Hex(0xD08A22));
    cairo_set_source(cr, p);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(p);
    SetColour(cr, Hex(0x8A5412), 0.9);
    cairo_set_line_width(cr, std::max(1.0, r * 0.07));
    cairo_stroke(cr);
}

// Eight frames of a gold star turning through one 72-degree step (so the loop is seamless).
cairo_surface_t* StarRotation() {
    cairo_surface_t* s = NewSurface(512, 64);
    cairo_t* cr = cairo_create(s);
    for (int f = 0; f < 8; ++f) {
        double cx = 64 * f + 32;
        SoftGlow(cr, cx, 32, 31, Hex(0xFFE39A), 0.45);
        GoldStar(cr, cx, 33, 24, -M_PI / 2 + f * (2 * M_PI / 5) / 8);
    }
    cairo_destroy(cr);
    return s;
}

cairo_surface_t* EffectStar() {
    cairo_surface_t* s = NewSurface(32, 32);
    cairo_t* cr = cairo_create(s);
    SoftGlow(cr, 16, 16, 15, Hex(0xFFE39A), 0.6);
    StarPath(cr, 16, 16, 14, 3.5, 4, -M_PI / 2);
    cairo_set_source_rgba(cr, 1, 0.95, 0.75, 1);
    cairo_fill(cr);
    GoldStar(cr, 16, 16.5, 8, -M_PI / 2);
    cairo_destroy(cr);
    return s;
}

// A "pop" burst: a ring of soft petals around a bright centre.
cairo_surface_t* EffectChomp() {
    cairo_surface_t* s = NewSurface(64, 64);
    cairo_t* cr = cairo_create(s);
    SoftGlow(cr, 32, 32, 31, Hex(0xFFD27A), 0.5);
    for (int i = 0; i < 8; ++i) {
        double a = i * M_PI / 4;
        cairo_save(cr);
        cairo_translate(cr, 32 + 17 * std::cos(a), 32 + 17 * std::sin(a));
        cairo_rotate(cr, a);
        cairo_scale(cr, 10, 5);
        cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
        cairo_restore(cr);
        SetColour(cr, i % 2 ? Hex(0xFFF0C0) : Hex(0xF7B548), 0.95);
        cairo_fill(cr);
    }
    cairo_arc(cr, 32, 32, 8, 0, 2 * M_PI);
    SetColour(cr, Cream());
    cairo_fill(cr);
    cairo_destroy(cr);
    return s;
}

// A locked stage: a grey medallion with a padlock, the same size as the stage button.
cairo_surface_t* LockedStage() {
    cairo_surface_t* s = NewSurface(80, 80);
    cairo_t* cr = cairo_create(s);
    cairo_arc(cr, 40, 41.5, 37, 0, 2 * M_PI);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.35);
    cairo_fill(cr);
    cairo_arc(cr, 40, 40, 37, 0, 2 * M_PI);
    cairo_pattern_t* p = cairo_pattern_create_linear(0, 3, 0, 77);
    AddStop(p, 0, Hex(0xB9BEC4));
    AddStop(p, 1, Hex(0x6E747B));
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    cairo_arc(cr, 40, 40, 31, 0, 2 * M_PI);
    cairo_pattern_t* q = cairo_pattern_create_radial(32, 30, 3, 40, 40, 34);
    AddStop(q, 0, Hex(0x8D949C));
    AddStop(q, 1, Hex(0x4E545B));
    cairo_set_source(cr, q);
    cairo_fill(cr);
    cairo_pattern_destroy(q);
    // Padlock.
    cairo_new_path(cr);
    cairo_arc(cr, 40, 35, 9, M_PI, 2 * M_PI);
    cairo_set_line_width(cr, 4.5);
    SetColour(cr, Hex(0x2E3338));
    cairo_stroke(cr);
    RoundedRect(cr, 28, 35, 24, 19, 4);
    SetColour(cr, Hex(0xD9DCDF));
    cairo_fill_preserve(cr);
    SetColour(cr, Hex(0x2E3338));
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    cairo_arc(cr, 40, 43, 2.6, 0, 2 * M_PI);
    cairo_rectangle(cr, 39, 44, 2, 5);
    SetColour(cr, Hex(0x2E3338));
    cairo_fill(cr);
    cairo_destroy(cr);
    return s;
}

// The tutorial arrow, pointing down.
cairo_surface_t* Arrow() {
    cairo_surface_t* s = NewSurface(64, 64);
    cairo_t* cr = cairo_create(s);
    cairo_new_path(cr);
    cairo_move_to(cr, 32, 60);
    cairo_line_to(cr, 56, 34);
    cairo_line_to(cr, 42, 34);
    cairo_line_to(cr, 42, 5);
    cairo_line_to(cr, 22, 5);
    cairo_line_to(cr, 22, 34);
    cairo_line_to(cr, 8, 34);
    cairo_close_path(cr);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    SetColour(cr, Ink(), 0.9);
    cairo_set_line_width(cr, 5);
    cairo_stroke_preserve(cr);
    cairo_pattern_t* p = cairo_pattern_create_linear(0, 5, 0, 60);
    AddStop(p, 0, Hex(0xFFF3C4));
    AddStop(p, 1, Hex(0xF2A93B));
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    cairo_destroy(cr);
    return s;
}

// One butterfly frame in a 48-pixel cell, facing right; phase 0..1 of the wing beat.
void Butterfly(cairo_t* cr, double cx, double cy, double phase, Rgb wing, Rgb spot) {
    double open = 0.25 + 0.75 * (0.5 + 0.5 * std::cos(2 * M_PI * phase));  // 1 open, 0.25 folded
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_rotate(cr, 0.35);  // nose up to the right
    for (int side = -1; side <= 1; side += 2) {
        // Fore wing and hind wing, squeezed towards the body as they fold.
        cairo_save(cr);
        cairo_scale(cr, 1.0, side * open);
        cairo_move_to(cr, 2, 0);
        cairo_curve_to(cr, 6, -8, 14, -19, 6, -20);
        cairo_curve_to(cr, -2, -21, -6, -10, -2, 0);
        cairo_close_path(cr);
        cairo_move_to(cr, -1, 0);
        cairo_curve_to(cr, -3, -6, -16, -13, -15, -6);
        cairo_curve_to(cr, -14, -1, -6, 1, -1, 0);
        cairo_close_path(cr);
        cairo_restore(cr);
        cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, 0, side * 20 * open);
        AddStop(p, 0, Darken(wing, 0.15), 0.95);
        AddStop(p, 1, Lighten(wing, 0.25), 0.95);
        cairo_set_source(cr, p);
        cairo_fill_preserve(cr);
        cairo_pattern_destroy(p);
        SetColour(cr, Darken(wing, 0.6), 0.9);
        cairo_set_line_width(cr, 1.1);
        cairo_stroke(cr);
        cairo_arc(cr, 6, side * -13 * open, 2.4 * std::max(open, 0.4), 0, 2 * M_PI);
        SetColour(cr, spot, 0.9);
        cairo_fill(cr);
    }
    // Body and antennae.
    cairo_save(cr);
    cairo_scale(cr, 9, 2.2);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr);
    SetColour(cr, Hex(0x2A2430));
    cairo_fill(cr);
    cairo_move_to(cr, 8, -1);
    cairo_curve_to(cr, 12, -3, 14, -6, 15, -8);
    cairo_move_to(cr, 8, 1);
    cairo_curve_to(cr, 12, -1, 15, -2, 17, -3);
    SetColour(cr, Hex(0x2A2430));
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    cairo_restore(cr);
}

cairo_surface_t* ButterflyStrip(Rgb wing, Rgb spot, bool mirror) {
    cairo_surface_t* s = NewSurface(288, 48);
    cairo_t* cr = cairo_create(s);
    for (int f = 0; f < 6; ++f) {
        cairo_save(cr);
        if (mirror) {
            // The left-facing strip is the right-facing one mirrored frame by frame.
            cairo_translate(cr, 48 * f + 48, 0);
            cairo_scale(cr, -1, 1);
        } else {
            cairo_translate(cr, 48 * f, 0);
        }
        Butterfly(cr, 24, 25, f / 6.0, wing, spot);
        cairo_restore(cr);
    }
    cairo_destroy(cr);
    return s;
}

// The bug, walking right: a round beetle with six legs stepping in two tripods.
void Bug(cairo_t* cr, double cx, double cy, double phase) {
    double step = std::sin(2 * M_PI * phase);
    double bob = 0.8 * std::fabs(std::cos(2 * M_PI * phase));
    cairo_save(cr);
    cairo_translate(cr, cx, cy - bob);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    SetColour(cr, Hex(0x23202A));
    cairo_set_line_width(cr, 2.6);
    for (int i = 0; i < 3; ++i) {
        double x = -9 + i * 9;
        double swing = ((i % 2) ? step : -step) * 4;
        cairo_move_to(cr, x, 6);
        cairo_line_to(cr, x + swing - 3, 17);
        cairo_move_to(cr, x, 4);
        cairo_line_to(cr, x - swing + 3, 15 + bob);
    }
    cairo_stroke(cr);
    // Shell.
    cairo_save(cr);
    cairo_scale(cr, 19, 14);
    cairo_arc(cr, 0, 0, 1, M_PI, 2 * M_PI);
    cairo_line_to(cr, 1, 0.45);
    cairo_curve_to(cr, 0.5, 0.65, -0.5, 0.65, -1, 0.45);
    cairo_close_path(cr);
    cairo_restore(cr);
    cairo_pattern_t* p = cairo_pattern_create_radial(-6, -9, 1, 0, -2, 20);
    AddStop(p, 0, Hex(0xA8E07A));
    AddStop(p, 0.6, Hex(0x4E9A3C));
    AddStop(p, 1, Hex(0x2C5E25));
    cairo_set_source(cr, p);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(p);
    SetColour(cr, Hex(0x1C3A18));
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    cairo_move_to(cr, -2, -14);
    cairo_line_to(cr, -2, 5);
    SetColour(cr, Hex(0x1C3A18), 0.7);
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
    for (double sx : {-10.0, 5.0}) {
        cairo_arc(cr, sx, -5, 2.6, 0, 2 * M_PI);
        SetColour(cr, Hex(0x24461F), 0.8);
        cairo_fill(cr);
    }
    // Head with eyes and antennae.
    cairo_arc(cr, 20, 1, 7, 0, 2 * M_PI);
    SetColour(cr, Hex(0x2F2B36));
    cairo_fill(cr);
    cairo_arc(cr, 23, -1, 2.4, 0, 2 * M_PI);
    SetColour(cr, Cream());
    cairo_fill(cr);
    cairo_arc(cr, 23.8, -1, 1.1, 0, 2 * M_PI);
    SetColour(cr, Hex(0x111111));
    cairo_fill(cr);
    cairo_move_to(cr, 22, -5);
    cairo_curve_to(cr, 24, -11, 27, -13 + step, 29, -14 + step);
    cairo_move_to(cr, 19, -5);
    cairo_curve_to(cr, 20, -12, 22, -15 - step, 24, -16 - step);
    SetColour(cr, Hex(0x23202A));
    cairo_set_line_width(cr, 1.4);
    cairo_stroke(cr);
    cairo_restore(cr);
}

cairo_surface_t* BugStrip(int frames) {
    cairo_surface_t* s = NewSurface(64 * frames, 64);
    cairo_t* cr = cairo_create(s);
    for (int f = 0; f < frames; ++f) Bug(cr, 64 * f + 29, 36, f / 6.0);
    cairo_destroy(cr);
    return s;
}

}  // namespace

void MakeSprites(Output& out) {
    out.Picture("Graphics\\am_bonus01.png", BonusWild());
    out.Picture("Graphics\\am_bonus02.png", BonusBand());
    out.Picture("Graphics\\am_bonus03.png", BonusArea());
    out.Picture("Graphics\\digits.png", Digits());
    out.Picture("Graphics\\particle1.png", GlowSpark(64, Hex(0xFFC85A), 4));
    out.Picture("Graphics\\particle2.png", GlowSpark(64, Hex(0x6FE3F0), 4));
    out.Picture("Graphics\\particleq.png", GlowSpark(32, Hex(0xFFF0B0), 4));
    out.Picture("Graphics\\particleq2.png", GlowSpark(64, Hex(0xFFB050), 8));
    out.Picture("Graphics\\star-rotation.png", StarRotation());
    out.Picture("Graphics\\am_effect_star.png", EffectStar());
    out.Picture("Graphics\\am_effect_chomp.png", EffectChomp());
    out.Picture("Graphics\\grey.png", LockedStage());
    out.Picture("Graphics\\arrow.png", Arrow());
    const uint32_t wings[4] = {0xF2A541, 0x5DB7E8, 0xE77FB0, 0xB7E06A};
    const uint32_t spots[4] = {0x3A2A6A, 0xFFF3C4, 0xFFF3C4, 0x2E5E2A};
    for (int k = 0; k < 4; ++k) {
        std::string n = std::to_string(k + 1);
        out.Picture("Graphics\\butterfly_anim" + n + "_right.png", ButterflyStrip(Hex(wings[k]), Hex(spots[k]), false));
        out.Picture("Graphics\\butterfly_anim" + n + "_left.png", ButterflyStrip(Hex(wings[k]), Hex(spots[k]), true));
    }
    out.Picture("Graphics\\bug_right.png", BugStrip(6));
    out.Picture("Graphics\\instr_bug.png", BugStrip(1));
}

}  // namespace assetgen
