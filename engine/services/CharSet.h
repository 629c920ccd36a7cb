// The double-byte character rule shared by every piece of engine text
// handling: a lead byte and the byte after it are one unit, never
// upper-cased and never taken for a separator or a line end.
#pragma once

#include <cstdint>

// A character-set number.
using CharSet = int;
constexpr CharSet CHARSET_DEFAULT = 0;
constexpr CharSet CHARSET_SHIFTJIS = 1;
constexpr CharSet CHARSET_KOREAN = 2;
constexpr CharSet CHARSET_TRADITIONAL_CHINESE = 3;
constexpr CharSet CHARSET_SIMPLIFIED_CHINESE = 4;

// Sets 0 and 1 (Shift-JIS): 0x81-0x9F and 0xE0-0xFC. Sets 2, 3 and 4 (and
// any other): every byte with the top bit set.
constexpr bool IsLeadByte(uint8_t byte, CharSet charSet) {
  if (charSet == CHARSET_DEFAULT || charSet == CHARSET_SHIFTJIS) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
  }
  return (byte & 0x80) != 0;
}

// The engine's current character set: CHARSET_DEFAULT at process start,
// chosen from the system's code page when the main window is created.
// Archives carry their own.
extern CharSet currentCharSet;
