// GDI's transfers of a software-rendered frame to the window, and the
// display settings (mode list and full-screen mode changes). Names and
// argument values are the platform's own; the structures are the portable
// subsets of the ones the platform takes.
#pragma once

#include <cstdint>

#include "engine/platform/WindowPort.h"

namespace port {

// The fields of DEVMODEA that the engine reads and writes.
struct DisplaySettings {
  uint32_t dmSize;  // DEVMODE_SIZE
  uint32_t dmFields;
  uint32_t dmBitsPerPel;
  uint32_t dmPelsWidth;
  uint32_t dmPelsHeight;
  uint32_t dmDisplayFrequency;
};
constexpr uint32_t DEVMODE_SIZE = 156;
constexpr uint32_t DM_BITSPERPEL = 0x00040000;
constexpr uint32_t DM_PELSWIDTH = 0x00080000;
constexpr uint32_t DM_PELSHEIGHT = 0x00100000;
constexpr uint32_t DM_DISPLAYFREQUENCY = 0x00400000;

constexpr uint32_t CDS_FULLSCREEN = 0x00000004;
constexpr long DISP_CHANGE_SUCCESSFUL = 0;
constexpr long DISP_CHANGE_FAILED = -1;

// Mode number modeNumber of the display (deviceName null: the primary one);
// 0 past the last mode.
int EnumDisplaySettingsA(const char* deviceName, uint32_t modeNumber, DisplaySettings* mode);
// mode null puts the desktop's registry mode back.
long ChangeDisplaySettingsA(const DisplaySettings* mode, uint32_t flags);

// The device context comes from GetDC of WindowPort.h.

// BITMAPINFO with BI_BITFIELDS: the header followed by the three colour
// masks.
struct BitmapInfo {
  uint32_t biSize;  // 40
  int32_t biWidth;
  int32_t biHeight;  // negative: rows top-down
  uint16_t biPlanes;
  uint16_t biBitCount;
  uint32_t biCompression;
  uint32_t biSizeImage;
  int32_t biXPelsPerMeter;
  int32_t biYPelsPerMeter;
  uint32_t biClrUsed;
  uint32_t biClrImportant;
  uint32_t masks[3];  // red, green, blue
};
constexpr uint32_t BI_BITFIELDS = 3;
constexpr unsigned DIB_RGB_COLORS = 0;
constexpr uint32_t SRCCOPY = 0x00CC0020;

// The scan lines startScan .. startScan+lines-1 of a DIB to the device
// context, unscaled; the number of lines set, 0 on failure.
int SetDIBitsToDevice(DeviceContext dc, int xDest, int yDest, uint32_t width, uint32_t height,
                      int xSrc, int ySrc, uint32_t startScan, uint32_t lines, const void* bits,
                      const BitmapInfo* info, unsigned colorUse);
// A rectangle of a DIB stretched to the destination rectangle; the number
// of lines copied, 0 on failure.
int StretchDIBits(DeviceContext dc, int xDest, int yDest, int destWidth, int destHeight, int xSrc,
                  int ySrc, int srcWidth, int srcHeight, const void* bits, const BitmapInfo* info,
                  unsigned colorUse, uint32_t rop);

}  // namespace port
