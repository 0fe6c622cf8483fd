#include "Interface.h"

#include <cmath>
#include <cstdlib>
#include <string>

#include "Canvas.h"
#include "Output.h"
#include "Style.h"
#include "Text.h"

namespace assetgen {

namespace {

using namespace style;

// Glossy rounded button face filling (x, y, w, h).
void ButtonFace(cairo_t* cr, double x, double y, double w, double h, double r, bool over) {
    // Soft drop shadow.
    RoundedRect(cr, x + 1, y + 3, w - 2, h - 3, r);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.3);
    cairo_fill(cr);
    RoundedRect(cr, x + 1, y + 1, w - 2, h - 4, r);
    cairo_pattern_t* p = cairo_pattern_create_linear(0, y, 0, y + h);
    AddStop(p, 0, over ? ButtonOverTop() : ButtonTop());
    AddStop(p, 1, over ? ButtonOverBottom() : ButtonBottom());
    cairo_set_source(cr, p);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(p);
    SetColour(cr, over ? Gold() : Rim(), over ? 1.0 : 0.85);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    // Sheen on the upper half.
    RoundedRect(cr, x + 5, y + 4, w - 10, (h - 6) * 0.45, r * 0.7);
    cairo_pattern_t* g = cairo_pattern_create_linear(0, y + 4, 0, y + 4 + (h - 6) * 0.45);
    cairo_pattern_add_color_stop_rgba(g, 0, 1, 1, 1, over ? 0.38 : 0.3);
    cairo_pattern_add_color_stop_rgba(g, 1, 1, 1, 1, 0.03);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
}

cairo_surface_t* TextButton(bool over) {
    cairo_surface_t* s = NewSurface(256, 64);
    cairo_t* cr = cairo_create(s);
    ButtonFace(cr, 2, 2, 252, 60, 24, over);
    cairo_destroy(cr);
    return s;
}

// Round medallion button (stage buttons, browsing and the bin), with an optional icon painter.
template <typename Icon>
cairo_surface_t* RoundButton(int size, bool over, Icon icon) {
    cairo_surface_t* s = NewSurface(size, size);
    cairo_t* cr = cairo_create(s);
    double c = size / 2.0, r = size / 2.0 - 3;
    cairo_arc(cr, c, c + 1.5, r, 0, 2 * M_PI);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.35);
    cairo_fill(cr);
    cairo_arc(cr, c, c, r, 0, 2 * M_PI);
    cairo_pattern_t* ring = cairo_pattern_create_linear(0, c - r, 0, c + r);
    AddStop(ring, 0, over ? Lighten(Gold(), 0.3) : Rim());
    AddStop(ring, 1, over ? GoldDeep() : Darken(Rim(), 0.35));
    cairo_set_source(cr, ring);
    cairo_fill(cr);
    cairo_pattern_destroy(ring);
    double ri = r - std::max(3.0, size * 0.07);
    cairo_arc(cr, c, c, ri, 0, 2 * M_PI);
    cairo_pattern_t* p = cairo_pattern_create_radial(c - ri * 0.3, c - ri * 0.4, ri * 0.1, c, c, ri * 1.1);
    AddStop(p, 0, over ? Lighten(ButtonOverTop(), 0.2) : Lighten(ButtonTop(), 0.1));
    AddStop(p, 1, over ? ButtonOverBottom() : Darken(ButtonBottom(), 0.1));
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    // Sheen.
    cairo_save(cr);
    cairo_translate(cr, c, c - ri * 0.45);
    cairo_scale(cr, ri * 0.7, ri * 0.4);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr);
    cairo_pattern_t* g = cairo_pattern_create_linear(0, c - ri * 0.85, 0, c - ri * 0.05);
    cairo_pattern_add_color_stop_rgba(g, 0, 1, 1, 1, 0.35);
    cairo_pattern_add_color_stop_rgba(g, 1, 1, 1, 1, 0.0);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    icon(cr, c, ri);
    cairo_destroy(cr);
    return s;
}

