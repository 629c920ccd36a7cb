// The headless system key state: whatever the test scripted.
#include <cstring>

#include "engine/platform/InputPort.h"
#include "engine/platform/headless/HeadlessInput.h"

namespace {

uint8_t keyState[256];
bool readsFail = false;
int reads = 0;

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

}  // namespace port
