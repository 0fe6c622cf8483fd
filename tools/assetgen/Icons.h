#pragma once
// The application icon of the desktop entry, drawn at the hicolor theme sizes.
#include <string>

namespace assetgen {

// Writes DIR/NxN/apps/io.github.tamblor.Tamblor.png for N = 48, 128 and 256. Returns false (after a
// message on stderr) when a file cannot be written.
bool MakeIcons(const std::string& hicolorDir);

}  // namespace assetgen
