#pragma once
// Menu and in-game interface pictures: buttons, panels, check box, slider, progress bar, logo,
// banner, the dimmer and the tutorial hints.
#include <cairo.h>

namespace assetgen {

class Output;

void MakeInterface(Output& out);

// The "Tamblor" title lettering, drawn into a context at the given centre and size (shared by the
// logo and the intro picture).
void DrawTitle(cairo_t* cr, double cx, double cy, double size);

}  // namespace assetgen