void ArrowIcon(cairo_t* cr, double c, double ri, int dir) {
    cairo_new_path(cr);
    double w = ri * 0.42;
    cairo_move_to(cr, c + dir * w * 1.1, c);
    cairo_line_to(cr, c - dir * w * 0.7, c - w * 1.15);
    cairo_line_to(cr, c - dir * w * 0.7, c + w * 1.15);
    cairo_close_path(cr);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    SetColour(cr, Ink(), 0.8);
    cairo_set_line_width(cr, 4);
    cairo_stroke_preserve(cr);
    SetColour(cr, Cream());
    cairo_fill(cr);
}

void BinIcon(cairo_t* cr, double c, double ri) {
    double w = ri * 0.95, h = ri * 1.0, top = c - h * 0.42;
    auto path = [&]() {
        cairo_new_path(cr);
        // Lid and handle.
        RoundedRect(cr, c - w * 0.58, top - 4, w * 1.16, 5, 2);
        RoundedRect(cr, c - w * 0.18, top - 8, w * 0.36, 5, 2);
        // Body, narrowing to the bottom.
        cairo_move_to(cr, c - w * 0.48, top + 3);
        cairo_line_to(cr, c + w * 0.48, top + 3);
        cairo_line_to(cr, c + w * 0.38, top + h);
        cairo_line_to(cr, c - w * 0.38, top + h);
        cairo_close_path(cr);
    };
    path();
    SetColour(cr, Ink(), 0.8);
    cairo_set_line_width(cr, 3.5);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke(cr);
    path();
    SetColour(cr, Cream());
    cairo_fill(cr);
    // Grooves.
    SetColour(cr, ButtonBottom(), 0.9);
    cairo_set_line_width(cr, 2);
    for (int i = -1; i <= 1; ++i) {
        cairo_move_to(cr, c + i * w * 0.2, top + 8);
        cairo_line_to(cr, c + i * w * 0.16, top + h - 5);
    }
    cairo_stroke(cr);
}

cairo_surface_t* CheckBox(bool over, bool on) {
    cairo_surface_t* s = NewSurface(32, 32);
    cairo_t* cr = cairo_create(s);
    RoundedRect(cr, 2, 3, 28, 28, 7);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.35);
    cairo_fill(cr);
    RoundedRect(cr, 2.5, 2, 27, 27, 7);
    cairo_pattern_t* p = cairo_pattern_create_linear(0, 2, 0, 29);
    AddStop(p, 0, Darken(PanelBottom(), 0.3));
    AddStop(p, 1, PanelTop());
    cairo_set_source(cr, p);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(p);
    SetColour(cr, over ? Gold() : Rim());
    cairo_set_line_width(cr, over ? 2.5 : 2);
    cairo_stroke(cr);
    if (on) {
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        cairo_move_to(cr, 8, 16);
        cairo_line_to(cr, 14, 22);
        cairo_line_to(cr, 25, 8);
        SetColour(cr, Ink(), 0.7);
        cairo_set_line_width(cr, 6.5);
        cairo_stroke_preserve(cr);
        SetColour(cr, over ? Lighten(Gold(), 0.3) : Gold());
        cairo_set_line_width(cr, 4);
        cairo_stroke(cr);
    }
    cairo_destroy(cr);
    return s;
}

cairo_surface_t* SliderBar(bool over) {
    cairo_surface_t* s = NewSurface(256, 32);
    cairo_t* cr = cairo_create(s);
    // An empty groove with tick marks; the thumb's centre travels the whole width, and the filled
    // track (SliderFill) is drawn into the groove up to it.
    RoundedRect(cr, 4, 11, 248, 11, 5.5);
    cairo_pattern_t* p = cairo_pattern_create_linear(0, 11, 0, 22);
    AddStop(p, 0, Darken(PanelBottom(), 0.5));
    AddStop(p, 1, PanelTop());
    cairo_set_source(cr, p);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(p);
    SetColour(cr, over ? Gold() : Rim(), 0.9);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    for (int i = 0; i <= 10; ++i) {
        double x = 12 + i * 23.2;
        cairo_move_to(cr, x, 25);
        cairo_line_to(cr, x, i % 5 == 0 ? 30 : 28);
    }
    SetColour(cr, Rim(), 0.6);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    cairo_destroy(cr);
    return s;
}

