// The mouse position, for the engine's own window features and, through
// QueryMousePosition, for the program.
#include "engine/core/Engine.h"
#include "engine/core/MainWindow.h"
#include "engine/core/MessagePump.h"
#include "engine/input/Pads.h"
#include "engine/platform/WindowPort.h"

int ReadMousePosition(int* x, int* y) {
  port::Point cursor{0, 0};
  port::GetCursorPos(&cursor);
  int positionX = cursor.x;
  int positionY = cursor.y;
  if (windowModeFlag != 0) {
    // Relative to the client area (the main window has no tool bar), in
    // screen pixels of the window's size rates, truncated toward zero.
    positionX = int((cursor.x - mainWindowState.clientTopLeft.x) / WINDOW_SIZE_RATE_X);
    positionY = int((cursor.y - mainWindowState.clientTopLeft.y) / WINDOW_SIZE_RATE_Y);
  }
  if (x) *x = positionX;
  if (y) *y = positionY;
  return 0;
}

int QueryMousePosition(int* x, int* y) {
  if (!engineStarted) return -1;
  WaitWhileInactive();
  return ReadMousePosition(x, y);
}
