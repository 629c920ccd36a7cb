#include "engine/graphics/DrawTarget.h"

#include "engine/core/MainWindow.h"
#include "engine/core/MessagePump.h"
#include "engine/core/EngineSettings.h"
#include "engine/graphics/DeviceStateCache.h"
#include "engine/graphics/DisplayDevice.h"
#include "engine/graphics/DrawState.h"
#include "engine/graphics/HardwareScene.h"
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

port::Direct3DSurface9Handle ScreenRenderSurface() {
  return displayDevice.subBackBuffer ? displayDevice.subBackBuffer : displayDevice.backBuffer;
}

void SetDeviceRenderTarget(GraphRecord* graph) {
  port::Direct3DDevice9Handle device = displayDevice.device;
  if (device == nullptr) return;
  FlushBatch();
  EndSceneIfOpen();
  SendTextureUnbound();
  if (graph != nullptr) {
    // A graph larger than the screen cannot use the screen's depth buffer.
    bool larger = graph->width > ScreenWidth() || graph->height > ScreenHeight();
    port::IDirect3DDevice9_SetDepthStencilSurface(device, larger ? nullptr : displayDevice.depthBuffer);
    port::IDirect3DDevice9_SetRenderTarget(device, 0, PiecesOf(graph->textureSet)[0].surface);
    return;
  }
  port::IDirect3DDevice9_SetRenderTarget(device, 0, ScreenRenderSurface());
  port::IDirect3DDevice9_SetDepthStencilSurface(device, displayDevice.depthBuffer);
}

int EnsureSubBackBuffer() {
  if (displayDevice.subBackBuffer != nullptr) return 0;
  if (displayDevice.device == nullptr) return -1;
  FlushBatch();
  EndSceneIfOpen();
  if (CreateSubBackBuffer() != 0) return -1;
  port::IDirect3DDevice9_StretchRect(displayDevice.device, displayDevice.backBuffer, nullptr,
                                     displayDevice.subBackBuffer, nullptr, port::D3DTEXF_NONE);
  port::IDirect3DDevice9_SetRenderTarget(displayDevice.device, 0, displayDevice.subBackBuffer);
  return 0;
}

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
  if (hardwareMode) return ClearDeviceTarget(area);
  if (targetMemImg != nullptr && IsMemImgValid(targetMemImg)) {
    const ColorFormat& format = *targetMemImg->store->format;
    ClearMemImg(targetMemImg, area,
                EncodeColor(format, backgroundColor.red, backgroundColor.green,
                            backgroundColor.blue, 0));
  }
  return 0;
}

int ClearDeviceTarget(const Rect* area) {
  port::Direct3DDevice9Handle device = displayDevice.device;
  if (device == nullptr) return 0;
  FlushBatch();
  EndSceneIfOpen();
  // The viewport covers the whole target while clearing, then the draw
  // area again.
  SetDeviceViewport(0, 0, drawTargetWidth, drawTargetHeight);
  port::D3DRect rect = {};
  uint32_t count = 0;
  if (area != nullptr) {
    rect = {area->left, area->top, area->right, area->bottom};
    count = 1;
  }
  uint32_t color = uint32_t(backgroundColor.red & 0xFF) << 16 |
                   uint32_t(backgroundColor.green & 0xFF) << 8 | uint32_t(backgroundColor.blue & 0xFF);
  port::IDirect3DDevice9_Clear(device, count, count ? &rect : nullptr, port::D3DCLEAR_TARGET, color,
                               1.0f, 0);
  if (displayDevice.depthBuffer != nullptr)
    port::IDirect3DDevice9_Clear(device, count, count ? &rect : nullptr, port::D3DCLEAR_ZBUFFER, 0,
                                 1.0f, 0);
  const DrawArea& drawArea = drawState.area;
  if (!drawArea.empty)
    SetDeviceViewport(drawArea.left, drawArea.top, drawArea.right, drawArea.bottom);
  return 0;
}

void ForgetDrawTargetGraph(Handle graph) {
  // No wait for the window here: releases also run during shut-down.
  if (currentDrawTarget == graph && graph >= 0) ApplyDrawTarget(TARGET_BACK, nullptr);
}