// The filled groove, the same size as the bar, so that its left part lies exactly in the groove.
cairo_surface_t* SliderFill() {
    cairo_surface_t* s = NewSurface(256, 32);
    cairo_t* cr = cairo_create(s);
    RoundedRect(cr, 5.5, 12.5, 245, 8, 4);
    cairo_pattern_t* p = cairo_pattern_create_linear(0, 12.5, 0, 20.5);
    AddStop(p, 0, Lighten(Gold(), 0.35));
    AddStop(p, 1, GoldDeep());
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    cairo_destroy(cr);
    return s;
}

cairo_surface_t* Thumb(bool over) {
    cairo_surface_t* s = NewSurface(24, 32);
    cairo_t* cr = cairo_create(s);
    RoundedRect(cr, 3, 3, 18, 28, 8);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.35);
    cairo_fill(cr);
    RoundedRect(cr, 3, 1.5, 18, 27.5, 8);
    cairo_pattern_t* p = cairo_pattern_create_linear(3, 0, 21, 0);
    AddStop(p, 0, over ? Lighten(Gold(), 0.45) : Lighten(Rim(), 0.3));
    AddStop(p, 1, over ? GoldDeep() : Darken(Rim(), 0.3));
    cairo_set_source(cr, p);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(p);
    SetColour(cr, Ink(), 0.8);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    for (int i = -1; i <= 1; ++i) {
        cairo_move_to(cr, 8, 15 + i * 4);
        cairo_line_to(cr, 16, 15 + i * 4);
    }
    SetColour(cr, Ink(), 0.45);
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
    cairo_destroy(cr);
    return s;
}

cairo_surface_t* ProgressBar(bool full) {
    cairo_surface_t* s = NewSurface(160, 24);
    cairo_t* cr = cairo_create(s);
    RoundedRect(cr, 1, 1, 158, 22, 11);
    if (full) {
        cairo_pattern_t* p = cairo_pattern_create_linear(0, 1, 0, 23);
        AddStop(p, 0, Hex(0xFFE08A));
        AddStop(p, 0.5, Hex(0xF2B445));
        AddStop(p, 1, Hex(0xC9801F));
        cairo_set_source(cr, p);
        cairo_fill_preserve(cr);
        cairo_pattern_destroy(p);
    } else {
        cairo_pattern_t* p = cairo_pattern_create_linear(0, 1, 0, 23);
        AddStop(p, 0, Darken(PanelBottom(), 0.55));
        AddStop(p, 1, Darken(PanelTop(), 0.1));
        cairo_set_source(cr, p);
        cairo_fill_preserve(cr);
        cairo_pattern_destroy(p);
    }
    SetColour(cr, full ? Lighten(Gold(), 0.4) : Rim(), full ? 0.9 : 0.8);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    RoundedRect(cr, 6, 3.5, 148, 7, 3.5);
    cairo_set_source_rgba(cr, 1, 1, 1, full ? 0.4 : 0.08);
    cairo_fill(cr);
    cairo_destroy(cr);
    return s;
}

// Dialog panel: translucent evening-blue glass with a cream double rim and small corner jewels.
cairo_surface_t* Panel(int w, int h) {
    cairo_surface_t* s = NewSurface(w, h);
    cairo_t* cr = cairo_create(s);
    double r = 26;
    RoundedRect(cr, 4, 6, w - 8, h - 8, r);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.3);
    cairo_fill(cr);
    RoundedRect(cr, 3, 3, w - 6, h - 8, r);
    cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, 0, h);
    AddStop(p, 0, PanelTop(), 0.94);
    AddStop(p, 1, PanelBottom(), 0.94);
    cairo_set_source(cr, p);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(p);
    SetColour(cr, Rim(), 0.95);
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
    RoundedRect(cr, 11, 11, w - 22, h - 24, r - 8);
    SetColour(cr, Rim(), 0.3);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    // A soft light falling on the top of the glass.
    RoundedRect(cr, 12, 12, w - 24, std::min(90.0, h * 0.3), r - 9);
    cairo_pattern_t* g = cairo_pattern_create_linear(0, 12, 0, 12 + std::min(90.0, h * 0.3));
    cairo_pattern_add_color_stop_rgba(g, 0, 1, 1, 1, 0.09);
    cairo_pattern_add_color_stop_rgba(g, 1, 1, 1, 1, 0.0);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    double jx[2] = {11, w - 11.0}, jy[2] = {11, h - 13.0};
    for (double x : jx) {
        for (double y : jy) {
            RegularPolygon(cr, x, y, 6, 4, 0);
            SetColour(cr, Gold());
            cairo_fill_preserve(cr);
            SetColour(cr, Ink(), 0.7);
            cairo_set_line_width(cr, 1);
            cairo_stroke(cr);
        }
    }
    cairo_destroy(cr);
    return s;
}

