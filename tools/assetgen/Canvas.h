#pragma once
// Drawing helpers shared by every picture of the generator: colours, paths, gradients and a small
// deterministic random source, all on top of cairo.
#include <cairo.h>

#include <cstdint>
#include <string>

namespace assetgen {

struct Rgb {
    double r = 0, g = 0, b = 0;
};

Rgb Hex(uint32_t rgb);
Rgb Mix(Rgb a, Rgb b, double t);
Rgb Lighten(Rgb c, double t);  // towards white
Rgb Darken(Rgb c, double t);   // towards black
Rgb Desaturate(Rgb c, double t);

void SetColour(cairo_t* cr, Rgb c, double alpha = 1.0);
void AddStop(cairo_pattern_t* p, double offset, Rgb c, double alpha = 1.0);

// Paths (they only build the path; the caller fills or strokes).
void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double r);
void RegularPolygon(cairo_t* cr, double cx, double cy, double radius, int sides, double rotation);
void StarPath(cairo_t* cr, double cx, double cy, double outer, double inner, int points, double rotation);

// A soft round glow: radial gradient from colour at the centre to transparent at radius.
void SoftGlow(cairo_t* cr, double cx, double cy, double radius, Rgb c, double alpha);

// Fills a whole surface with a vertical gradient of two colours.
void VerticalGradient(cairo_t* cr, double w, double h, Rgb top, Rgb bottom);

cairo_surface_t* NewSurface(int w, int h);

// A small deterministic pseudo-random source (the same sequence on every machine).
class Rng {
public:
    explicit Rng(uint32_t seed) : state_(seed * 2654435761u + 0x9E3779B9u) {}
    uint32_t Next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return state_;
    }
    double Uniform() { return (Next() >> 8) * (1.0 / 16777216.0); }  // [0, 1)
    double Range(double lo, double hi) { return lo + (hi - lo) * Uniform(); }

private:
    uint32_t state_;
};

}  // namespace assetgen
