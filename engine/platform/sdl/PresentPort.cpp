// Display settings over SDL's display modes. Presentation of the software
// screen through an SDL texture follows with the window emulation.
#include <SDL.h>

#include "engine/platform/PresentPort.h"

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


int SetDIBitsToDevice(DeviceContext, int, int, uint32_t, uint32_t, int, int, uint32_t, uint32_t,
                      const void*, const BitmapInfo*, unsigned) {
  return 0;
}

int StretchDIBits(DeviceContext, int, int, int, int, int, int, int, int, const void*,
                  const BitmapInfo*, unsigned, uint32_t) {
  return 0;
}

}  // namespace port
