#include "engine/input/SystemJoysticks.h"

#include "engine/core/RuntimeLibraries.h"

uint32_t GetSystemJoystickCaps(int id, port::JoyCaps* caps) {
  if (winmmLibrary.joyGetDevCapsA != nullptr)
    return winmmLibrary.joyGetDevCapsA(uintptr_t(id), caps, port::JOYCAPSA_SIZE);
  return port::joyGetDevCapsA(uintptr_t(id), caps, port::JOYCAPSA_SIZE);
}

uint32_t GetSystemJoystickPosition(int id, port::JoyInfoEx* position) {
  *position = port::JoyInfoEx{};
  position->dwSize = sizeof *position;
  position->dwFlags = port::JOY_RETURNALL;
  if (winmmLibrary.joyGetPosEx != nullptr)
    return winmmLibrary.joyGetPosEx(uint32_t(id), position);
  return port::joyGetPosEx(uint32_t(id), position);
}

int CountSystemJoysticks(int limit) {
  int count = 0;
  port::JoyCaps caps;
  while (count < limit && GetSystemJoystickCaps(count, &caps) == port::JOYERR_NOERROR) count += 1;
  return count;
}
