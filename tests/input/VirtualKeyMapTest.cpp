#include <gtest/gtest.h>

#include <cstring>
#include <set>

#include "engine/input/KeyNumbers.h"
#include "engine/input/VirtualKeyMap.h"

namespace {

TEST(VirtualKeyMap, NinetyNineRowsEndedByTheEndMark) {
  int rows = 0;
  while (VirtualKeyMap[rows].virtualKey != VIRTUAL_KEY_MAP_END) rows += 1;
  EXPECT_EQ(rows, 99);
  std::set<int> keyNumbers;
  int returns = 0;
  for (int i = 0; i < rows; ++i) {
    EXPECT_TRUE(keyNumbers.insert(VirtualKeyMap[i].keyNumber).second)
        << "key number " << int(VirtualKeyMap[i].keyNumber) << " twice";
    if (VirtualKeyMap[i].virtualKey == 0x0D) returns += 1;
  }
  EXPECT_EQ(returns, 2);
}

TEST(VirtualKeyMap, RowsMapTheJapaneseLayout) {
  struct Row {
    int virtualKey, keyNumber;
  } rows[] = {
      {'A', DIK_A},     {'Z', DIK_Z},        {'Q', DIK_Q},          {'0', DIK_0},
      {'1', DIK_1},     {'9', 0x0A},         {0x25, DIK_LEFT},      {0x26, DIK_UP},
      {0x27, DIK_RIGHT}, {0x28, DIK_DOWN},   {0x1B, DIK_ESCAPE},    {0x20, DIK_SPACE},
      {0xBB, DIK_SEMICOLON}, {0xBA, DIK_COLON}, {0xC0, DIK_AT},     {0xDC, DIK_YEN},
      {0xE2, DIK_BACKSLASH}, {0x6F, DIK_DIVIDE}, {0x60, DIK_NUMPAD0}, {0x69, DIK_NUMPAD9},
      {0xA1, DIK_RSHIFT}, {0xA3, DIK_RCONTROL}, {0xA5, DIK_RMENU},  {0x13, DIK_PAUSE},
      {0x70, DIK_F1},   {0x79, DIK_F10},     {0x7A, DIK_F11},       {0x7B, DIK_F12},
  };
  for (const Row& row : rows) {
    uint8_t virtualKeys[256] = {};
    uint8_t keys[256];
    virtualKeys[row.virtualKey] = 0x80;
    TranslateVirtualKeys(virtualKeys, keys);
    EXPECT_EQ(keys[row.keyNumber], 0x80) << std::hex << row.virtualKey;
  }
}

TEST(VirtualKeyMap, EnterSetsBothEnterKeysAndWholeBytesAreCopied) {
  uint8_t virtualKeys[256] = {};
  uint8_t keys[256];
  std::memset(keys, 0xAA, sizeof keys);
  virtualKeys[0x0D] = 0x81;
  virtualKeys[0x14] = 0x01;  // Caps Lock toggled, not held
  TranslateVirtualKeys(virtualKeys, keys);
  EXPECT_EQ(keys[DIK_RETURN], 0x81);
  EXPECT_EQ(keys[DIK_NUMPADENTER], 0x81);
  EXPECT_EQ(keys[DIK_CAPITAL], 0x01);
  EXPECT_EQ(keys[DIK_A], 0);  // the rest is cleared first
}

// With every virtual key held, exactly the table's key numbers are set:
// keys outside it read as up on this path.
TEST(VirtualKeyMap, KeysOutsideTheTableAreNeverSet) {
  uint8_t virtualKeys[256];
  std::memset(virtualKeys, 0x80, sizeof virtualKeys);
  uint8_t keys[256];
  TranslateVirtualKeys(virtualKeys, keys);
  std::set<int> mapped;
  for (const VirtualKeyRow* row = VirtualKeyMap; row->virtualKey != VIRTUAL_KEY_MAP_END; ++row)
    mapped.insert(row->keyNumber);
  for (int key = 0; key < 256; ++key) EXPECT_EQ(keys[key] != 0, mapped.count(key) == 1) << key;
  for (int outside : {int(DIK_GRAVE), int(DIK_APOSTROPHE), int(DIK_NUMLOCK), 0xDB /* DIK_LWIN */})
    EXPECT_EQ(keys[outside], 0) << outside;
}

}  // namespace
