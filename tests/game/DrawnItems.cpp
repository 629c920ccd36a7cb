#include "tests/game/DrawnItems.h"

#include <iomanip>

#include "game/Assets.h"

std::ostream& operator<<(std::ostream& out, const TextAt& text) {
  out << "{\"";
  for (unsigned char c : text.text) {
    if (c >= 0x20 && c < 0x7F)
      out << c;
    else
      out << "\\x" << std::hex << std::uppercase << int(c) << std::dec;
  }
  return out << "\", 0x" << std::hex << text.color << std::dec << ", " << text.x << ", " << text.y
             << "}";
}

int GlyphByte(Handle handle) {
  for (int n = 0; n < GLYPH_COUNT; ++n)
    if (glyphs[n].handle == handle) return n;
  return -1;
}

std::vector<DrawnItem> DrawnItems(const std::vector<RecordedCall>& calls) {
  std::vector<DrawnItem> items;
  bool textOpen = false;
  for (const RecordedCall& call : calls) {
    if (call.name == "SetModulateColor") {
      textOpen = false;
    } else if (call.name == "PaintBox") {
      textOpen = false;
      DrawnItem box;
      box.kind = DrawnItem::Kind::Box;
      box.x = int(call.args[0]);
      box.y = int(call.args[1]);
      box.x2 = int(call.args[2]);
      box.y2 = int(call.args[3]);
      box.color = int(call.args[4]);
      box.blendMode = call.blendMode;
      box.blendParameter = call.blendParameter;
      box.turn = call.turn;
      items.push_back(box);
    } else if (call.name == "PutGraph") {
      const int x = int(call.args[0]), y = int(call.args[1]);
      const Handle handle = Handle(call.args[2]);
      const int glyph = GlyphByte(handle);
      if (glyph >= 0 && textOpen && items.back().y == y &&
          items.back().x + 32 * int(items.back().text.size()) == x) {
        items.back().text.push_back(char(glyph));
        continue;
      }
      DrawnItem item;
      item.kind = glyph >= 0 ? DrawnItem::Kind::Text : DrawnItem::Kind::Sprite;
      if (glyph >= 0) item.text = std::string(1, char(glyph));
      item.color = call.modulation;
      item.x = x;
      item.y = y;
      item.handle = handle;
      item.blendMode = call.blendMode;
      item.blendParameter = call.blendParameter;
      item.turn = call.turn;
      items.push_back(item);
      textOpen = glyph >= 0;
    }
  }
  return items;
}

std::vector<DrawnItem> DrawnItemsOfTurn(const std::vector<RecordedCall>& calls, int turn) {
  std::vector<RecordedCall> ofTurn;
  for (const RecordedCall& call : calls)
    if (call.turn == turn) ofTurn.push_back(call);
  return DrawnItems(ofTurn);
}

std::vector<TextAt> Texts(const std::vector<DrawnItem>& items) {
  std::vector<TextAt> texts;
  for (const DrawnItem& item : items)
    if (item.kind == DrawnItem::Kind::Text) texts.push_back({item.text, item.color, item.x, item.y});
  return texts;
}

std::vector<DrawnItem> OfKind(const std::vector<DrawnItem>& items, DrawnItem::Kind kind) {
  std::vector<DrawnItem> matching;
  for (const DrawnItem& item : items)
    if (item.kind == kind) matching.push_back(item);
  return matching;
}
