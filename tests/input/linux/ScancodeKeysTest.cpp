// The Linux key map against the published numbers: SDL scancodes are the
// USB HID keyboard usages, the virtual keys those Windows reports for the
// same places on a Japanese keyboard. Written out as plain numbers, so that
// a swapped pair or a wrong constant in the map shows here.
#include <gtest/gtest.h>

#include <map>

#include "engine/platform/sdl/ScancodeKeys.h"

namespace {

TEST(ScancodeKeys, EveryScancodeGivesTheJapaneseLayoutsVirtualKey) {
  std::map<int, int> expected = {
      // Letters: usages 4-29, virtual keys 'A'-'Z'.
      {4, 0x41}, {5, 0x42}, {6, 0x43}, {7, 0x44}, {8, 0x45}, {9, 0x46}, {10, 0x47}, {11, 0x48},
      {12, 0x49}, {13, 0x4A}, {14, 0x4B}, {15, 0x4C}, {16, 0x4D}, {17, 0x4E}, {18, 0x4F},
      {19, 0x50}, {20, 0x51}, {21, 0x52}, {22, 0x53}, {23, 0x54}, {24, 0x55}, {25, 0x56},
      {26, 0x57}, {27, 0x58}, {28, 0x59}, {29, 0x5A},
      // Digits 1-9 and 0.
      {30, 0x31}, {31, 0x32}, {32, 0x33}, {33, 0x34}, {34, 0x35}, {35, 0x36}, {36, 0x37},
      {37, 0x38}, {38, 0x39}, {39, 0x30},
      // Return, Escape, Backspace, Tab, Space.
      {40, 0x0D}, {41, 0x1B}, {42, 0x08}, {43, 0x09}, {44, 0x20},
      // The punctuation places: "-", "^", "@", "[", "]" (both places), ";",
      // ":", ",", ".", "/".
      {45, 0xBD}, {46, 0xDE}, {47, 0xC0}, {48, 0xDB}, {49, 0xDD}, {50, 0xDD}, {51, 0xBB},
      {52, 0xBA}, {54, 0xBC}, {55, 0xBE}, {56, 0xBF},
      // Caps Lock, F1-F12.
      {57, 0x14}, {58, 0x70}, {59, 0x71}, {60, 0x72}, {61, 0x73}, {62, 0x74}, {63, 0x75},
      {64, 0x76}, {65, 0x77}, {66, 0x78}, {67, 0x79}, {68, 0x7A}, {69, 0x7B},
      // Scroll Lock, Pause, Insert, Home, Page Up, Delete, End, Page Down.
      {71, 0x91}, {72, 0x13}, {73, 0x2D}, {74, 0x24}, {75, 0x21}, {76, 0x2E}, {77, 0x23},
      {78, 0x22},
      // Right, left, down, up.
      {79, 0x27}, {80, 0x25}, {81, 0x28}, {82, 0x26},
      // The numeric pad: Num Lock, /, *, -, +, Enter, 1-9, 0, ".".
      {83, 0x90}, {84, 0x6F}, {85, 0x6A}, {86, 0x6D}, {87, 0x6B}, {88, 0x0D}, {89, 0x61},
      {90, 0x62}, {91, 0x63}, {92, 0x64}, {93, 0x65}, {94, 0x66}, {95, 0x67}, {96, 0x68},
      {97, 0x69}, {98, 0x60}, {99, 0x6E},
      // "\" beside the left Shift (two usages), and the yen key.
      {100, 0xE2}, {135, 0xE2}, {137, 0xDC},
      // Left Control, Shift, Alt, Windows; then the right ones.
      {224, 0xA2}, {225, 0xA0}, {226, 0xA4}, {227, 0x5B}, {228, 0xA3}, {229, 0xA1},
      {230, 0xA5}, {231, 0x5C},
  };
  std::map<int, int> mapped;
  for (const ScancodeKey& key : ScancodeKeys())
    EXPECT_TRUE(mapped.emplace(int(key.scancode), int(key.virtualKey)).second)
        << "scancode " << int(key.scancode) << " twice";
  EXPECT_EQ(mapped, expected);
}

}  // namespace