cairo_surface_t* Banner() {
    const int w = 640, h = 120;
    cairo_surface_t* s = NewSurface(w, h);
    cairo_t* cr = cairo_create(s);
    // Ribbon tails behind the band.
    for (int side = -1; side <= 1; side += 2) {
        double x0 = side < 0 ? 6 : w - 6.0, x1 = side < 0 ? 70 : w - 70.0;
        cairo_move_to(cr, x0, 34);
        cairo_line_to(cr, x1, 34);
        cairo_line_to(cr, x1, 104);
        cairo_line_to(cr, x0, 104);
        cairo_line_to(cr, x0 + side * -22, 69);
        cairo_close_path(cr);
        SetColour(cr, Darken(ButtonBottom(), 0.25));
        cairo_fill_preserve(cr);
        SetColour(cr, Rim(), 0.8);
        cairo_set_line_width(cr, 2);
        cairo_stroke(cr);
    }
    RoundedRect(cr, 48, 14, w - 96, 80, 16);
    cairo_pattern_t* p = cairo_pattern_create_linear(0, 14, 0, 94);
    AddStop(p, 0, ButtonTop());
    AddStop(p, 1, ButtonBottom());
    cairo_set_source(cr, p);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(p);
    SetColour(cr, Gold());
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
    RoundedRect(cr, 56, 20, w - 112, 30, 12);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.14);
    cairo_fill(cr);
    // A row of small stars along the lower edge.
    for (int i = 0; i < 9; ++i) {
        double x = 120 + i * 50;
        StarPath(cr, x, 94, 7, 3, 5, -M_PI / 2);
        SetColour(cr, Gold());
        cairo_fill_preserve(cr);
        SetColour(cr, Ink(), 0.7);
        cairo_set_line_width(cr, 1);
        cairo_stroke(cr);
    }
    cairo_destroy(cr);
    return s;
}

// The game draws a hint centred on the point its tail shows. A centred bubble sits over that point; a
// bubble that leans right keeps its tail near its left end and leaves the picture's left half empty,
// so the bubble stays on the board when the point is in the first line or is a shape carried beside
// the side panel, and never covers the panel's Time and Score.
enum class Tail { Centre, Left };

