// Which virtual key each SDL scancode stands for: the key a Windows system
// with a Japanese keyboard layout reports for the key in that place.
#pragma once

#include <SDL.h>

#include <cstdint>

struct ScancodeKey {
  SDL_Scancode scancode;
  uint8_t virtualKey;
};

struct ScancodeKeyTable {
  const ScancodeKey* first;
  const ScancodeKey* last;
  const ScancodeKey* begin() const { return first; }
  const ScancodeKey* end() const { return last; }
};

// Every mapped scancode, once each; scancodes outside it read as up.
ScancodeKeyTable ScancodeKeys();
