#include "engine/graphics/DrawTarget.h"

#include "engine/core/MainWindow.h"
#include "engine/core/MessagePump.h"
#include "engine/graphics/DrawState.h"
#include "engine/graphics/GraphTable.h"
#include "engine/graphics/GraphicsSystem.h"
#include "engine/graphics/Presentation.h"
#include "engine/graphics/Screen.h"
#include "engine/graphics/software/SoftwareScreen.h"
#include "engine/graphics/TextureSet.h"
#include "engine/images/ColorFormat.h"
#include "engine/platform/WindowPort.h"

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

// -3 and -5 stand for the screen too, keeping the stored target size.
bool IsScreenTarget(int target) { return target >= -5 && target <= -2; }

// Shows the front target every 32 ms of message pumping while it stays
// selected.
void FrontTargetTimer(port::WindowHandle window, uint32_t, uintptr_t, uint32_t) {
  port::KillTimer(window, FRONT_TARGET_TIMER_ID);
  if (currentDrawTarget != TARGET_FRONT) return;
  PresentScreen(nullptr, 1);
  port::SetTimer(window, FRONT_TARGET_TIMER_ID, FRONT_TARGET_TIMER_MILLISECONDS, FrontTargetTimer);
}

// Makes the target current: the MEMIMG drawing goes to, the front-target
// timer, the target's size and, when the size changed, the draw area.
void ApplyDrawTarget(int target, GraphRecord* graph) {
  if (!hardwareMode) targetMemImg = graph ? &graph->memImg : &screenMemImg;

  currentDrawTarget = target;
  if (target == TARGET_FRONT && mainWindow != nullptr)
    port::SetTimer(mainWindow, FRONT_TARGET_TIMER_ID, FRONT_TARGET_TIMER_MILLISECONDS,
                   FrontTargetTimer);

  int width = drawTargetWidth;
  int height = drawTargetHeight;
  if (graph != nullptr) {
    width = graph->width;
    height = graph->height;
  } else if (target == TARGET_BACK || target == TARGET_FRONT) {
    width = ScreenWidth();
    height = ScreenHeight();
  }
  bool sameSize = width == drawTargetWidth && height == drawTargetHeight;
  drawTargetWidth = width;
  drawTargetHeight = height;
  if (!sameSize) SetDrawArea(0, 0, width, height);
}

}  // namespace

int SelectDrawTarget(int target) {
  if (!graphicsStarted) return -1;
  WaitWhileInactive();
  GraphRecord* graph = nullptr;
  if (!IsScreenTarget(target)) {
    graph = FindGraphRecord(target);
    if (graph == nullptr || !graph->textureSet->descriptor.drawable) return -1;
  }
  ApplyDrawTarget(target, graph);
  return 0;
}

int ClearDrawTarget(const Rect* area) {
  if (area != nullptr && (area->left < 0 || area->top < 0)) area = nullptr;
  if (!graphicsStarted) return 0;
  if (!hardwareMode && targetMemImg != nullptr && IsMemImgValid(targetMemImg)) {
    const ColorFormat& format = *targetMemImg->store->format;
    ClearMemImg(targetMemImg, area,
                EncodeColor(format, backgroundColor.red, backgroundColor.green,
                            backgroundColor.blue, 0));
  }
  return 0;
}

void ForgetDrawTargetGraph(Handle graph) {
  // No wait for the window here: releases also run during shut-down.
  if (currentDrawTarget == graph && graph >= 0) ApplyDrawTarget(TARGET_BACK, nullptr);
}
