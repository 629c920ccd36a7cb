#include "game/Text.h"

#include <cstring>

#include "engine/core/Engine.h"
#include "game/Assets.h"

void DrawString(int color, const char* text, int x, int y) {
  SetModulateColor((color >> 16) & 0xFF, (color >> 8) & 0xFF, color & 0xFF);
  for (const char* at = text; *at != '\0'; ++at) {
    PutGraph(x, y, glyphs[static_cast<unsigned char>(*at)].handle, 1);
    x += GLYPH_SIZE;
  }
  SetModulateColor(255, 255, 255);
}

int CenteredLeft(int centerX, const char* text) {
  return centerX - static_cast<int>(std::strlen(text)) * (GLYPH_SIZE / 2);
}
