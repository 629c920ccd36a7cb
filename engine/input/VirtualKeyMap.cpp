#include "engine/input/VirtualKeyMap.h"

#include <cstring>

#include "engine/input/KeyNumbers.h"

// Punctuation follows the Japanese keyboard layout.
const VirtualKeyRow VirtualKeyMap[VIRTUAL_KEY_MAP_ROWS + 1] = {
    // Letters.
    {0x41, DIK_A}, {0x42, DIK_B}, {0x43, DIK_C}, {0x44, DIK_D}, {0x45, DIK_E}, {0x46, DIK_F},
    {0x47, DIK_G}, {0x48, DIK_H}, {0x49, DIK_I}, {0x4A, DIK_J}, {0x4B, DIK_K}, {0x4C, DIK_L},
    {0x4D, DIK_M}, {0x4E, DIK_N}, {0x4F, DIK_O}, {0x50, DIK_P}, {0x51, DIK_Q}, {0x52, DIK_R},
    {0x53, DIK_S}, {0x54, DIK_T}, {0x55, DIK_U}, {0x56, DIK_V}, {0x57, DIK_W}, {0x58, DIK_X},
    {0x59, DIK_Y}, {0x5A, DIK_Z},
    // Digits.
    {0x30, DIK_0}, {0x31, 0x02}, {0x32, 0x03}, {0x33, 0x04}, {0x34, 0x05}, {0x35, 0x06},
    {0x36, 0x07}, {0x37, 0x08}, {0x38, 0x09}, {0x39, 0x0A},
    // Arrows.
    {0x25, DIK_LEFT}, {0x26, DIK_UP}, {0x27, DIK_RIGHT}, {0x28, DIK_DOWN},
    // Punctuation.
    {0xBB, DIK_SEMICOLON},  // VK_OEM_PLUS
    {0xBA, DIK_COLON},      // VK_OEM_1
    {0xDB, DIK_LBRACKET},   // VK_OEM_4
    {0xDD, DIK_RBRACKET},   // VK_OEM_6
    {0xC0, DIK_AT},         // VK_OEM_3
    {0xE2, DIK_BACKSLASH},  // VK_OEM_102
    {0xBC, DIK_COMMA},      // VK_OEM_COMMA
    {0xBD, DIK_MINUS},      // VK_OEM_MINUS
    {0xDC, DIK_YEN},        // VK_OEM_5
    {0xBE, DIK_PERIOD},     // VK_OEM_PERIOD
    {0xBF, DIK_SLASH},      // VK_OEM_2
    // Editing.
    {0x2E, DIK_DELETE}, {0x1B, DIK_ESCAPE}, {0x20, DIK_SPACE}, {0x08, DIK_BACK},
    {0x09, DIK_TAB}, {0x0D, DIK_RETURN},
    // Numeric pad.
    {0x60, DIK_NUMPAD0}, {0x61, DIK_NUMPAD1}, {0x62, DIK_NUMPAD2}, {0x63, DIK_NUMPAD3},
    {0x64, DIK_NUMPAD4}, {0x65, DIK_NUMPAD5}, {0x66, DIK_NUMPAD6}, {0x67, DIK_NUMPAD7},
    {0x68, DIK_NUMPAD8}, {0x69, DIK_NUMPAD9}, {0x6A, DIK_MULTIPLY}, {0x6B, DIK_ADD},
    {0x6D, DIK_SUBTRACT}, {0x6E, DIK_DECIMAL}, {0x6F, DIK_DIVIDE},
    {0x0D, DIK_NUMPADENTER},  // VK_RETURN again
    // Modifiers.
    {0xA0, DIK_LSHIFT}, {0xA1, DIK_RSHIFT}, {0xA2, DIK_LCONTROL}, {0xA3, DIK_RCONTROL},
    // Navigation.
    {0x21, DIK_PRIOR}, {0x22, DIK_NEXT}, {0x23, DIK_END}, {0x24, DIK_HOME}, {0x2D, DIK_INSERT},
    // Others.
    {0xA4, DIK_LMENU}, {0xA5, DIK_RMENU}, {0x91, DIK_SCROLL}, {0x14, DIK_CAPITAL},
    {0x13, DIK_PAUSE},
    // Function keys.
    {0x70, DIK_F1}, {0x71, 0x3C}, {0x72, 0x3D}, {0x73, 0x3E}, {0x74, 0x3F}, {0x75, 0x40},
    {0x76, 0x41}, {0x77, 0x42}, {0x78, 0x43}, {0x79, DIK_F10}, {0x7A, DIK_F11}, {0x7B, DIK_F12},
    {VIRTUAL_KEY_MAP_END, 0},
};

void TranslateVirtualKeys(const uint8_t virtualKeys[256], uint8_t keyState[256]) {
  std::memset(keyState, 0, 256);
  for (const VirtualKeyRow* row = VirtualKeyMap; row->virtualKey != VIRTUAL_KEY_MAP_END; ++row)
    keyState[row->keyNumber] = virtualKeys[row->virtualKey];
}
