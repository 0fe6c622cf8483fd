#pragma once
// The shape pieces: 16 classes of 4 forms, each a glossy piece and its recessed hole.
#include <cairo.h>

#include <string>

#include "Canvas.h"

namespace assetgen {

class Output;

// Forms in the order the classes step through them.
enum class Form { Circle, Square, Triangle, Diamond, Hexagon, Star, Heart, Cross };

// Builds the outline of a form centred at (cx, cy), scaled so that s = 1 fits a 64-pixel picture.
void FormPath(cairo_t* cr, Form form, double cx, double cy, double s);

// Draws a glossy piece of the given colour (the look of every shape and of the bonus pieces).
void GlossyPiece(cairo_t* cr, Form form, double cx, double cy, double s, Rgb colour);

void MakeShapes(Output& out);

}  // namespace assetgen
