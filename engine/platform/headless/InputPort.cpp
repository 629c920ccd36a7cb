// The headless system key state and joysticks: whatever the test scripted.
#include <array>
#include <cstring>

#include "engine/platform/InputPort.h"
#include "engine/platform/headless/HeadlessInput.h"

namespace {

uint8_t keyState[256];
bool readsFail = false;
int reads = 0;
int joysticks = 0;

constexpr int MAX_JOYSTICKS = 16;
constexpr uint32_t AXIS_MAXIMUM = 65535;
constexpr uint32_t AXIS_CENTRE = 32767;
constexpr uint32_t BUTTONS = 32;

port::JoyInfoEx Centred() {
  port::JoyInfoEx position{};
  position.dwSize = sizeof position;
  position.dwFlags = port::JOY_RETURNALL;
  position.dwXpos = position.dwYpos = position.dwZpos = AXIS_CENTRE;
  position.dwRpos = position.dwUpos = position.dwVpos = AXIS_CENTRE;
  position.dwPOV = port::JOY_POVCENTERED;
  return position;
}

std::array<port::JoyInfoEx, MAX_JOYSTICKS> AllCentred() {
  std::array<port::JoyInfoEx, MAX_JOYSTICKS> all;
  all.fill(Centred());
  return all;
}

std::array<port::JoyInfoEx, MAX_JOYSTICKS> positions = AllCentred();

}  // namespace

namespace headless {

void SetVirtualKeyState(int virtualKey, uint8_t state) { keyState[virtualKey & 0xFF] = state; }

void PressVirtualKey(int virtualKey, bool held) {
  uint8_t& key = keyState[virtualKey & 0xFF];
  key = uint8_t(held ? key | 0x80 : key & ~0x80);
}

void ReleaseAllVirtualKeys() {
  std::memset(keyState, 0, sizeof keyState);
  readsFail = false;
  joysticks = 0;
  positions = AllCentred();
}

void SetSystemJoysticks(int count) { joysticks = count; }

void SetSystemJoystickPosition(int id, const port::JoyInfoEx& position) {
  if (id >= 0 && id < MAX_JOYSTICKS) positions[size_t(id)] = position;
}

void SetKeyboardStateFails(bool fails) { readsFail = fails; }
int KeyboardStateReads() { return reads; }

}  // namespace headless

namespace port {

int GetKeyboardState(uint8_t keys[256]) {
  reads += 1;
  if (readsFail) return 0;
  std::memcpy(keys, keyState, sizeof keyState);
  return 1;
}

uint32_t joyGetDevCapsA(uintptr_t joystickId, void* caps, uint32_t size) {
  if (caps == nullptr || size < JOYCAPSA_SIZE) return JOYERR_PARMS;
  if (joystickId >= uintptr_t(joysticks)) return JOYERR_UNPLUGGED;
  JoyCaps filled{};
  filled.wXmax = filled.wYmax = filled.wZmax = AXIS_MAXIMUM;
  filled.wRmax = filled.wUmax = filled.wVmax = AXIS_MAXIMUM;
  filled.wNumButtons = filled.wMaxButtons = BUTTONS;
  filled.wNumAxes = filled.wMaxAxes = 6;
  std::memcpy(caps, &filled, sizeof filled);
  return JOYERR_NOERROR;
}

uint32_t joyGetPosEx(uint32_t joystickId, JoyInfoEx* info) {
  if (info == nullptr || info->dwSize != sizeof(JoyInfoEx) || joystickId >= MAX_JOYSTICKS)
    return JOYERR_PARMS;
  if (joystickId >= uint32_t(joysticks)) return JOYERR_UNPLUGGED;
  const uint32_t flags = info->dwFlags;
  *info = positions[size_t(joystickId)];
  info->dwFlags = flags;
  return JOYERR_NOERROR;
}

}  // namespace port
