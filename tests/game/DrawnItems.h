// Reads the recorded draw calls back as what a player sees: texts (runs of
// glyphs drawn side by side by one DrawString), sprites and boxes, each with
// the colour and blend state it was drawn with.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "tests/game/RecordingEngine.h"

struct DrawnItem {
  enum class Kind { Text, Sprite, Box };
  Kind kind = Kind::Text;
  std::string text;  // Text: the bytes drawn
  int color = 0;     // Text: modulation 0xRRGGBB; Box: the fill colour
  int x = 0, y = 0;  // Text, Sprite: top-left; Box: first corner
  int x2 = 0, y2 = 0;  // Box: second corner
  Handle handle = 0;   // Sprite
  int blendMode = 0, blendParameter = 0;
  int turn = -1;
};

// A text as a test expects it: bytes, colour and first glyph's position.
struct TextAt {
  std::string text;
  int color;
  int x, y;
  bool operator==(const TextAt& other) const {
    return text == other.text && color == other.color && x == other.x && y == other.y;
  }
};
std::ostream& operator<<(std::ostream& out, const TextAt& text);

std::vector<DrawnItem> DrawnItems(const std::vector<RecordedCall>& calls);
std::vector<DrawnItem> DrawnItemsOfTurn(const std::vector<RecordedCall>& calls, int turn);
std::vector<TextAt> Texts(const std::vector<DrawnItem>& items);
std::vector<DrawnItem> OfKind(const std::vector<DrawnItem>& items, DrawnItem::Kind kind);

// The byte whose glyph the handle is, or -1.
int GlyphByte(Handle handle);
