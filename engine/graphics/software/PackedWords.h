// The packed add and subtract on whole pixel values: a few integer
// operations per pixel instead of one branch per channel.
//
// 32-bit: blue is exact. Green and red add (or subtract) their upper seven
// bits in one word operation, so that green's carry lands in red's lowest
// bit, where the rule ORs it in; the low bits of both
// operands and blue's carry are ORed into green's lowest bit; an overflowing
// channel saturates. The fourth byte comes out 0.
#pragma once

#include <cstdint>

inline uint32_t PackedAddWord32(uint32_t d, uint32_t c) {
  uint32_t blue = (d & 0xFF) + (c & 0xFF);
  uint32_t upper = (d & 0xFEFE00) + (c & 0xFEFE00);
  uint32_t low = ((d | c) & 0x010100) | ((blue >> 8) << 8);
  uint32_t result = (upper & 0xFFFF00) | low;
  result |= (0u - ((upper >> 16) & 1)) & 0x00FF00;
  result |= (0u - ((upper >> 24) & 1)) & 0xFF0000;
  return result | (blue > 0xFF ? 0xFF : blue);
}

// Subtract: the lowest bit of green (red) becomes 1 when blue (green) did
// not go below zero; red's lowest bit starts as 1 and a borrow out of green
// clears it, which is that rule. Negative channels become 0.
inline uint32_t PackedSubWord32(uint32_t d, uint32_t c) {
  int blue = static_cast<int>(d & 0xFF) - static_cast<int>(c & 0xFF);
  uint32_t greenLow = blue < 0 ? 0 : 0x100;
  uint32_t minuend = (d & 0xFEFE00) | 0x10000 | greenLow;
  uint32_t subtrahend = c & 0xFEFE00;
  uint32_t difference = minuend - subtrahend;
  bool greenNegative = (minuend & 0xFF00) < (subtrahend & 0xFF00);
  bool redNegative = (difference >> 31) != 0;
  uint32_t result = 0;
  if (!redNegative) result |= difference & 0xFF0000;
  if (!greenNegative) result |= difference & 0x00FF00;
  return result | static_cast<uint32_t>(blue < 0 ? 0 : blue);
}

// 5-6-5: blue is exact; green adds its upper five bits and saturates to 62
// plus the ORed low bits; red adds its upper four bits, saturates to 31 and
// otherwise takes both lowest bits and green's carry.
inline uint32_t PackedAddWord16(uint32_t d, uint32_t c) {
  uint32_t blue = (d & 0x1F) + (c & 0x1F);
  uint32_t blueCarry = blue > 0x1F ? 1 : 0;
  uint32_t greenUpper = (d & 0x7C0) + (c & 0x7C0);
  uint32_t greenCarry = (greenUpper >> 11) & 1;
  uint32_t greenLow = ((d | c) & 0x20) | (blueCarry << 5);
  uint32_t green = (greenCarry != 0 ? 0x7C0 : greenUpper) | greenLow;
  uint32_t redUpper = (d & 0xF000) + (c & 0xF000);
  uint32_t red = (redUpper >> 16) != 0 ? 0xF800
                                      : redUpper | ((d | c) & 0x800) | (greenCarry << 11);
  return red | green | (blueCarry != 0 ? 0x1F : blue);
}

// 5-6-5 subtract: green drops its lowest bit, red's lowest bit is 1 when
// green did not go below zero.
inline uint32_t PackedSubWord16(uint32_t d, uint32_t c) {
  int blue = static_cast<int>(d & 0x1F) - static_cast<int>(c & 0x1F);
  int green = static_cast<int>(d & 0x7C0) - static_cast<int>(c & 0x7C0);
  int red = static_cast<int>((d & 0xF000) | (green < 0 ? 0 : 0x800)) -
            static_cast<int>(c & 0xF000);
  uint32_t result = 0;
  if (red > 0) result |= static_cast<uint32_t>(red);
  if (green > 0) result |= static_cast<uint32_t>(green);
  if (blue > 0) result |= static_cast<uint32_t>(blue);
  return result;
}
