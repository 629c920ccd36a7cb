#include "engine/graphics/hardware/HardwareScene.h"

#include "engine/graphics/hardware/VertexBatch.h"
#include "engine/graphics/records/DisplayDevice.h"

namespace {

int sceneOpen = 0;

}  // namespace

void BeginSceneIfNeeded() {
  if (sceneOpen || displayDevice.device == nullptr) return;
  if (port::IDirect3DDevice9_BeginScene(displayDevice.device) >= 0) sceneOpen = 1;
}

void EndSceneIfOpen() {
  if (!sceneOpen) return;
  sceneOpen = 0;
  if (displayDevice.device != nullptr) port::IDirect3DDevice9_EndScene(displayDevice.device);
}

void ForgetScene() {
  sceneOpen = 0;
  EmptyVertexBatches();
}

void SetDeviceViewport(int left, int top, int right, int bottom) {
  if (displayDevice.device == nullptr) return;
  FlushBatch();
  port::D3DViewport viewport = {uint32_t(left), uint32_t(top), uint32_t(right - left),
                                uint32_t(bottom - top), 0.0f, 1.0f};
  port::IDirect3DDevice9_SetViewport(displayDevice.device, &viewport);
}
