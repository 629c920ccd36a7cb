// The system's joystick calls (winmm's where the engine bound it, else the
// platform's own: SDL's game controllers on Linux), which serve the pads
// when the engine runs without DirectInput.
#pragma once

#include <cstdint>

#include "engine/platform/InputPort.h"

// joyGetDevCapsA of joystick id: JOYERR_NOERROR with caps filled in.
uint32_t GetSystemJoystickCaps(int id, port::JoyCaps* caps);
// joyGetPosEx of joystick id with every control asked for: JOYERR_NOERROR
// with position filled in.
uint32_t GetSystemJoystickPosition(int id, port::JoyInfoEx* position);
// The joysticks attached: ids 0, 1, ... until the first that is not, at
// most limit.
int CountSystemJoysticks(int limit);
