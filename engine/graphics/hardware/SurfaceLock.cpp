#include "engine/graphics/hardware/SurfaceLock.h"

#include <cstring>

#include "engine/graphics/hardware/TextureFormats.h"
#include "engine/graphics/records/DisplayDevice.h"
#include "engine/graphics/records/GraphTable.h"
#include "engine/graphics/records/TextureSet.h"
#include "engine/images/PixelImage.h"
#include "engine/services/Log.h"

namespace {

SurfaceLock hardwareLock;

// The surface of the target and its format: the graph's texture, or the sub
// back buffer or back buffer with the back buffer's format.
bool TargetSurface(GraphRecord* graph, port::Direct3DSurface9Handle* surface, uint32_t* format,
                   int* left, int* top) {
  *left = *top = 0;
  if (graph != nullptr) {
    if (graph->textureSet->pieceCount < 1) return false;
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

int LockDeviceTarget(GraphRecord* graph, const Rect& area, PixelImage* view) {
  port::Direct3DSurface9Handle surface;
  uint32_t format;
  int left, top;
  if (!TargetSurface(graph, &surface, &format, &left, &top)) return -1;
  const ColorFormat* colorFormat = D3DFormatColorFormat(format);
  if (colorFormat == nullptr) return -1;
  port::WindowRect rect = {area.left + left, area.top + top, area.right + left, area.bottom + top};
  if (!(graph == nullptr && displayDevice.useBackBufferLock &&
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

void UnlockDeviceTarget() { UnlockSurface(&hardwareLock); }
