#include "engine/graphics/display/ScreenLock.h"

#include <cstring>

#include "engine/graphics/display/DrawTarget.h"
#include "engine/graphics/hardware/HardwareScene.h"
#include "engine/graphics/hardware/SurfaceLock.h"
#include "engine/graphics/hardware/TextureFormats.h"
#include "engine/graphics/records/DisplayDevice.h"
#include "engine/graphics/records/GraphicsMode.h"
#include "engine/graphics/records/GraphTable.h"
#include "engine/graphics/records/TextureSet.h"
#include "engine/graphics/software/SoftwareScreen.h"
#include "engine/images/PixelImage.h"
#include "engine/services/Log.h"

int drawScreenLocked = 0;

int LockDrawScreen(const Rect& area, PixelImage* view) {
  // One lock at a time: a second would overwrite the first's record and
  // leak its copy of the surface.
  if (!graphicsStarted || drawScreenLocked) return -1;
  if (hardwareMode) {
    FlushBatch();
    EndSceneIfOpen();
  }
  if (area.left < 0 || area.left >= area.right || area.right > drawTargetWidth || area.top < 0 ||
      area.top >= area.bottom || area.bottom > drawTargetHeight)
    return -1;
  if (hardwareMode) {
    GraphRecord* graph = nullptr;
    if (!IsScreenTarget(currentDrawTarget)) {
      graph = FindGraphRecord(currentDrawTarget);
      if (graph == nullptr) return -1;
    }
    if (LockDeviceTarget(graph, area, view) != 0) return -1;
    drawScreenLocked = 1;
    return 0;
  }
  if (targetMemImg == nullptr || !IsMemImgValid(targetMemImg)) return -1;
  const MemImgStore& store = *targetMemImg->store;
  std::memset(view, 0, sizeof *view);
  view->format = *store.format;
  view->width = area.right - area.left;
  view->height = area.bottom - area.top;
  view->pitch = store.pitch;
  view->pixels = MemImgPixelAddress(*targetMemImg, area.left, area.top);
  drawScreenLocked = 1;
  return 0;
}

void UnlockDrawScreen() {
  if (drawScreenLocked) UnlockDeviceTarget();
  drawScreenLocked = 0;
}

int ReadPixel(int x, int y) {
  if (x < 0 || y < 0 || x >= drawTargetWidth || y >= drawTargetHeight) return -1;
  PixelImage view;
  if (LockDrawScreen(Rect{x, y, x + 1, y + 1}, &view) != 0) return -1;
  uint32_t value = ReadPixelValue(static_cast<const uint8_t*>(view.pixels),
                                  view.format.bytesPerPixel);
  UnlockDrawScreen();
  if (hardwareMode) {
    // A graph's texture format is converted into the screen's format.
    const ColorFormat* screen = D3DFormatColorFormat(displayDevice.backBufferFormat);
    if (screen != nullptr) value = ConvertColor(*screen, view.format, value);
    if (screen != nullptr) view.format = *screen;
  }
  // Only the colour bits: the unused byte of a 32-bit screen reads as 0.
  value &= view.format.redMask | view.format.greenMask | view.format.blueMask;
  return int(value);
}
