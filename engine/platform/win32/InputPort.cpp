// The system key state from user32, the joysticks from winmm.
//
// The port header comes first: its constants carry names that windows.h
// and mmsystem.h define as macros.
#include "engine/platform/InputPort.h"

namespace portValue {
constexpr auto joy_returnall = port::JOY_RETURNALL;
constexpr auto joy_povcentered = port::JOY_POVCENTERED;
}  // namespace portValue

#include <windows.h>
#include <mmsystem.h>

#include <cstddef>

static_assert(sizeof(JOYCAPSA) == port::JOYCAPSA_SIZE, "JOYCAPSA");
static_assert(sizeof(port::JoyCaps) == sizeof(JOYCAPSA) &&
                  offsetof(port::JoyCaps, wXmin) == offsetof(JOYCAPSA, wXmin) &&
                  offsetof(port::JoyCaps, wRmin) == offsetof(JOYCAPSA, wRmin) &&
                  offsetof(port::JoyCaps, wVmax) == offsetof(JOYCAPSA, wVmax),
              "JoyCaps");
static_assert(sizeof(port::JoyInfoEx) == sizeof(JOYINFOEX) &&
                  offsetof(port::JoyInfoEx, dwRpos) == offsetof(JOYINFOEX, dwRpos) &&
                  offsetof(port::JoyInfoEx, dwPOV) == offsetof(JOYINFOEX, dwPOV),
              "JoyInfoEx");
static_assert(portValue::joy_returnall == JOY_RETURNALL &&
                  portValue::joy_povcentered == JOY_POVCENTERED,
              "joystick constants");

namespace port {

int GetKeyboardState(uint8_t keys[256]) { return ::GetKeyboardState(keys); }

uint32_t joyGetDevCapsA(uintptr_t joystickId, void* caps, uint32_t size) {
  return ::joyGetDevCapsA(joystickId, static_cast<JOYCAPSA*>(caps), size);
}

uint32_t joyGetPosEx(uint32_t joystickId, JoyInfoEx* info) {
  return ::joyGetPosEx(joystickId, reinterpret_cast<JOYINFOEX*>(info));
}

}  // namespace port
