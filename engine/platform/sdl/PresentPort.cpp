// Display settings over SDL's display modes, and the software screen shown
// through a streaming SDL texture on the main window's renderer.
#include <SDL.h>

#include <cstdlib>
#include <string>  // SdlWindow.h uses std::string

#include "engine/platform/PresentPort.h"
#include "engine/platform/sdl/SdlWindow.h"

namespace {

// The renderer and texture that show the frames of one window.
struct FrameTarget {
  SDL_Window* window = nullptr;
  SDL_Renderer* renderer = nullptr;
  SDL_Texture* texture = nullptr;
  uint32_t textureFormat = 0;
  int textureWidth = 0, textureHeight = 0;
};
FrameTarget frameTarget;

uint32_t SdlFormatOf(const port::BitmapInfo& info) {
  if (info.biBitCount == 32 && info.masks[0] == 0xFF0000 && info.masks[1] == 0xFF00 &&
      info.masks[2] == 0xFF)
    return SDL_PIXELFORMAT_RGB888;
  if (info.biBitCount == 16 && info.masks[0] == 0xF800 && info.masks[1] == 0x07E0 &&
      info.masks[2] == 0x001F)
    return SDL_PIXELFORMAT_RGB565;
  if (info.biBitCount == 16 && info.masks[0] == 0x7C00 && info.masks[1] == 0x03E0 &&
      info.masks[2] == 0x001F)
    return SDL_PIXELFORMAT_RGB555;
  return SDL_PIXELFORMAT_UNKNOWN;
}

bool PrepareTarget(SDL_Window* window, uint32_t format, int width, int height) {
  if (frameTarget.window != window) {
    if (frameTarget.texture) SDL_DestroyTexture(frameTarget.texture);
    frameTarget = FrameTarget{};
    frameTarget.window = window;
    frameTarget.renderer = SDL_GetRenderer(window);
    if (frameTarget.renderer == nullptr) frameTarget.renderer = SDL_CreateRenderer(window, -1, 0);
    if (frameTarget.renderer == nullptr) return false;
  }
  if (frameTarget.texture == nullptr || frameTarget.textureFormat != format ||
      frameTarget.textureWidth != width || frameTarget.textureHeight != height) {
    if (frameTarget.texture) SDL_DestroyTexture(frameTarget.texture);
    frameTarget.texture = SDL_CreateTexture(frameTarget.renderer, format,
                                            SDL_TEXTUREACCESS_STREAMING, width, height);
    frameTarget.textureFormat = format;
    frameTarget.textureWidth = width;
    frameTarget.textureHeight = height;
  }
  return frameTarget.texture != nullptr;
}

// The DIB's top rows (it must be top-down) onto the destination rectangle.
int ShowFrame(port::DeviceContext dc, int xDest, int yDest, int destWidth, int destHeight,
              int width, int height, const void* bits, const port::BitmapInfo* info) {
  SDL_Window* window = sdlwindow::WindowOfDeviceContext(dc);
  if (window == nullptr || bits == nullptr || info == nullptr || info->biHeight >= 0 ||
      width <= 0 || height <= 0)
    return 0;
  uint32_t format = SdlFormatOf(*info);
  if (format == SDL_PIXELFORMAT_UNKNOWN || !PrepareTarget(window, format, width, height)) return 0;
  int pitch = ((std::abs(info->biWidth) * info->biBitCount / 8) + 3) & ~3;
  if (SDL_UpdateTexture(frameTarget.texture, nullptr, bits, pitch) != 0) return 0;
  SDL_Rect destination = {xDest, yDest, destWidth, destHeight};
  SDL_RenderClear(frameTarget.renderer);
  SDL_RenderCopy(frameTarget.renderer, frameTarget.texture, nullptr, &destination);
  SDL_RenderPresent(frameTarget.renderer);
  return height;
}

}  // namespace

namespace port {

int EnumDisplaySettingsA(const char*, uint32_t modeNumber, DisplaySettings* mode) {
  if (SDL_WasInit(SDL_INIT_VIDEO) == 0 && SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return 0;
  if (int(modeNumber) >= SDL_GetNumDisplayModes(0)) return 0;
  SDL_DisplayMode displayMode;
  if (SDL_GetDisplayMode(0, int(modeNumber), &displayMode) != 0) return 0;
  mode->dmSize = DEVMODE_SIZE;
  mode->dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT | DM_DISPLAYFREQUENCY;
  mode->dmBitsPerPel = SDL_BITSPERPIXEL(displayMode.format) == 24 ? 32 : SDL_BITSPERPIXEL(displayMode.format);
  mode->dmPelsWidth = uint32_t(displayMode.w);
  mode->dmPelsHeight = uint32_t(displayMode.h);
  mode->dmDisplayFrequency = uint32_t(displayMode.refresh_rate);
  return 1;
}

long ChangeDisplaySettingsA(const DisplaySettings*, uint32_t) { return DISP_CHANGE_SUCCESSFUL; }


int SetDIBitsToDevice(DeviceContext dc, int xDest, int yDest, uint32_t width, uint32_t height,
                      int, int, uint32_t, uint32_t, const void* bits, const BitmapInfo* info,
                      unsigned) {
  return ShowFrame(dc, xDest, yDest, int(width), int(height), int(width), int(height), bits, info);
}

int StretchDIBits(DeviceContext dc, int xDest, int yDest, int destWidth, int destHeight, int, int,
                  int srcWidth, int srcHeight, const void* bits, const BitmapInfo* info, unsigned,
                  uint32_t) {
  return ShowFrame(dc, xDest, yDest, destWidth, destHeight, srcWidth, srcHeight, bits, info);
}

}  // namespace port
