#pragma once
// Titles and labels drawn into pictures, with the project's own font files (never the system's font
// configuration, so every machine draws the same pixels).
#include <cairo.h>

#include <string>

#include "Canvas.h"

namespace assetgen {

// Liberation Sans Bold (or Regular), loaded once; null when the font file is missing.
cairo_font_face_t* SansFace(bool bold = true);
bool FontsAvailable();
void ReleaseFonts();

// Draws text centred on (cx, cy) (the middle of its ink box): an outline of the given width first,
// then the fill. fill may be null to use the solid colour.
void OutlinedText(cairo_t* cr, const std::string& text, double size, double cx, double cy, Rgb fillColour,
                  cairo_pattern_t* fill, Rgb outline, double outlineWidth, bool bold = true);

}  // namespace assetgen
