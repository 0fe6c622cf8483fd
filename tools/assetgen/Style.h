#pragma once
// The one palette every picture draws from: deep evening teal and navy, warm cream rims and a soft
// gold accent.
#include "Canvas.h"

namespace assetgen::style {

inline Rgb Ink() { return Hex(0x142233); }         // outlines, text edges
inline Rgb PanelTop() { return Hex(0x27475F); }    // dialog panels
inline Rgb PanelBottom() { return Hex(0x17304A); }
inline Rgb Rim() { return Hex(0xEAD8AE); }         // cream rims
inline Rgb Gold() { return Hex(0xF2BE55); }        // accents, highlights
inline Rgb GoldDeep() { return Hex(0xC98A2B); }
inline Rgb ButtonTop() { return Hex(0x3D9C9A); }   // buttons at rest
inline Rgb ButtonBottom() { return Hex(0x1F6570); }
inline Rgb ButtonOverTop() { return Hex(0x5CC6B8); }  // buttons under the mouse
inline Rgb ButtonOverBottom() { return Hex(0x2A8790); }
inline Rgb Cream() { return Hex(0xFFF6E2); }

}  // namespace assetgen::style
