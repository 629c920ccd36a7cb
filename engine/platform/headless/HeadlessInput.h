// Script of the headless input port: the system key state that
// GetKeyboardState reports, by virtual-key code, and the joysticks that
// joyGetDevCapsA and joyGetPosEx report (every axis in 0 ... 65535, 32
// buttons).
#pragma once

#include <cstdint>

#include "engine/platform/InputPort.h"

namespace headless {

// Sets the whole byte of one virtual key (0x80 held, 0x01 toggled).
void SetVirtualKeyState(int virtualKey, uint8_t state);
// Holds or releases one virtual key (bit 7 only).
void PressVirtualKey(int virtualKey, bool held);
// All keys up and untoggled; GetKeyboardState succeeds again; no joystick,
// every joystick's position centred.
void ReleaseAllVirtualKeys();
// joyGetDevCapsA reports ids 0 ... count - 1 as attached.
void SetSystemJoysticks(int count);
// What joyGetPosEx reports for joystick id (0 ... 15) from now on; every
// axis centred, no button and the hat centred until set.
void SetSystemJoystickPosition(int id, const port::JoyInfoEx& position);
// Makes GetKeyboardState fail (return 0, leaving the array untouched).
void SetKeyboardStateFails(bool fails);
// Number of GetKeyboardState calls so far.
int KeyboardStateReads();

}  // namespace headless