cairo_surface_t* HintBubble(const std::string& text, int bubbleWidth, Tail tail) {
    const int h = 64;
    const double tailInset = 28;
    const int w = tail == Tail::Centre ? bubbleWidth : 2 * (bubbleWidth - static_cast<int>(tailInset));
    const double left = tail == Tail::Centre ? 0.0 : w / 2.0 - tailInset;
    const double mid = left + bubbleWidth / 2.0;
    cairo_surface_t* s = NewSurface(w, h);
    cairo_t* cr = cairo_create(s);
    // A bubble with a small tail at the bottom, pointing to what the hint is about.
    RoundedRect(cr, left + 4, 4, bubbleWidth - 8, 46, 16);
    cairo_move_to(cr, w / 2.0 - 10, 49);
    cairo_line_to(cr, w / 2.0, 61);
    cairo_line_to(cr, w / 2.0 + 10, 49);
    cairo_close_path(cr);
    SetColour(cr, Cream(), 0.96);
    cairo_fill(cr);
    RoundedRect(cr, left + 4, 4, bubbleWidth - 8, 46, 16);
    SetColour(cr, GoldDeep());
    cairo_set_line_width(cr, 2.5);
    cairo_stroke(cr);
    // One line at a comfortable size when it fits, else two lines split at the blank nearest the middle.
    cairo_set_font_face(cr, SansFace(true));
    cairo_set_font_size(cr, 21);
    cairo_text_extents_t ext;
    cairo_text_extents(cr, text.c_str(), &ext);
    size_t split = std::string::npos;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == ' ' && (split == std::string::npos ||
                               std::abs(int(i) - int(text.size() / 2)) < std::abs(int(split) - int(text.size() / 2)))) {
            split = i;
        }
    }
    if (ext.width <= bubbleWidth - 30 || split == std::string::npos) {
        OutlinedText(cr, text, 21, mid, 27, Hex(0x1E3A4E), nullptr, Ink(), 0);
    } else {
        OutlinedText(cr, text.substr(0, split), 18, mid, 17, Hex(0x1E3A4E), nullptr, Ink(), 0);
        OutlinedText(cr, text.substr(split + 1), 18, mid, 37, Hex(0x1E3A4E), nullptr, Ink(), 0);
    }
    cairo_destroy(cr);
    return s;
}

// A celebration word drawn by the game at the point where the bonus numbers set off toward the score.
// The word sits in the top part of the picture, above that point, and the rest stays clear, so the
// flying numbers and rising stars pass below the word instead of over it.
cairo_surface_t* Headline(const std::string& text, int w, int h, double size, double inkCentreY) {
    cairo_surface_t* s = NewSurface(w, h);
    cairo_t* cr = cairo_create(s);
    cairo_pattern_t* fill =
        cairo_pattern_create_linear(0, inkCentreY - size * 0.4, 0, inkCentreY + size * 0.4);
    AddStop(fill, 0, Hex(0xFFF3C4));
    AddStop(fill, 0.55, Hex(0xF6C452));
    AddStop(fill, 1, Hex(0xCF8526));
    OutlinedText(cr, text, size, w / 2.0, inkCentreY, {0, 0, 0}, fill, Ink(), size / 12.0);
    cairo_pattern_destroy(fill);
    cairo_destroy(cr);
    return s;
}

cairo_surface_t* RoundTime() {
    cairo_surface_t* s = NewSurface(128, 64);
    cairo_t* cr = cairo_create(s);
    // A soft warm glow capsule (stretched radial gradient), gentle enough to pulse without alarm.
    cairo_save(cr);
    cairo_translate(cr, 64, 32);
    cairo_scale(cr, 2.0, 1.0);
    cairo_pattern_t* p = cairo_pattern_create_radial(0, 0, 0, 0, 0, 31);
    cairo_pattern_add_color_stop_rgba(p, 0, 1.0, 0.62, 0.3, 0.85);
    cairo_pattern_add_color_stop_rgba(p, 0.5, 0.95, 0.38, 0.22, 0.5);
    cairo_pattern_add_color_stop_rgba(p, 1, 0.9, 0.25, 0.2, 0.0);
    cairo_set_source(cr, p);
    cairo_arc(cr, 0, 0, 31, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    cairo_restore(cr);
    cairo_destroy(cr);
    return s;
}

}  // namespace

void DrawTitle(cairo_t* cr, double cx, double cy, double size) {
    cairo_pattern_t* fill = cairo_pattern_create_linear(0, cy - size * 0.4, 0, cy + size * 0.4);
    AddStop(fill, 0, Hex(0xFFF1C4));
    AddStop(fill, 0.5, Hex(0xF5C560));
    AddStop(fill, 1, Hex(0xD98E2E));
    // Shadow, a dark outline, then the golden letters.
    OutlinedText(cr, "Tamblor", size, cx + size * 0.03, cy + size * 0.05, {0, 0, 0}, nullptr, {0, 0, 0},
                 size * 0.07);
    OutlinedText(cr, "Tamblor", size, cx, cy, {0, 0, 0}, fill, Ink(), size * 0.06);
    cairo_pattern_destroy(fill);
}

