#include "engine/core/Engine.h"
#include "engine/graphics/DrawState.h"
#include "engine/graphics/GraphicsSystem.h"

int PaintBox(int x1, int y1, int x2, int y2, uint32_t color, int filled) {
  (void)x1, (void)y1, (void)x2, (void)y2, (void)color, (void)filled;
  if (!graphicsStarted) return -1;
  return 0;
}
