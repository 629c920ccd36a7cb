// The key state and the two key queries.
#include "engine/core/Engine.h"
#include "engine/core/EngineCallLock.h"
#include "engine/core/MainWindow.h"
#include "engine/core/MessagePump.h"
#include "engine/core/SystemInfo.h"
#include "engine/input/Input.h"
#include "engine/input/InputContext.h"
#include "engine/input/KeyNumbers.h"
#include "engine/input/VirtualKeyMap.h"
#include "engine/platform/ClockPort.h"
#include "engine/platform/DirectInputPort.h"
#include "engine/platform/InputPort.h"

namespace {

// Clears the re-entry flag on every way out of a refresh.
struct RefreshGuard {
  RefreshGuard() { inputContext.refreshing = 1; }
  ~RefreshGuard() { inputContext.refreshing = 0; }
};

// The system key state belongs to the calling thread: it is read only on
// the thread that holds the engine-call lock (the main thread inside
// PumpMessages).
bool OwnsEngineCallLock() {
  EngineCallLockView lock = InspectEngineCallLock();
  return lock.held && lock.owner == CurrentEngineThreadId();
}

bool RefreshFromSystemKeyState() {
  if (!OwnsEngineCallLock()) return false;
  uint32_t now = port::timeGetTime();
  if (now == inputContext.lastRefreshTime) return false;
  inputContext.lastRefreshTime = now;
  if (PumpOnce() != 0) return false;
  uint8_t virtualKeys[256];
  if (!port::GetKeyboardState(virtualKeys)) return false;
  TranslateVirtualKeys(virtualKeys, inputContext.deviceKeyState);
  return true;
}

// Reads the keyboard device, retrying once after acquiring it again; a
// failed read leaves the previous state.
bool ReadKeyboardDevice() {
  port::DirectInputDeviceHandle keyboard = inputContext.keyboardDevice;
  if (port::DiSucceeded(port::IDirectInputDevice_GetDeviceState(keyboard, 256,
                                                                inputContext.deviceKeyState)))
    return true;
  if (!port::DiSucceeded(port::IDirectInputDevice_Acquire(keyboard))) return false;
  return port::DiSucceeded(
      port::IDirectInputDevice_GetDeviceState(keyboard, 256, inputContext.deviceKeyState));
}

// The device is read only before Windows Vista; from Vista on, and without
// a DirectInput keyboard, the system key state serves.
bool UsesSystemKeyState() {
  return inputContext.noDirectInput || inputContext.keyboardDevice == nullptr ||
         WindowsVersionAtLeast(WINDOWS_VERSION_VISTA);
}

bool KeyEventSignalled() {
  return port::WaitForSingleObject(inputContext.keyboardEvent, 0) == port::WAIT_OBJECT_0;
}

// The device is read at any time, but only the thread that holds the
// engine-call lock (the main thread inside PumpMessages) runs the message
// pump first. A key query made between two pumps is made in the middle of
// the program's frame: a pump there would dispatch the front-target timer,
// a paint or an activation, which present the frame as far as it is drawn
// (right after the clear, a black picture) or rebuild the display under
// it. Those messages wait for the next PumpMessages instead.
//
// An activation handled by the pump may rebuild the display, and with it
// the input layer: what is read afterwards is the layer as it is then, and
// a layer left without a keyboard device is not read at all.
//
// A key event forces a refresh even within the same millisecond.
bool RefreshFromKeyboardDevice() {
  uint32_t now = port::timeGetTime();
  if (now == inputContext.lastRefreshTime && !KeyEventSignalled()) return false;
  if (OwnsEngineCallLock()) {
    if (PumpOnce() != 0) return false;
    if (UsesSystemKeyState()) return false;
  }
  if (!ReadKeyboardDevice()) return false;
  inputContext.lastRefreshTime = now;
  if (KeyEventSignalled()) port::ResetEvent(inputContext.keyboardEvent);
  // The right Shift key always comes from the system key state.
  uint8_t virtualKeys[256];
  if (port::GetKeyboardState(virtualKeys))
    inputContext.deviceKeyState[DIK_RSHIFT] = virtualKeys[port::VK_RSHIFT];
  return true;
}

}  // namespace

bool RefreshKeyState() {
  if (inputContext.refreshing) return false;
  RefreshGuard guard;
  if (UsesSystemKeyState()) return RefreshFromSystemKeyState();
  return RefreshFromKeyboardDevice();
}

int ReadKeyboard(uint8_t keys[256]) {
  WaitWhileInactive();
  if (inputContext.directInput == nullptr && !windowClosing) return InitializeInput();
  if (keys == nullptr) return -1;
  RefreshKeyState();
  for (int i = 0; i < 256; ++i) keys[i] = inputContext.deviceKeyState[i] >> 7;
  return 0;
}

int IsKeyDown(int key) {
  // Key numbers are bytes: anything else is a key that is never held.
  if (key < 0 || key > 255) return 0;
  WaitWhileInactive();
  if (inputContext.directInput == nullptr) return windowClosing ? 0 : InitializeInput();
  RefreshKeyState();
  return inputContext.deviceKeyState[key] >> 7;
}
