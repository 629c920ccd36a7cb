#include "engine/graphics/display/Presentation.h"

#include "engine/core/EngineSettings.h"
#include "engine/core/MainWindow.h"
#include "engine/core/Time.h"
#include "engine/graphics/display/Screen.h"
#include "engine/graphics/display/VerticalBlank.h"
#include "engine/graphics/display/WindowHooks.h"
#include "engine/graphics/hardware/HardwareScene.h"
#include "engine/graphics/records/DisplayDevice.h"
#include "engine/graphics/records/GraphicsMode.h"
#include "engine/graphics/software/SoftwareScreen.h"
#include "engine/images/ColorFormat.h"
#include "engine/platform/PresentPort.h"
#include "engine/platform/WindowPort.h"

PresentOptions presentOptions;

namespace {

// The screen image as a top-down DIB with the image's colour masks. The
// DIB is as wide as the image's pitch, so that its rows line up with the
// image's; only the screen's own columns are transferred.
port::BitmapInfo ScreenBitmapInfo(const MEMIMG& screen) {
  const MemImgStore& store = *screen.store;
  port::BitmapInfo info{};
  info.biSize = 40;
  info.biWidth = store.pitch / MemImgBytesPerPixel(store);
  info.biHeight = -screen.height;
  info.biPlanes = 1;
  info.biBitCount = uint16_t(store.format->bitsPerPixel);
  info.biCompression = port::BI_BITFIELDS;
  info.masks[0] = store.format->redMask;
  info.masks[1] = store.format->greenMask;
  info.masks[2] = store.format->blueMask;
  return info;
}

int PresentSoftwareScreen(int waitForVerticalBlank) {
  if (!IsMemImgValid(&screenMemImg)) return 0;
  if (waitForVerticalBlank && !presentOptions.noVerticalSyncWait) WaitForVerticalBlankPaced();
  int width = screenMemImg.width;
  int height = screenMemImg.height;
  // The window's client area is the screen size times the window's size
  // rates. (With the 320 x 240 emulation the screen is already the 640 x
  // 480 the display shows.)
  int destWidth = int(width * WINDOW_SIZE_RATE_X);
  int destHeight = int(height * WINDOW_SIZE_RATE_Y);
  port::BitmapInfo info = ScreenBitmapInfo(screenMemImg);
  port::DeviceContext dc = port::GetDC(mainWindow);
  if (dc == nullptr) return 0;
  if (destWidth == width && destHeight == height)
    port::SetDIBitsToDevice(dc, 0, 0, uint32_t(width), uint32_t(height), 0, 0, 0,
                            uint32_t(height), screenMemImg.pixels, &info, port::DIB_RGB_COLORS);
  else
    port::StretchDIBits(dc, 0, 0, destWidth, destHeight, 0, 0, width, height, screenMemImg.pixels,
                        &info, port::DIB_RGB_COLORS, port::SRCCOPY);
  port::ReleaseDC(mainWindow, dc);
  return 0;
}

// The whole screen, shown through the swap chain: the sub back buffer (if
// any) is copied to the back buffer first. In window mode the picture goes
// to the client area (the screen size times the window's size rates).
int PresentDeviceScreen(int waitForVerticalBlank) {
  port::Direct3DDevice9Handle device = displayDevice.device;
  if (device == nullptr || displayDevice.swapChain == nullptr) return -1;
  FlushBatch();
  EndSceneIfOpen();
  if (displayDevice.subBackBuffer != nullptr &&
      port::IDirect3DDevice9_StretchRect(device, displayDevice.subBackBuffer, nullptr,
                                         displayDevice.backBuffer, nullptr,
                                         port::D3DTEXF_NONE) < 0)
    return -1;
  int width = ScreenWidth();
  int height = ScreenHeight();
  uint64_t start = NowMicroseconds(1);
  port::HResult result;
  if (windowModeFlag != 0) {
    port::WindowRect source = {0, 0, width, height};
    port::WindowRect destination = {0, 0, int(width * WINDOW_SIZE_RATE_X),
                                    int(height * WINDOW_SIZE_RATE_Y)};
    result = port::IDirect3DSwapChain9_Present(displayDevice.swapChain, &source, &destination,
                                               mainWindow, nullptr, 0);
  } else {
    result = port::IDirect3DSwapChain9_Present(displayDevice.swapChain, nullptr, nullptr,
                                               mainWindow, nullptr, 0);
  }
  if (result < 0) return -1;
  // A Present that returned at once did not wait for the display: pace the
  // frame ourselves. (The option to keep running while inactive, which
  // also gates this wait, does not exist in this engine: treated as on.)
  if (waitForVerticalBlank && !presentOptions.noVerticalSyncWait &&
      NowMicroseconds(1) - start < 500)
    WaitForVerticalBlankPaced();
  return 0;
}

}  // namespace

int PresentScreen(const Rect* area, int waitForVerticalBlank) {
  (void)area;  // the software copy always transfers the whole screen
  if (!engineStarted || mustEnd) return -1;
  if (!graphicsStarted) return -1;
  if (hardwareMode) return PresentDeviceScreen(waitForVerticalBlank);
  return PresentSoftwareScreen(waitForVerticalBlank);
}

int PresentFrame() { return PresentScreen(nullptr, 1); }

int PresentFrameArea(const Rect* area, int waitForVerticalBlank) {
  return PresentScreen(area, waitForVerticalBlank);
}
