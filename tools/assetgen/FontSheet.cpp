#include "FontSheet.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cairo.h>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <sstream>

#include "Output.h"

namespace assetgen {

namespace {

constexpr int kCell = 32;
constexpr int kSheetW = 16 * kCell, kSheetH = 8 * kCell;
constexpr double kInkCentre = 0.47 * kCell;  // the text drawing centres this column on the advance
constexpr int kBaseline = 24;
constexpr int kPixelSize = 21;
constexpr int kOutline = 2;
// Ink must stay inside this box of every cell: one clear pixel at the left and bottom, two at the
// right (only 0.94 of a cell is sampled) and three at the top (cut while the intro shows).
constexpr int kInkLeft = 1, kInkRight = kCell - 3, kInkTop = 3, kInkBottom = kCell - 2;

const char* kFontFile = "/usr/share/fonts/truetype/liberation/LiberationSans-Bold.ttf";

// Printable ASCII from '!' to '}', then a blank, then '~', then the letters German and French texts
// need: the blank sits away from both ends of the value because INI readers trim blanks there. The
// characters are Unicode code points up to U+00FF, so each is one byte of the game's Latin-1 text.
std::vector<uint32_t> SymbolCodes() {
    std::vector<uint32_t> codes;
    for (uint32_t c = '!'; c <= '}'; ++c) codes.push_back(c);
    codes.push_back(' ');
    codes.push_back('~');
    const char32_t* accented = U"ÄÖÜäöüßàâçéèêëîïôûùÀÂÇÉÈÊËÎÏÔÛÙ";
    for (const char32_t* c = accented; *c; ++c) codes.push_back(static_cast<uint32_t>(*c));
    return codes;
}

std::string Utf8(const std::vector<uint32_t>& codes) {
    std::string text;
    for (uint32_t c : codes) {
        if (c < 0x80) {
            text += static_cast<char>(c);
        } else {
            text += static_cast<char>(0xC0 | (c >> 6));
            text += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return text;
}

}  // namespace

FontKeys MakeFontSheet(Output& out) {
    FontKeys keys;
    FT_Library lib = nullptr;
    FT_Face face = nullptr;
    if (FT_Init_FreeType(&lib) != 0) return keys;
    if (FT_New_Face(lib, kFontFile, 0, &face) != 0) {
        std::fprintf(stderr, "assetgen: cannot open the font %s\n", kFontFile);
        FT_Done_FreeType(lib);
        return keys;
    }
    FT_Set_Pixel_Sizes(face, 0, kPixelSize);
    std::vector<uint32_t> symbols = SymbolCodes();
    std::vector<float> glyph(kSheetW * kSheetH, 0.0f), outline(kSheetW * kSheetH, 0.0f);
    keys.widths.assign(128, 0);

    for (size_t k = 0; k < symbols.size(); ++k) {
        int cellX = static_cast<int>(k % 16) * kCell, cellY = static_cast<int>(k / 16) * kCell;
        if (FT_Load_Char(face, symbols[k], FT_LOAD_RENDER | FT_LOAD_TARGET_LIGHT) != 0) {
            continue;
        }
        FT_GlyphSlot g = face->glyph;
        const FT_Bitmap& bm = g->bitmap;
        if (symbols[k] == ' ' || bm.width == 0) {
            // The blank: its own advance plus the outline a letter carries on each side.
            keys.widths[k] = static_cast<int>(std::lround((g->advance.x / 64.0 + kOutline) / 2.0));
            continue;
        }
        int left = cellX + static_cast<int>(std::lround(kInkCentre - bm.width / 2.0));
        int top = cellY + kBaseline - g->bitmap_top;
        // Keep the glyph body (and so its outline) inside the cell's ink box.
        top = std::max(top, cellY + kInkTop + kOutline);
        for (unsigned y = 0; y < bm.rows; ++y) {
            for (unsigned x = 0; x < bm.width; ++x) {
                int px = left + static_cast<int>(x), py = top + static_cast<int>(y);
                if (px < cellX + kInkLeft + kOutline || px > cellX + kInkRight - kOutline) continue;
                if (py < cellY + kInkTop + kOutline || py > cellY + kInkBottom - kOutline) continue;
                // A slight boost keeps one-pixel strokes (the underscore cursor, the bar) solid white.
                glyph[py * kSheetW + px] = std::min(1.0f, bm.buffer[y * bm.pitch + x] / 255.0f * 1.25f);
            }
        }
        // The dark outline: the glyph widened by a round brush of radius kOutline, soft at its rim.
        int minX = kCell, maxX = -1;
        for (int y = cellY; y < cellY + kCell; ++y) {
            for (int x = cellX; x < cellX + kCell; ++x) {
                float best = 0;
                for (int dy = -kOutline - 1; dy <= kOutline + 1; ++dy) {
                    for (int dx = -kOutline - 1; dx <= kOutline + 1; ++dx) {
                        int sx = x + dx, sy = y + dy;
                        if (sx < cellX || sx >= cellX + kCell || sy < cellY || sy >= cellY + kCell) continue;
                        float v = glyph[sy * kSheetW + sx];
                        if (v <= 0) continue;
                        double d = std::sqrt(double(dx * dx + dy * dy));
                        float weight = static_cast<float>(std::clamp(kOutline + 0.7 - d, 0.0, 1.0));
                        best = std::max(best, v * weight);
                    }
                }
                outline[y * kSheetW + x] = std::min(1.0f, best * 1.5f);
                if (best > 0.03f || glyph[y * kSheetW + x] > 0.03f) {
                    minX = std::min(minX, x - cellX);
                    maxX = std::max(maxX, x - cellX);
                }
            }
        }
        int ink = maxX >= minX ? maxX - minX + 1 : 0;
        // Advance = the inked width less two pixels: neighbouring outlines overlap a little, which
        // keeps words compact while the white bodies stay apart.
        keys.widths[k] = std::clamp(static_cast<int>(std::lround((ink - 2) / 2.0)), 1, 16);
    }
    FT_Done_Face(face);
    FT_Done_FreeType(lib);

    cairo_surface_t* sheet = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kSheetW, kSheetH);
    cairo_surface_flush(sheet);
    unsigned char* data = cairo_image_surface_get_data(sheet);
    int stride = cairo_image_surface_get_stride(sheet);
    const double dark[3] = {0.07, 0.1, 0.16};
    for (int y = 0; y < kSheetH; ++y) {
        uint32_t* row = reinterpret_cast<uint32_t*>(data + y * stride);
        for (int x = 0; x < kSheetW; ++x) {
            double gv = glyph[y * kSheetW + x], ov = outline[y * kSheetW + x];
            double a = std::max(gv, ov);
            auto ch = [&](int i) { return static_cast<uint32_t>(std::lround((gv + dark[i] * (a - gv)) * 255)); };
            row[x] = (static_cast<uint32_t>(std::lround(a * 255)) << 24) | (ch(0) << 16) | (ch(1) << 8) | ch(2);
        }
    }
    cairo_surface_mark_dirty(sheet);
    out.Picture("Graphics\\font01.png", sheet);
    keys.symbolList = Utf8(symbols);
    return keys;
}

std::string WithFontKeys(const std::string& ini, const FontKeys& keys) {
    std::ostringstream block;
    block << "SymbolList=" << keys.symbolList << "\n";
    for (int r = 0; r < 8; ++r) {
        block << "Line0" << (r + 1) << "_Width=";
        for (int i = 0; i < 16; ++i) block << (i ? "," : "") << keys.widths[r * 16 + i];
        block << "\n";
    }
    std::istringstream in(ini);
    std::ostringstream result;
    std::string line;
    bool inserted = false;
    while (std::getline(in, line)) {
        bool fontKey = line.rfind("SymbolList=", 0) == 0 ||
                       (line.size() > 12 && line.rfind("Line0", 0) == 0 && line.compare(6, 7, "_Width=") == 0);
        if (fontKey) continue;
        result << line << "\n";
        if (!line.empty() && line[0] == '[') {
            result << block.str();
            inserted = true;
        }
    }
    if (!inserted) result << "[ENGLISH]\n" << block.str();
    return result.str();
}

}  // namespace assetgen
