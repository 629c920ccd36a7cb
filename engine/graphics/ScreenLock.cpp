#include "engine/graphics/ScreenLock.h"

#include <cstring>

#include "engine/graphics/DisplayDevice.h"
#include "engine/graphics/DrawTarget.h"
#include "engine/graphics/GraphTable.h"
#include "engine/graphics/GraphicsSystem.h"
#include "engine/graphics/HardwareScene.h"
#include "engine/graphics/TextureFormats.h"
#include "engine/graphics/TextureSet.h"
#include "engine/graphics/software/SoftwareScreen.h"
#include "engine/images/PixelImage.h"
#include "engine/services/Log.h"

int drawScreenLocked = 0;

namespace {

SurfaceLock hardwareLock;

// The surface of the current target and its format: the graph's texture,
// or the sub back buffer or back buffer with the back buffer's format.
bool TargetSurface(port::Direct3DSurface9Handle* surface, uint32_t* format, int* left, int* top) {
  *left = *top = 0;
  if (!IsScreenTarget(currentDrawTarget)) {
    GraphRecord* graph = FindGraphRecord(currentDrawTarget);
    if (graph == nullptr || graph->textureSet->pieceCount < 1) return false;
    TexturePiece& piece = PiecesOf(graph->textureSet)[0];
    *surface = piece.surface;
    *format = textureFormatTable[graph->textureSet->formatClass];
    *left = graph->x;
    *top = graph->y;
    return *surface != nullptr;
  }
  *surface = displayDevice.subBackBuffer ? displayDevice.subBackBuffer : displayDevice.backBuffer;
  *format = displayDevice.backBufferFormat;
  return *surface != nullptr;
}

int LockHardwareScreen(const Rect& area, PixelImage* view) {
  port::Direct3DSurface9Handle surface;
  uint32_t format;
  int left, top;
  if (!TargetSurface(&surface, &format, &left, &top)) return -1;
  const ColorFormat* colorFormat = D3DFormatColorFormat(format);
  if (colorFormat == nullptr) return -1;
  port::WindowRect rect = {area.left + left, area.top + top, area.right + left, area.bottom + top};
  bool isScreen = IsScreenTarget(currentDrawTarget);
  if (!(isScreen && displayDevice.useBackBufferLock &&
        LockSurfaceDirect(surface, rect, &hardwareLock) == 0) &&
      LockSurfaceByCopy(surface, format, rect, &hardwareLock) != 0)
    return -1;
  std::memset(view, 0, sizeof *view);
  view->format = *colorFormat;
  view->width = area.right - area.left;
  view->height = area.bottom - area.top;
  view->pitch = hardwareLock.bits.Pitch;
  view->pixels = hardwareLock.bits.pBits;
  return 0;
}

}  // namespace

int LockSurfaceDirect(port::Direct3DSurface9Handle surface, const port::WindowRect& area,
                      SurfaceLock* lock) {
  std::memset(lock, 0, sizeof *lock);
  if (port::IDirect3DSurface9_LockRect(surface, &lock->bits, &area, port::D3DLOCK_READONLY) < 0)
    return -1;
  lock->locked = surface;
  return 0;
}

int LockSurfaceByCopy(port::Direct3DSurface9Handle surface, uint32_t format,
                      const port::WindowRect& area, SurfaceLock* lock) {
  std::memset(lock, 0, sizeof *lock);
  port::Direct3DDevice9Handle device = displayDevice.device;
  uint32_t width = uint32_t(area.right - area.left);
  uint32_t height = uint32_t(area.bottom - area.top);
  port::Direct3DSurface9Handle target = nullptr;
  if (port::IDirect3DDevice9_CreateRenderTarget(device, width, height, format,
                                                port::D3DMULTISAMPLE_NONE, 0, 0, &target) < 0)
    return WriteLog("バックバッファロック用描画可能サーフェスの作成に失敗しました\n");
  port::Direct3DSurface9Handle copy = nullptr;
  if (port::IDirect3DDevice9_CreateOffscreenPlainSurface(device, width, height, format,
                                                         port::D3DPOOL_SYSTEMMEM, &copy) < 0) {
    port::IDirect3DSurface9_Release(target);
    return WriteLog("バックバッファロック用システムメモリサーフェスの作成に失敗しました\n");
  }
  bool copied =
      port::IDirect3DDevice9_StretchRect(device, surface, &area, target, nullptr,
                                         port::D3DTEXF_NONE) >= 0 &&
      port::IDirect3DDevice9_GetRenderTargetData(device, target, copy) >= 0;
  port::IDirect3DSurface9_Release(target);
  if (!copied ||
      port::IDirect3DSurface9_LockRect(copy, &lock->bits, nullptr, port::D3DLOCK_READONLY) < 0) {
    port::IDirect3DSurface9_Release(copy);
    return -1;
  }
  lock->locked = copy;
  lock->isCopy = 1;
  return 0;
}

void UnlockSurface(SurfaceLock* lock) {
  if (lock->locked == nullptr) return;
  port::IDirect3DSurface9_UnlockRect(lock->locked);
  if (lock->isCopy) port::IDirect3DSurface9_Release(lock->locked);
  std::memset(lock, 0, sizeof *lock);
}

int LockDrawScreen(const Rect& area, PixelImage* view) {
  if (!graphicsStarted) return -1;
  if (hardwareMode) {
    FlushBatch();
    EndSceneIfOpen();
  }
  if (area.left < 0 || area.left >= area.right || area.right > drawTargetWidth || area.top < 0 ||
      area.top >= area.bottom || area.bottom > drawTargetHeight)
    return -1;
  if (hardwareMode) {
    if (LockHardwareScreen(area, view) != 0) return -1;
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
  if (drawScreenLocked) UnlockSurface(&hardwareLock);
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
