// The headless system key state and joysticks: whatever the test scripted.
#include <cstring>

#include "engine/platform/InputPort.h"
#include "engine/platform/headless/HeadlessInput.h"

namespace {

uint8_t keyState[256];
bool readsFail = false;
int reads = 0;
int joysticks = 0;

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
}

void SetSystemJoysticks(int count) { joysticks = count; }

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
  std::memset(caps, 0, JOYCAPSA_SIZE);
  return JOYERR_NOERROR;
}

}  // namespace port
