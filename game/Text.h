// The game's one text routine: each byte of a code page 932 single-byte
// string is one 32 x 32 glyph of the font sheet, tinted by modulation.
#pragma once

// Glyphs are this many pixels wide and high; a text of n bytes is n * 32
// pixels wide.
constexpr int GLYPH_SIZE = 32;

// Draws the text with its first glyph's top-left corner at (x, y), in the
// colour 0xRRGGBB, and leaves the modulation white.
void DrawString(int color, const char* text, int x, int y);

// The left edge of the text when centred on centerX.
int CenteredLeft(int centerX, const char* text);
