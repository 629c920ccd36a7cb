// The keyboard and DirectInput, as the input logic reaches them: the
// system's key state (user32's GetKeyboardState, indexed by virtual-key
// code) and the DirectInput declarations that the DirectInput path uses.
// Names and values are the platform's own.
//
// The win32 adapter forwards GetKeyboardState. The sdl adapter answers from
// SDL's keyboard state, its scancodes mapped to virtual-key codes; the
// headless one from a script (headless/HeadlessInput.h).
#pragma once

#include <cstdint>

#include "engine/platform/DirectDrawPort.h"  // ComGuid, HResult

namespace port {

// The 256 virtual-key bytes of the calling thread: bit 7 set while the key
// is held, bit 0 the toggle state. Non-zero on success.
int GetKeyboardState(uint8_t keys[256]);

// Virtual-key codes the engine names.
constexpr uint8_t VK_BACK = 0x08;
constexpr uint8_t VK_TAB = 0x09;
constexpr uint8_t VK_RETURN = 0x0D;
constexpr uint8_t VK_PAUSE = 0x13;
constexpr uint8_t VK_CAPITAL = 0x14;
constexpr uint8_t VK_ESCAPE = 0x1B;
constexpr uint8_t VK_SPACE = 0x20;
constexpr uint8_t VK_PRIOR = 0x21;
constexpr uint8_t VK_NEXT = 0x22;
constexpr uint8_t VK_END = 0x23;
constexpr uint8_t VK_HOME = 0x24;
constexpr uint8_t VK_LEFT = 0x25;
constexpr uint8_t VK_UP = 0x26;
constexpr uint8_t VK_RIGHT = 0x27;
constexpr uint8_t VK_DOWN = 0x28;
constexpr uint8_t VK_INSERT = 0x2D;
constexpr uint8_t VK_DELETE = 0x2E;
constexpr uint8_t VK_NUMPAD0 = 0x60;
constexpr uint8_t VK_MULTIPLY = 0x6A;
constexpr uint8_t VK_ADD = 0x6B;
constexpr uint8_t VK_SUBTRACT = 0x6D;
constexpr uint8_t VK_DECIMAL = 0x6E;
constexpr uint8_t VK_DIVIDE = 0x6F;
constexpr uint8_t VK_F1 = 0x70;
constexpr uint8_t VK_SCROLL = 0x91;
constexpr uint8_t VK_LSHIFT = 0xA0;
constexpr uint8_t VK_RSHIFT = 0xA1;
constexpr uint8_t VK_LCONTROL = 0xA2;
constexpr uint8_t VK_RCONTROL = 0xA3;
constexpr uint8_t VK_LMENU = 0xA4;
constexpr uint8_t VK_RMENU = 0xA5;
constexpr uint8_t VK_OEM_1 = 0xBA;
constexpr uint8_t VK_OEM_PLUS = 0xBB;
constexpr uint8_t VK_OEM_COMMA = 0xBC;
constexpr uint8_t VK_OEM_MINUS = 0xBD;
constexpr uint8_t VK_OEM_PERIOD = 0xBE;
constexpr uint8_t VK_OEM_2 = 0xBF;
constexpr uint8_t VK_OEM_3 = 0xC0;
constexpr uint8_t VK_OEM_4 = 0xDB;
constexpr uint8_t VK_OEM_5 = 0xDC;
constexpr uint8_t VK_OEM_6 = 0xDD;
constexpr uint8_t VK_OEM_102 = 0xE2;

// DirectInput, for the DirectInput path of the input layer: the COM class
// and interface ids, the device ids and the values it passes.
inline constexpr ComGuid CLSID_DirectInput = {
    0x25E609E0, 0xB259, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
inline constexpr ComGuid CLSID_DirectInput8 = {
    0x25E609E4, 0xB259, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
inline constexpr ComGuid IID_IDirectInput7A = {
    0x9A4CB684, 0x236D, 0x11D3, {0x8E, 0x9D, 0x00, 0xC0, 0x4F, 0x68, 0x44, 0xAE}};
inline constexpr ComGuid IID_IDirectInput8A = {
    0xBF798030, 0x483A, 0x4DA2, {0xAA, 0x99, 0x5D, 0x64, 0xED, 0x36, 0x97, 0x00}};
inline constexpr ComGuid GUID_SysMouse = {
    0x6F1D2B60, 0xD5A0, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
inline constexpr ComGuid GUID_SysKeyboard = {
    0x6F1D2B61, 0xD5A0, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};

constexpr HResult DI_OK = 0;
constexpr HResult DI_POLLEDDEVICE = 2;
constexpr uint32_t DISCL_EXCLUSIVE = 0x00000001;
constexpr uint32_t DISCL_NONEXCLUSIVE = 0x00000002;
constexpr uint32_t DISCL_FOREGROUND = 0x00000004;
constexpr uint32_t DISCL_BACKGROUND = 0x00000008;
constexpr uint32_t DIPH_DEVICE = 0;
constexpr uint32_t DIPH_BYOFFSET = 1;
constexpr uint32_t DIEDFL_ATTACHEDONLY = 0x00000001;
constexpr uint32_t DI8DEVCLASS_GAMECTRL = 4;
constexpr uint32_t DIRECTINPUT_VERSION_7 = 0x0700;
constexpr uint32_t DIRECTINPUT_VERSION_8 = 0x0800;

}  // namespace port
