// The input layer's state: one record for the process, zero at start.
#pragma once

#include <cstdint>

// directInput's value for a layer initialised without DirectInput.
inline void* const NO_DIRECT_INPUT_MARKER = reinterpret_cast<void*>(~uintptr_t(0));

constexpr int MAX_PADS = 16;

struct InputContext {
  // null: not initialised; NO_DIRECT_INPUT_MARKER: initialised without
  // DirectInput; else the DirectInput object.
  void* directInput;
  int isDirectInput8;
  int noDirectInput;  // both DirectInput versions failed; survives re-initialisation
  void* mouseDevice;
  void* keyboardDevice;
  void* keyboardEvent;
  uint32_t lastRefreshTime;     // timeGetTime() of the last refresh
  uint8_t deviceKeyState[256];  // by key number; bit 7 set = held
  int initialising;
  uint8_t refreshing;
  int padCount;
};

extern InputContext inputContext;

inline bool InputRunsWithoutDirectInput() {
  return inputContext.directInput == NO_DIRECT_INPUT_MARKER;
}
