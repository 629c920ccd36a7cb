// Text for the examples, in the font sheet make_font draws: one graph per
// character, drawn with PutGraph, tinted with the modulation colour.
#pragma once

#include <vexlo/Engine.h>

class Text {
 public:
  static constexpr int CHAR_WIDTH = 12, LINE_HEIGHT = 16;

  // Loads the sheet: 96 cells of 12 x 16, 16 to a row. 0, or -1.
  int Load(const char* fileName) {
    return LoadGraphSheet(fileName, CHARACTERS, 16, 6, CHAR_WIDTH, LINE_HEIGHT, glyphs_, 0);
  }

  void Release() {
    for (Handle& glyph : glyphs_) {
      ReleaseGraph(glyph, 0);
      glyph = -1;
    }
  }

  // Draws the text from (x, y) in the colour given; lower case is drawn as
  // upper case. The blend mode is left as it was.
  void Draw(int x, int y, const char* text, int red = 255, int green = 255, int blue = 255) const {
    SetModulateColor(red, green, blue);
    for (const char* c = text; *c != '\0'; ++c, x += CHAR_WIDTH) {
      int code = static_cast<unsigned char>(*c);
      if (code >= 'a' && code <= 'z') code -= 'a' - 'A';
      if (code > ' ' && code < ' ' + CHARACTERS) PutGraph(x, y, glyphs_[code - ' '], 1);
    }
    SetModulateColor(255, 255, 255);
  }

 private:
  static constexpr int CHARACTERS = 96;
  Handle glyphs_[CHARACTERS] = {};
};
