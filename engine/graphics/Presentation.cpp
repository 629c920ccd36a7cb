#include "engine/core/Engine.h"
#include "engine/graphics/GraphicsSystem.h"
#include "engine/graphics/WindowHooks.h"

int PresentFrameArea(const Rect* area, int waitForVerticalBlank) {
  (void)area, (void)waitForVerticalBlank;
  if (!engineStarted) return -1;
  return 0;
}

int PresentFrame() { return PresentFrameArea(nullptr, 1); }

int ReadPixel(int x, int y) {
  (void)x, (void)y;
  return -1;
}
