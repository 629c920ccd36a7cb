// The input layer's state: one record for the process, zero at start.
#pragma once

#include <cstdint>

#include "engine/platform/DirectInputPort.h"

// directInput's value for a layer initialised without DirectInput.
inline port::DirectInputHandle const NO_DIRECT_INPUT_MARKER =
    reinterpret_cast<port::DirectInputHandle>(~uintptr_t(0));

constexpr int MAX_PADS = 16;
constexpr int PAD_NAME_SIZE = 260;

// One game controller set up through DirectInput.
struct PadRecord {
  port::DirectInputDeviceHandle device;
  port::DirectInputEffectHandle constantEffect;  // null: no constant force
  port::DirectInputEffectHandle periodicEffect;  // null: no sine
  port::EventHandle notifyEvent;
  int vibrationOn;        // a vibration is wanted
  int vibrationPower;     // 0 ... 10000
  int vibrationTime;      // milliseconds; negative: endless
  int vibrationElapsed;   // milliseconds played so far
  int vibrationLast;      // NowMilliseconds() of the last timing step
  int constantPlaying;    // which effects were last started
  int periodicPlaying;
  char instanceName[PAD_NAME_SIZE];
  char productName[PAD_NAME_SIZE];
};

struct InputContext {
  // null: not initialised; NO_DIRECT_INPUT_MARKER: initialised without
  // DirectInput; else the DirectInput object.
  port::DirectInputHandle directInput;
  int isDirectInput8;
  int noDirectInput;  // both DirectInput versions failed; survives re-initialisation
  port::DirectInputDeviceHandle mouseDevice;
  port::DirectInputDeviceHandle keyboardDevice;
  port::EventHandle keyboardEvent;  // signalled by the keyboard on every key event
  uint32_t lastRefreshTime;     // timeGetTime() of the last refresh
  uint8_t deviceKeyState[256];  // by key number; bit 7 set = held
  int initialising;
  int terminationPending;  // TerminateInput was called during the set-up
  uint8_t refreshing;
  int padCount;
  PadRecord pads[MAX_PADS];
};

extern InputContext inputContext;

inline bool InputRunsWithoutDirectInput() {
  return inputContext.directInput == NO_DIRECT_INPUT_MARKER;
}

// A DirectInput object is held (not merely the marker).
inline bool InputHasDirectInput() {
  return inputContext.directInput != nullptr && !InputRunsWithoutDirectInput();
}