void MakeInterface(Output& out) {
    out.Picture("Graphics\\btn.png", TextButton(false));
    out.Picture("Graphics\\btn_over.png", TextButton(true));
    auto none = [](cairo_t*, double, double) {};
    out.Picture("Graphics\\btn_stage.png", RoundButton(80, false, none));
    out.Picture("Graphics\\btn_stage_over.png", RoundButton(80, true, none));
    for (int over = 0; over < 2; ++over) {
        std::string suffix = over ? "_over.png" : ".png";
        out.Picture("Graphics\\btn_prev" + suffix,
                    RoundButton(64, over, [](cairo_t* cr, double c, double ri) { ArrowIcon(cr, c, ri, -1); }));
        out.Picture("Graphics\\btn_next" + suffix,
                    RoundButton(64, over, [](cairo_t* cr, double c, double ri) { ArrowIcon(cr, c, ri, 1); }));
        out.Picture("Graphics\\btn_bin" + suffix, RoundButton(64, over, BinIcon));
    }
    out.Picture("Graphics\\check.png", CheckBox(false, false));
    out.Picture("Graphics\\check_over.png", CheckBox(true, false));
    out.Picture("Graphics\\check_on.png", CheckBox(false, true));
    out.Picture("Graphics\\check_on_over.png", CheckBox(true, true));
    out.Picture("Graphics\\slider.png", SliderBar(false));
    out.Picture("Graphics\\slider_over.png", SliderBar(true));
    out.Picture("Graphics\\slider_fill.png", SliderFill());
    out.Picture("Graphics\\thumb.png", Thumb(false));
    out.Picture("Graphics\\thumb_over.png", Thumb(true));
    out.Picture("Graphics\\progress-empty.png", ProgressBar(false));
    out.Picture("Graphics\\progress-full.png", ProgressBar(true));
    out.Picture("Graphics\\round_time.png", RoundTime());
    out.Picture("Graphics\\panel_s.png", Panel(400, 260));
    out.Picture("Graphics\\panel_m.png", Panel(480, 420));
    out.Picture("Graphics\\panel_l.png", Panel(720, 540));
    out.Picture("Graphics\\panel_info.png", Panel(384, 288));
    out.Picture("Graphics\\banner.png", Banner());

    cairo_surface_t* shade = NewSurface(16, 16);
    cairo_t* cr = cairo_create(shade);
    cairo_set_source_rgba(cr, 0.02, 0.04, 0.08, 140 / 255.0);
    cairo_paint(cr);
    cairo_destroy(cr);
    out.Picture("Graphics\\shade.png", shade);

    cairo_surface_t* logo = NewSurface(512, 128);
    cr = cairo_create(logo);
    DrawTitle(cr, 256, 62, 104);
    cairo_destroy(cr);
    out.Picture("Graphics\\logo.png", logo);

    // Drawn at their own size (level complete) and 0.2 of the screen high (bonus), centred on the
    // point the numbers fly from.
    struct Words {
        const char* folder;
        const char* levelComplete;
        const char* bonus;
    };
    for (const Words& w :
         {Words{"English", "Level Complete", "Bonus!"}, Words{"German", "Level geschafft", "Bonus!"},
          Words{"French", "Niveau r\xC3\xA9ussi", "Bonus !"}}) {
        out.Picture(std::string(w.folder) + "\\level_complete.png",
                    Headline(w.levelComplete, 512, 160, 46, 28));
        out.Picture(std::string(w.folder) + "\\bonus.png", Headline(w.bonus, 720, 240, 74, 36));
    }
    // Over the panel's fifth shape, in the middle of the tray.
    out.Picture("English\\hint1.png", HintBubble("Pick up this shape", 256, Tail::Centre));
    // Over or under the hole in the first line, beside the side panel.
    out.Picture("English\\hint2.png", HintBubble("Drop it into its hole", 256, Tail::Left));
    // Over the carried shape, wherever it goes; narrow enough to stay on screen over the tray's right end.
    out.Picture("English\\hint3.png", HintBubble("Right-click to change its form", 180, Tail::Left));
}

}  // namespace assetgen
