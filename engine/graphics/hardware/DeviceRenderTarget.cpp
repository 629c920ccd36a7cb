#include "engine/graphics/hardware/DeviceRenderTarget.h"

#include "engine/graphics/hardware/DeviceStateCache.h"
#include "engine/graphics/hardware/HardwareDevice.h"
#include "engine/graphics/hardware/HardwareScene.h"
#include "engine/graphics/records/DisplayDevice.h"
#include "engine/graphics/records/DrawState.h"
#include "engine/graphics/records/GraphTable.h"
#include "engine/graphics/records/ScreenState.h"
#include "engine/graphics/records/TextureSet.h"

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
    bool larger = graph->width > screenState.width || graph->height > screenState.height;
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

int ClearDeviceTarget(const Rect* area, int targetWidth, int targetHeight) {
  port::Direct3DDevice9Handle device = displayDevice.device;
  if (device == nullptr) return 0;
  FlushBatch();
  EndSceneIfOpen();
  // The viewport covers the whole target while clearing, then the draw
  // area again.
  SetDeviceViewport(0, 0, targetWidth, targetHeight);
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
