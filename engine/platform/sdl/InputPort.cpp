// The system key state on Linux: SDL's keyboard state, each scancode mapped
// to the virtual-key code a Windows system with a Japanese keyboard layout
// reports for the key in that place. The window port's event pumping keeps
// SDL's state current.
#include <SDL.h>

#include <cstring>

#include "engine/platform/InputPort.h"
#include "engine/platform/sdl/ScancodeKeys.h"

namespace {

// The side-less modifier keys are held when either side is.
struct EitherSide {
  uint8_t virtualKey, left, right;
};
constexpr EitherSide EITHER_SIDE[] = {
    {0x10, port::VK_LSHIFT, port::VK_RSHIFT},      // VK_SHIFT
    {0x11, port::VK_LCONTROL, port::VK_RCONTROL},  // VK_CONTROL
    {0x12, port::VK_LMENU, port::VK_RMENU},        // VK_MENU
};

}  // namespace

namespace port {

int GetKeyboardState(uint8_t keys[256]) {
  int count = 0;
  const Uint8* held = SDL_GetKeyboardState(&count);
  if (held == nullptr) return 0;
  std::memset(keys, 0, 256);
  for (const ScancodeKey& key : ScancodeKeys())
    if (int(key.scancode) < count && held[key.scancode]) keys[key.virtualKey] |= 0x80;
  for (const EitherSide& key : EITHER_SIDE)
    keys[key.virtualKey] = uint8_t((keys[key.left] | keys[key.right]) & 0x80);
  SDL_Keymod modifiers = SDL_GetModState();
  if (modifiers & KMOD_CAPS) keys[VK_CAPITAL] |= 0x01;
  if (modifiers & KMOD_NUM) keys[0x90] |= 0x01;
  return 1;
}

}  // namespace port
