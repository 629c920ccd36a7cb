// The system keyboard and joysticks, as the input logic reaches them: the
// system's key state (user32's GetKeyboardState, indexed by virtual-key
// code) and the joystick calls (winmm's joyGetDevCapsA). Names and values
// are the platform's own. DirectInput has a port of its own
// (DirectInputPort.h).
//
// The win32 adapter forwards both. The sdl adapter answers from SDL's
// keyboard state, its scancodes mapped to virtual-key codes, and from SDL's
// game controllers; the headless one from a script (headless/HeadlessInput.h).
#pragma once

#include <cstdint>

namespace port {

// The 256 virtual-key bytes of the calling thread: bit 7 set while the key
// is held, bit 0 the toggle state. Non-zero on success.
int GetKeyboardState(uint8_t keys[256]);

// JOYCAPSA's size, and joyGetDevCapsA's answers.
constexpr uint32_t JOYCAPSA_SIZE = 404;
constexpr uint32_t JOYERR_NOERROR = 0;
constexpr uint32_t JOYERR_PARMS = 165;
constexpr uint32_t JOYERR_NODRIVER = 166;
constexpr uint32_t JOYERR_UNPLUGGED = 167;

// The capabilities of joystick joystickId (0, 1, ...): JOYERR_NOERROR when
// it is attached, with the record (the manufacturer and product ids and the
// name at least) filled in; JOYERR_UNPLUGGED when not; JOYERR_PARMS when
// size is below JOYCAPSA_SIZE. For the platforms where the engine binds no
// winmm.dll at run time.
uint32_t joyGetDevCapsA(uintptr_t joystickId, void* caps, uint32_t size);

// JOYCAPSA (404 bytes): the fields the engine reads are the axes' ranges.
struct JoyCaps {
  uint16_t wMid, wPid;
  char szPname[32];
  uint32_t wXmin, wXmax, wYmin, wYmax, wZmin, wZmax;
  uint32_t wNumButtons, wPeriodMin, wPeriodMax;
  uint32_t wRmin, wRmax, wUmin, wUmax, wVmin, wVmax;
  uint32_t wCaps, wMaxAxes, wNumAxes, wMaxButtons;
  char szRegKey[32];
  char szOEMVxD[260];
};

// JOYINFOEX (52 bytes): the position of every axis in its range of
// JoyCaps, the buttons as bits (bit 0 the first), the hat in hundredths of
// a degree clockwise from up.
struct JoyInfoEx {
  uint32_t dwSize, dwFlags;
  uint32_t dwXpos, dwYpos, dwZpos, dwRpos, dwUpos, dwVpos;
  uint32_t dwButtons, dwButtonNumber, dwPOV;
  uint32_t dwReserved1, dwReserved2;
};
constexpr uint32_t JOY_RETURNALL = 0x000000FF;
constexpr uint32_t JOY_POVCENTERED = 0xFFFF;

// The position of joystick joystickId: JOYERR_NOERROR with info filled in
// (info->dwSize must be sizeof(JoyInfoEx)), JOYERR_UNPLUGGED when it is not
// attached, JOYERR_PARMS for a bad id or size. For the platforms where the
// engine binds no winmm.dll at run time.
uint32_t joyGetPosEx(uint32_t joystickId, JoyInfoEx* info);

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

}  // namespace port
