#pragma once
// The bitmap font: a 16 x 8 sheet of 32-pixel cells (Graphics\font01.png), white glyphs with a dark
// outline, and the font keys of language.ini measured from the sheet as drawn.
#include <string>
#include <vector>

namespace assetgen {

class Output;

struct FontKeys {
    std::string symbolList;  // UTF-8
    std::vector<int> widths;  // 128 widths in sixteenths of a cell
};

// Draws the sheet into out and returns the keys; empty keys when the font cannot be loaded.
FontKeys MakeFontSheet(Output& out);

// Puts SymbolList and Line01_Width .. Line08_Width at the top of every section (every language draws
// with the same sheet) of an INI text, replacing any earlier font keys. Returns the new text.
std::string WithFontKeys(const std::string& ini, const FontKeys& keys);

}  // namespace assetgen
