#include "FontSheet.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>

#include "Painter.h"

namespace {

constexpr int ORNAMENT_BYTE = 0x40;
// Glyphs are set at this em size on a common baseline, centred by their
// advance, so every line of text sits level in its 32-pixel row.
constexpr int EM_PIXELS = 28;
constexpr int BASELINE = 27;

// The full-width katakana and punctuation drawn for each half-width byte
// 0xA1..0xDF: they fill the square cells the game sets its text in.
constexpr char32_t KATAKANA[0xDF - 0xA1 + 1] = {
    0x3002, 0x300C, 0x300D, 0x3001, 0x30FB, 0x30F2, 0x30A1, 0x30A3, 0x30A5, 0x30A7, 0x30A9,
    0x30E3, 0x30E5, 0x30E7, 0x30C3, 0x30FC, 0x30A2, 0x30A4, 0x30A6, 0x30A8, 0x30AA, 0x30AB,
    0x30AD, 0x30AF, 0x30B1, 0x30B3, 0x30B5, 0x30B7, 0x30B9, 0x30BB, 0x30BD, 0x30BF, 0x30C1,
    0x30C4, 0x30C6, 0x30C8, 0x30CA, 0x30CB, 0x30CC, 0x30CD, 0x30CE, 0x30CF, 0x30D2, 0x30D5,
    0x30D8, 0x30DB, 0x30DE, 0x30DF, 0x30E0, 0x30E1, 0x30E2, 0x30E4, 0x30E6, 0x30E8, 0x30E9,
    0x30EA, 0x30EB, 0x30EC, 0x30ED, 0x30EF, 0x30F3, 0xFF9E, 0xFF9F,
};

// The voiced marks are bytes of their own, drawn in the cell after their
// letter: they hug the left edge so that they sit next to it.
bool IsVoicedMark(int byte) { return byte == 0xDE || byte == 0xDF; }

// The character drawn for a byte, or 0 for a cell left empty. ASCII uses
// the full-width forms for the same reason as the katakana.
char32_t CharacterOf(int byte) {
  if (byte > 0x20 && byte < 0x7F && byte != ORNAMENT_BYTE) return char32_t(0xFF01 + (byte - 0x21));
  if (byte >= 0xA1 && byte <= 0xDF) return KATAKANA[byte - 0xA1];
  return 0;
}

void PutCoverage(Image& sheet, int left, int top, int x, int y, int coverage) {
  if (x < 0 || y < 0 || x >= GLYPH_CELL || y >= GLYPH_CELL) return;
  Rgb& pixel = sheet.at(left + x, top + y);
  const uint8_t value = uint8_t(std::max<int>(pixel.r, coverage));
  pixel = Rgb{value, value, value};
}

std::string DrawGlyph(FT_Face face, int byte, Image& sheet) {
  const char32_t character = CharacterOf(byte);
  if (character == 0) return "";
  if (FT_Get_Char_Index(face, character) == 0)
    return "the font has no glyph for U+" + std::to_string(unsigned(character));
  if (FT_Load_Char(face, character, FT_LOAD_RENDER | FT_LOAD_TARGET_NORMAL) != 0)
    return "cannot render U+" + std::to_string(unsigned(character));
  const FT_GlyphSlot slot = face->glyph;
  const FT_Bitmap& bitmap = slot->bitmap;
  const int left = (byte % FONT_COLUMNS) * GLYPH_CELL, top = (byte / FONT_COLUMNS) * GLYPH_CELL;
  const int advance = int(slot->advance.x >> 6);
  const int originX = IsVoicedMark(byte) ? 1 - slot->bitmap_left : (GLYPH_CELL - advance) / 2;
  const int originY = IsVoicedMark(byte) ? BASELINE - 1 : BASELINE;
  for (unsigned row = 0; row < bitmap.rows; ++row)
    for (unsigned column = 0; column < bitmap.width; ++column)
      PutCoverage(sheet, left, top, originX + slot->bitmap_left + int(column),
                  originY - slot->bitmap_top + int(row),
                  bitmap.buffer[row * unsigned(bitmap.pitch) + column]);
  return "";
}

// A five-petalled cherry blossom, white with a soft grey heart.
void DrawOrnament(Image& sheet) {
  constexpr float PI = 3.14159265f;
  constexpr float CX = 16, CY = 16.4f;
  Painter p(GLYPH_CELL, GLYPH_CELL);
  const Color white{1, 1, 1}, pale{0.88f, 0.88f, 0.88f}, heart{0.6f, 0.6f, 0.6f};
  for (int i = 0; i < 5; ++i) {
    const float angle = -PI / 2 + i * 2 * PI / 5;
    const float c = std::cos(angle), s = std::sin(angle);
    p.Fill(Ellipse(CX + 7.8f * c, CY + 7.8f * s, 8.0f, 5.4f, angle), white);
    p.Fill(Ellipse(CX + 4.0f * c, CY + 4.0f * s, 3.4f, 2.2f, angle), pale);
  }
  // The notch at the tip of each petal is cut back to the black background.
  for (int i = 0; i < 5; ++i) {
    const float angle = -PI / 2 + i * 2 * PI / 5;
    p.Fill(Circle(CX + 15.6f * std::cos(angle), CY + 15.6f * std::sin(angle), 2.2f), {0, 0, 0});
  }
  p.Fill(Circle(CX, CY, 2.6f), heart);
  p.Resolve(sheet, (ORNAMENT_BYTE % FONT_COLUMNS) * GLYPH_CELL,
            (ORNAMENT_BYTE / FONT_COLUMNS) * GLYPH_CELL);
}

}  // namespace

std::string DrawFontSheet(const std::string& fontPath, Image& sheet) {
  FT_Library library = nullptr;
  if (FT_Init_FreeType(&library) != 0) return "cannot start FreeType";
  FT_Face face = nullptr;
  std::string problem;
  if (FT_New_Face(library, fontPath.c_str(), 0, &face) != 0) {
    problem = "cannot open the font " + fontPath;
  } else if (FT_Set_Pixel_Sizes(face, 0, EM_PIXELS) != 0) {
    problem = "cannot size the font";
  } else {
    for (int byte = 0; byte < 256 && problem.empty(); ++byte) problem = DrawGlyph(face, byte, sheet);
  }
  if (face != nullptr) FT_Done_Face(face);
  FT_Done_FreeType(library);
  if (problem.empty()) DrawOrnament(sheet);
  return problem;
}
