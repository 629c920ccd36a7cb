// GDI transfers and display settings, forwarded to user32 and gdi32.
//
// The port header comes before <windows.h>, whose macros carry the names of
// the port's constants.
#include "engine/platform/PresentPort.h"

#include <windows.h>

#include <cstring>

namespace {

void ToDevMode(const port::DisplaySettings& mode, DEVMODEA* devMode) {
  std::memset(devMode, 0, sizeof *devMode);
  devMode->dmSize = sizeof *devMode;
  devMode->dmFields = mode.dmFields;
  devMode->dmBitsPerPel = mode.dmBitsPerPel;
  devMode->dmPelsWidth = mode.dmPelsWidth;
  devMode->dmPelsHeight = mode.dmPelsHeight;
  devMode->dmDisplayFrequency = mode.dmDisplayFrequency;
}

}  // namespace

namespace port {

static_assert(sizeof(DEVMODEA) == DEVMODE_SIZE, "DEVMODEA is 156 bytes");
static_assert(sizeof(BitmapInfo) == sizeof(BITMAPINFOHEADER) + 3 * sizeof(DWORD),
              "BitmapInfo is BITMAPINFO with three masks");

int EnumDisplaySettingsA(const char* deviceName, uint32_t modeNumber, DisplaySettings* mode) {
  DEVMODEA devMode;
  std::memset(&devMode, 0, sizeof devMode);
  devMode.dmSize = sizeof devMode;
  if (!::EnumDisplaySettingsA(deviceName, modeNumber, &devMode)) return 0;
  mode->dmSize = devMode.dmSize;
  mode->dmFields = devMode.dmFields;
  mode->dmBitsPerPel = devMode.dmBitsPerPel;
  mode->dmPelsWidth = devMode.dmPelsWidth;
  mode->dmPelsHeight = devMode.dmPelsHeight;
  mode->dmDisplayFrequency = devMode.dmDisplayFrequency;
  return 1;
}

long ChangeDisplaySettingsA(const DisplaySettings* mode, uint32_t flags) {
  if (mode == nullptr) return ::ChangeDisplaySettingsA(nullptr, flags);
  DEVMODEA devMode;
  ToDevMode(*mode, &devMode);
  return ::ChangeDisplaySettingsA(&devMode, flags);
}

int SetDIBitsToDevice(DeviceContext dc, int xDest, int yDest, uint32_t width, uint32_t height,
                      int xSrc, int ySrc, uint32_t startScan, uint32_t lines, const void* bits,
                      const BitmapInfo* info, unsigned colorUse) {
  return ::SetDIBitsToDevice(static_cast<HDC>(dc), xDest, yDest, width, height, xSrc, ySrc,
                             startScan, lines, bits, reinterpret_cast<const BITMAPINFO*>(info),
                             colorUse);
}

int StretchDIBits(DeviceContext dc, int xDest, int yDest, int destWidth, int destHeight, int xSrc,
                  int ySrc, int srcWidth, int srcHeight, const void* bits, const BitmapInfo* info,
                  unsigned colorUse, uint32_t rop) {
  return ::StretchDIBits(static_cast<HDC>(dc), xDest, yDest, destWidth, destHeight, xSrc, ySrc,
                         srcWidth, srcHeight, bits, reinterpret_cast<const BITMAPINFO*>(info),
                         colorUse, rop);
}

}  // namespace port
