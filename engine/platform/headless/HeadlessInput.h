// Script of the headless input port: the system key state that
// GetKeyboardState reports, by virtual-key code, and the joysticks that
// joyGetDevCapsA reports.
#pragma once

#include <cstdint>

namespace headless {

// Sets the whole byte of one virtual key (0x80 held, 0x01 toggled).
void SetVirtualKeyState(int virtualKey, uint8_t state);
// Holds or releases one virtual key (bit 7 only).
void PressVirtualKey(int virtualKey, bool held);
// All keys up and untoggled; GetKeyboardState succeeds again; no joystick.
void ReleaseAllVirtualKeys();
// joyGetDevCapsA reports ids 0 ... count - 1 as attached.
void SetSystemJoysticks(int count);
// Makes GetKeyboardState fail (return 0, leaving the array untouched).
void SetKeyboardStateFails(bool fails);
// Number of GetKeyboardState calls so far.
int KeyboardStateReads();

}  // namespace headless
