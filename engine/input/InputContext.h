// The input layer's state: one record for the process, zero at start.
#pragma once

#include <cstdint>

// directInput's value for a layer initialised without DirectInput.
inline void* const NO_DIRECT_INPUT_MARKER = reinterpret_cast<void*>(~uintptr_t(0));

struct InputContext {
  void* directInput;  // null: not initialised; NO_DIRECT_INPUT_MARKER: without DirectInput
  int isDirectInput8;
  int noDirectInput;  // survives re-initialisation
  void* mouseDevice;
  void* keyboardDevice;
  void* keyboardEvent;
  uint32_t lastRefreshTime;
  uint8_t deviceKeyState[256];  // bit 7 set = held, by DirectInput key number
  int initialising;
  uint8_t refreshing;
  int padCount;
};

extern InputContext inputContext;
