#include "engine/graphics/DrawTarget.h"

#include "engine/core/Engine.h"
#include "engine/graphics/DrawState.h"
#include "engine/graphics/GraphicsSystem.h"
#include "engine/graphics/Screen.h"

int currentDrawTarget = 0;
int drawTargetWidth = 0;
int drawTargetHeight = 0;
BackgroundColor backgroundColor = {0, 0, 0};

void ResetDrawTarget() {
  currentDrawTarget = 0;
  drawTargetWidth = 0;
  drawTargetHeight = 0;
}

namespace {

// -3 and -5 are accepted as the screen with the stored target size kept.
bool IsScreenTarget(int target) { return target >= -5 && target <= -2; }

}  // namespace

int SelectDrawTarget(int target) {
  if (!graphicsStarted) return -1;
  // Graphs loaded from images are never drawable; no drawable graphs exist
  // yet, so only the screen targets are accepted.
  if (!IsScreenTarget(target)) return -1;
  int width = drawTargetWidth;
  int height = drawTargetHeight;
  if (target == TARGET_BACK || target == TARGET_FRONT) {
    width = ScreenWidth();
    height = ScreenHeight();
  }
  currentDrawTarget = target;
  bool sameSize = width == drawTargetWidth && height == drawTargetHeight;
  drawTargetWidth = width;
  drawTargetHeight = height;
  if (!sameSize) SetDrawArea(0, 0, width, height);
  return 0;
}

int ClearDrawTarget(const Rect* area) {
  (void)area;
  return 0;
}
