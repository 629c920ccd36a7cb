// The font sheet: 16 x 16 cells of 32 x 32, cell n the glyph of byte n of
// code page 932's single-byte set, white on black. Letters are drawn from
// a TrueType/OpenType font; cell 0x40 holds the ornament that ends the
// game's title line.
#pragma once

#include <string>

#include "Image.h"

constexpr int GLYPH_CELL = 32;
constexpr int FONT_COLUMNS = 16;

// Empty string on success, otherwise what went wrong.
std::string DrawFontSheet(const std::string& fontPath, Image& sheet);
