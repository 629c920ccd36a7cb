#include "engine/graphics/display/DrawTarget.h"

#include <algorithm>

#include "engine/core/EngineSettings.h"
#include "engine/core/MainWindow.h"
#include "engine/core/MessagePump.h"
#include "engine/graphics/display/Presentation.h"
#include "engine/graphics/display/Screen.h"
#include "engine/graphics/hardware/DeviceRenderTarget.h"
#include "engine/graphics/hardware/HardwareScene.h"
#include "engine/graphics/records/DisplayDevice.h"
#include "engine/graphics/records/DrawState.h"
#include "engine/graphics/records/GraphicsMode.h"
#include "engine/graphics/records/GraphTable.h"
#include "engine/graphics/records/TextureSet.h"
#include "engine/graphics/software/SoftwareScreen.h"
#include "engine/images/ColorFormat.h"
#include "engine/platform/WindowPort.h"

int currentDrawTarget = 0;
int drawTargetWidth = 0;
int drawTargetHeight = 0;

void ResetDrawTarget() {
  currentDrawTarget = 0;
  drawTargetWidth = 0;
  drawTargetHeight = 0;
}

void SetDrawTargetSize(int width, int height) {
  drawTargetWidth = width;
  drawTargetHeight = height;
  SetDrawArea(0, 0, width, height);
}

void SetDrawArea(int left, int top, int right, int bottom) {
  if (left > right) std::swap(left, right);
  if (top > bottom) std::swap(top, bottom);
  DrawArea& area = drawState.area;
  area.left = std::clamp(left, 0, std::max(0, drawTargetWidth));
  area.right = std::clamp(right, 0, std::max(0, drawTargetWidth));
  area.top = std::clamp(top, 0, std::max(0, drawTargetHeight));
  area.bottom = std::clamp(bottom, 0, std::max(0, drawTargetHeight));
  area.leftF = float(area.left);
  area.topF = float(area.top);
  area.rightF = float(area.right);
  area.bottomF = float(area.bottom);
  area.empty = area.left >= area.right || area.top >= area.bottom;
  if (!area.empty && hardwareMode) SetDeviceViewport(area.left, area.top, area.right, area.bottom);
}

namespace {

// Shows the front target every 32 ms of message pumping while it stays
// selected.
void FrontTargetTimer(port::WindowHandle window, uint32_t, uintptr_t, uint32_t) {
  port::KillTimer(window, FRONT_TARGET_TIMER_ID);
  if (currentDrawTarget != TARGET_FRONT) return;
  if (hardwareMode && windowModeFlag == 0) EnsureSubBackBuffer();
  PresentScreen(nullptr, 1);
  port::SetTimer(window, FRONT_TARGET_TIMER_ID, FRONT_TARGET_TIMER_MILLISECONDS, FrontTargetTimer);
}

// Makes the target current: the MEMIMG drawing goes to, the front-target
// timer, the target's size and, when the size changed, the draw area.
void ApplyDrawTarget(int target, GraphRecord* graph) {
  if (hardwareMode)
    SetDeviceRenderTarget(graph);
  else
    targetMemImg = graph ? &graph->memImg : &screenMemImg;

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
  if (hardwareMode) return ClearDeviceTarget(area, drawTargetWidth, drawTargetHeight);
  if (targetMemImg != nullptr && IsMemImgValid(targetMemImg)) {
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
