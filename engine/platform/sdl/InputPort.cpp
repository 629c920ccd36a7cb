// The system key state on Linux: SDL's keyboard state, each scancode mapped
// to the virtual-key code a Windows system with a Japanese keyboard layout
// reports for the key in that place. The window port's event pumping keeps
// SDL's state current.
#include <SDL.h>

#include <cstring>

#include "engine/platform/InputPort.h"

namespace {

struct ScancodeKey {
  SDL_Scancode scancode;
  uint8_t virtualKey;
};

// Scancodes name the key's place on a US keyboard; the virtual keys are the
// Japanese layout's for that place (the key right of L is ";", VK_OEM_PLUS;
// the one right of P is "@", VK_OEM_3; and so on).
constexpr ScancodeKey SCANCODE_KEYS[] = {
    {SDL_SCANCODE_A, 0x41}, {SDL_SCANCODE_B, 0x42}, {SDL_SCANCODE_C, 0x43},
    {SDL_SCANCODE_D, 0x44}, {SDL_SCANCODE_E, 0x45}, {SDL_SCANCODE_F, 0x46},
    {SDL_SCANCODE_G, 0x47}, {SDL_SCANCODE_H, 0x48}, {SDL_SCANCODE_I, 0x49},
    {SDL_SCANCODE_J, 0x4A}, {SDL_SCANCODE_K, 0x4B}, {SDL_SCANCODE_L, 0x4C},
    {SDL_SCANCODE_M, 0x4D}, {SDL_SCANCODE_N, 0x4E}, {SDL_SCANCODE_O, 0x4F},
    {SDL_SCANCODE_P, 0x50}, {SDL_SCANCODE_Q, 0x51}, {SDL_SCANCODE_R, 0x52},
    {SDL_SCANCODE_S, 0x53}, {SDL_SCANCODE_T, 0x54}, {SDL_SCANCODE_U, 0x55},
    {SDL_SCANCODE_V, 0x56}, {SDL_SCANCODE_W, 0x57}, {SDL_SCANCODE_X, 0x58},
    {SDL_SCANCODE_Y, 0x59}, {SDL_SCANCODE_Z, 0x5A},
    {SDL_SCANCODE_1, 0x31}, {SDL_SCANCODE_2, 0x32}, {SDL_SCANCODE_3, 0x33},
    {SDL_SCANCODE_4, 0x34}, {SDL_SCANCODE_5, 0x35}, {SDL_SCANCODE_6, 0x36},
    {SDL_SCANCODE_7, 0x37}, {SDL_SCANCODE_8, 0x38}, {SDL_SCANCODE_9, 0x39},
    {SDL_SCANCODE_0, 0x30},
    {SDL_SCANCODE_RETURN, port::VK_RETURN}, {SDL_SCANCODE_ESCAPE, port::VK_ESCAPE},
    {SDL_SCANCODE_BACKSPACE, port::VK_BACK}, {SDL_SCANCODE_TAB, port::VK_TAB},
    {SDL_SCANCODE_SPACE, port::VK_SPACE},
    {SDL_SCANCODE_MINUS, port::VK_OEM_MINUS},
    {SDL_SCANCODE_EQUALS, 0xDE},  // "^", VK_OEM_7
    {SDL_SCANCODE_LEFTBRACKET, port::VK_OEM_3},   // "@"
    {SDL_SCANCODE_RIGHTBRACKET, port::VK_OEM_4},  // "["
    {SDL_SCANCODE_BACKSLASH, port::VK_OEM_6},     // "]"
    {SDL_SCANCODE_NONUSHASH, port::VK_OEM_6},
    {SDL_SCANCODE_SEMICOLON, port::VK_OEM_PLUS},  // ";"
    {SDL_SCANCODE_APOSTROPHE, port::VK_OEM_1},    // ":"
    {SDL_SCANCODE_COMMA, port::VK_OEM_COMMA}, {SDL_SCANCODE_PERIOD, port::VK_OEM_PERIOD},
    {SDL_SCANCODE_SLASH, port::VK_OEM_2},
    {SDL_SCANCODE_INTERNATIONAL1, port::VK_OEM_102},   // "\" and "_"
    {SDL_SCANCODE_NONUSBACKSLASH, port::VK_OEM_102},
    {SDL_SCANCODE_INTERNATIONAL3, port::VK_OEM_5},     // the yen key
    {SDL_SCANCODE_CAPSLOCK, port::VK_CAPITAL},
    {SDL_SCANCODE_F1, 0x70}, {SDL_SCANCODE_F2, 0x71}, {SDL_SCANCODE_F3, 0x72},
    {SDL_SCANCODE_F4, 0x73}, {SDL_SCANCODE_F5, 0x74}, {SDL_SCANCODE_F6, 0x75},
    {SDL_SCANCODE_F7, 0x76}, {SDL_SCANCODE_F8, 0x77}, {SDL_SCANCODE_F9, 0x78},
    {SDL_SCANCODE_F10, 0x79}, {SDL_SCANCODE_F11, 0x7A}, {SDL_SCANCODE_F12, 0x7B},
    {SDL_SCANCODE_SCROLLLOCK, port::VK_SCROLL}, {SDL_SCANCODE_PAUSE, port::VK_PAUSE},
    {SDL_SCANCODE_INSERT, port::VK_INSERT}, {SDL_SCANCODE_HOME, port::VK_HOME},
    {SDL_SCANCODE_PAGEUP, port::VK_PRIOR}, {SDL_SCANCODE_DELETE, port::VK_DELETE},
    {SDL_SCANCODE_END, port::VK_END}, {SDL_SCANCODE_PAGEDOWN, port::VK_NEXT},
    {SDL_SCANCODE_RIGHT, port::VK_RIGHT}, {SDL_SCANCODE_LEFT, port::VK_LEFT},
    {SDL_SCANCODE_DOWN, port::VK_DOWN}, {SDL_SCANCODE_UP, port::VK_UP},
    {SDL_SCANCODE_NUMLOCKCLEAR, 0x90},
    {SDL_SCANCODE_KP_DIVIDE, port::VK_DIVIDE}, {SDL_SCANCODE_KP_MULTIPLY, port::VK_MULTIPLY},
    {SDL_SCANCODE_KP_MINUS, port::VK_SUBTRACT}, {SDL_SCANCODE_KP_PLUS, port::VK_ADD},
    {SDL_SCANCODE_KP_ENTER, port::VK_RETURN},
    {SDL_SCANCODE_KP_1, 0x61}, {SDL_SCANCODE_KP_2, 0x62}, {SDL_SCANCODE_KP_3, 0x63},
    {SDL_SCANCODE_KP_4, 0x64}, {SDL_SCANCODE_KP_5, 0x65}, {SDL_SCANCODE_KP_6, 0x66},
    {SDL_SCANCODE_KP_7, 0x67}, {SDL_SCANCODE_KP_8, 0x68}, {SDL_SCANCODE_KP_9, 0x69},
    {SDL_SCANCODE_KP_0, port::VK_NUMPAD0}, {SDL_SCANCODE_KP_PERIOD, port::VK_DECIMAL},
    {SDL_SCANCODE_LCTRL, port::VK_LCONTROL}, {SDL_SCANCODE_RCTRL, port::VK_RCONTROL},
    {SDL_SCANCODE_LSHIFT, port::VK_LSHIFT}, {SDL_SCANCODE_RSHIFT, port::VK_RSHIFT},
    {SDL_SCANCODE_LALT, port::VK_LMENU}, {SDL_SCANCODE_RALT, port::VK_RMENU},
    {SDL_SCANCODE_LGUI, 0x5B}, {SDL_SCANCODE_RGUI, 0x5C},
};

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
  for (const ScancodeKey& key : SCANCODE_KEYS)
    if (int(key.scancode) < count && held[key.scancode]) keys[key.virtualKey] |= 0x80;
  for (const EitherSide& key : EITHER_SIDE)
    keys[key.virtualKey] = uint8_t((keys[key.left] | keys[key.right]) & 0x80);
  SDL_Keymod modifiers = SDL_GetModState();
  if (modifiers & KMOD_CAPS) keys[VK_CAPITAL] |= 0x01;
  if (modifiers & KMOD_NUM) keys[0x90] |= 0x01;
  return 1;
}

}  // namespace port
