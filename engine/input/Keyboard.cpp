#include <cstring>

#include "engine/core/Engine.h"
#include "engine/input/Input.h"
#include "engine/input/InputContext.h"

InputContext inputContext;

int InitializeInput() {
  if (inputContext.directInput != nullptr || inputContext.initialising) return 0;
  inputContext.initialising = 1;
  int noDirectInput = inputContext.noDirectInput;
  std::memset(&inputContext, 0, sizeof inputContext);
  inputContext.noDirectInput = 1;
  (void)noDirectInput;
  inputContext.directInput = NO_DIRECT_INPUT_MARKER;
  inputContext.initialising = 0;
  return 0;
}

int TerminateInput() {
  inputContext.directInput = nullptr;
  return 0;
}

bool RefreshKeyState() { return false; }

int ReacquireInputDevices() { return 0; }

int ReadKeyboard(uint8_t keys[256]) {
  if (inputContext.directInput == nullptr) return InitializeInput();
  for (int i = 0; i < 256; ++i) keys[i] = inputContext.deviceKeyState[i] >> 7;
  return 0;
}

int IsKeyDown(int key) {
  if (key < 0 || key > 255) return 0;
  if (inputContext.directInput == nullptr) return InitializeInput();
  return inputContext.deviceKeyState[key] >> 7;
}
