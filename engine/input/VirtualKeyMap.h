// How the system key state (by virtual-key code) becomes the engine's key
// state (by DirectInput key number).
#pragma once

#include <cstdint>

struct VirtualKeyRow {
  uint16_t virtualKey;  // VIRTUAL_KEY_MAP_END ends the table
  uint8_t keyNumber;
};

constexpr uint16_t VIRTUAL_KEY_MAP_END = 0xFFFF;
constexpr int VIRTUAL_KEY_MAP_ROWS = 99;

// The 99 rows and the end row, in table order. Every key number appears
// once; VK_RETURN appears twice (the main and the numeric-pad Enter).
extern const VirtualKeyRow VirtualKeyMap[VIRTUAL_KEY_MAP_ROWS + 1];

// Clears keyState and copies, row by row, the whole byte of each row's
// virtual key into the byte of its key number.
void TranslateVirtualKeys(const uint8_t virtualKeys[256], uint8_t keyState[256]);
