// The pads and the mouse position. Without DirectInput there are no pad
// devices: the effects have nothing to start or stop and no vibration is
// ever timed; the pad records of the DirectInput path come with it.
#include "engine/input/Pads.h"

#include "engine/core/MainWindow.h"
#include "engine/core/MessagePump.h"
#include "engine/input/Input.h"
#include "engine/input/InputContext.h"
#include "engine/platform/WindowPort.h"

int RefreshPadEffects() { return 0; }

int UpdatePadVibration() { return 0; }

int StopPadVibration(int padNumber) {
  WaitWhileInactive();
  if (inputContext.directInput == nullptr && !windowClosing) return InitializeInput();
  int pad = padNumber & ~0x1000;
  if (pad < 1 || pad > inputContext.padCount) return 0;
  // A pad with a device and a vibration on would be stopped here; the
  // system-key-state layer has no pad devices.
  return 0;
}

int ReadMousePosition(int* x, int* y) {
  port::Point cursor{0, 0};
  port::GetCursorPos(&cursor);
  int positionX = cursor.x;
  int positionY = cursor.y;
  if (windowModeFlag != 0) {
    // Relative to the client area, in screen pixels of the window's size
    // rates.
    positionX = int((cursor.x - mainWindowState.clientTopLeft.x) / WINDOW_SIZE_RATE_X);
    positionY = int((cursor.y - mainWindowState.clientTopLeft.y) / WINDOW_SIZE_RATE_Y);
  }
  if (x) *x = positionX;
  if (y) *y = positionY;
  return 0;
}
