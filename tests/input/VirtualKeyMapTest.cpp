#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <vector>

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

// Every row, in table order, as plain numbers from the published lists of
// virtual-key codes and DirectInput key numbers: a swapped pair or a wrong
// constant in the table shows here.
TEST(VirtualKeyMap, EveryRowMapsTheJapaneseLayout) {
  struct Row {
    int virtualKey, keyNumber;
    bool operator==(const Row& other) const {
      return virtualKey == other.virtualKey && keyNumber == other.keyNumber;
    }
  };
  const std::vector<Row> expected = {
      // Letters A-Z.
      {0x41, 0x1E}, {0x42, 0x30}, {0x43, 0x2E}, {0x44, 0x20}, {0x45, 0x12}, {0x46, 0x21},
      {0x47, 0x22}, {0x48, 0x23}, {0x49, 0x17}, {0x4A, 0x24}, {0x4B, 0x25}, {0x4C, 0x26},
      {0x4D, 0x32}, {0x4E, 0x31}, {0x4F, 0x18}, {0x50, 0x19}, {0x51, 0x10}, {0x52, 0x13},
      {0x53, 0x1F}, {0x54, 0x14}, {0x55, 0x16}, {0x56, 0x2F}, {0x57, 0x11}, {0x58, 0x2D},
      {0x59, 0x15}, {0x5A, 0x2C},
      // Digits 0-9.
      {0x30, 0x0B}, {0x31, 0x02}, {0x32, 0x03}, {0x33, 0x04}, {0x34, 0x05}, {0x35, 0x06},
      {0x36, 0x07}, {0x37, 0x08}, {0x38, 0x09}, {0x39, 0x0A},
      // Arrows: left, up, right, down.
      {0x25, 0xCB}, {0x26, 0xC8}, {0x27, 0xCD}, {0x28, 0xD0},
      // Punctuation of the Japanese layout.
      {0xBB, 0x27}, {0xBA, 0x92}, {0xDB, 0x1A}, {0xDD, 0x1B}, {0xC0, 0x91}, {0xE2, 0x2B},
      {0xBC, 0x33}, {0xBD, 0x0C}, {0xDC, 0x7D}, {0xBE, 0x34}, {0xBF, 0x35},
      // Delete, Escape, Space, Backspace, Tab, Return.
      {0x2E, 0xD3}, {0x1B, 0x01}, {0x20, 0x39}, {0x08, 0x0E}, {0x09, 0x0F}, {0x0D, 0x1C},
      // The numeric pad, and Return again as its Enter.
      {0x60, 0x52}, {0x61, 0x4F}, {0x62, 0x50}, {0x63, 0x51}, {0x64, 0x4B}, {0x65, 0x4C},
      {0x66, 0x4D}, {0x67, 0x47}, {0x68, 0x48}, {0x69, 0x49}, {0x6A, 0x37}, {0x6B, 0x4E},
      {0x6D, 0x4A}, {0x6E, 0x53}, {0x6F, 0xB5}, {0x0D, 0x9C},
      // Shift and Control, left and right.
      {0xA0, 0x2A}, {0xA1, 0x36}, {0xA2, 0x1D}, {0xA3, 0x9D},
      // Page Up, Page Down, End, Home, Insert.
      {0x21, 0xC9}, {0x22, 0xD1}, {0x23, 0xCF}, {0x24, 0xC7}, {0x2D, 0xD2},
      // Alt left and right, Scroll Lock, Caps Lock, Pause.
      {0xA4, 0x38}, {0xA5, 0xB8}, {0x91, 0x46}, {0x14, 0x3A}, {0x13, 0xC5},
      // F1-F12.
      {0x70, 0x3B}, {0x71, 0x3C}, {0x72, 0x3D}, {0x73, 0x3E}, {0x74, 0x3F}, {0x75, 0x40},
      {0x76, 0x41}, {0x77, 0x42}, {0x78, 0x43}, {0x79, 0x44}, {0x7A, 0x57}, {0x7B, 0x58},
  };
  std::vector<Row> rows;
  for (const VirtualKeyRow* row = VirtualKeyMap; row->virtualKey != VIRTUAL_KEY_MAP_END; ++row)
    rows.push_back({int(row->virtualKey), int(row->keyNumber)});
  ASSERT_EQ(rows.size(), expected.size());
  for (size_t i = 0; i < rows.size(); ++i)
    EXPECT_TRUE(rows[i] == expected[i]) << "row " << i << ": " << std::hex << rows[i].virtualKey
                                        << " -> " << rows[i].keyNumber;

  // Each row translates on its own: the key number follows its virtual key.
  for (const Row& row : expected) {
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
