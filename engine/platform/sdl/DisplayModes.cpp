// Display modes emulated on the desktop's own: changing the monitor's video
// mode is something desktops on Linux handle badly, so a full-screen mode
// is shown by covering the desktop with the full-screen window and scaling
// its picture (SdlWindow.h, PresentPort.cpp). The monitor keeps its mode,
// and the desktop is left as it was whatever way the program ends.
//
// The modes offered are the classic sizes that fit the desktop (640 x 480
// and 800 x 600 always, as every display of the platform offers them) and
// the desktop's own, each in 16 and 32 bits, at the desktop's refresh rate.
#include <SDL.h>

#include <algorithm>
#include <string>  // SdlWindow.h uses std::string
#include <vector>

#include "engine/platform/PresentPort.h"
#include "engine/platform/sdl/SdlWindow.h"

namespace {

struct ModeSize {
  int width, height;
  bool operator<(const ModeSize& other) const {
    return width != other.width ? width < other.width : height < other.height;
  }
  bool operator==(const ModeSize& other) const { return width == other.width && height == other.height; }
};

constexpr ModeSize ALWAYS_OFFERED[] = {{640, 480}, {800, 600}};
constexpr ModeSize CLASSIC_SIZES[] = {
    {1024, 768}, {1152, 864}, {1280, 720}, {1280, 768}, {1280, 800}, {1280, 960}, {1280, 1024},
    {1360, 768}, {1366, 768}, {1440, 900}, {1600, 900}, {1600, 1200}, {1680, 1050}, {1920, 1080},
    {1920, 1200}, {2560, 1440}, {2560, 1600}, {3840, 2160},
};
constexpr uint32_t MODE_BITS[] = {16, 32};

bool DesktopMode(SDL_DisplayMode* desktop) {
  if (SDL_WasInit(SDL_INIT_VIDEO) == 0 && SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
  return SDL_GetDesktopDisplayMode(0, desktop) == 0;
}

// The sizes offered, smallest first; empty without a desktop.
std::vector<ModeSize> OfferedSizes() {
  SDL_DisplayMode desktop;
  if (!DesktopMode(&desktop)) return {};
  std::vector<ModeSize> sizes(std::begin(ALWAYS_OFFERED), std::end(ALWAYS_OFFERED));
  sizes.push_back({desktop.w, desktop.h});
  for (const ModeSize& size : CLASSIC_SIZES)
    if (size.width <= desktop.w && size.height <= desktop.h) sizes.push_back(size);
  std::sort(sizes.begin(), sizes.end());
  sizes.erase(std::unique(sizes.begin(), sizes.end()), sizes.end());
  return sizes;
}

}  // namespace

namespace port {

int EnumDisplaySettingsA(const char*, uint32_t modeNumber, DisplaySettings* mode) {
  SDL_DisplayMode desktop;
  if (!DesktopMode(&desktop)) return 0;
  const std::vector<ModeSize> sizes = OfferedSizes();
  const size_t bitsCount = std::size(MODE_BITS);
  if (modeNumber >= sizes.size() * bitsCount) return 0;
  const ModeSize& size = sizes[modeNumber / bitsCount];
  mode->dmSize = DEVMODE_SIZE;
  mode->dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT | DM_DISPLAYFREQUENCY;
  mode->dmBitsPerPel = MODE_BITS[modeNumber % bitsCount];
  mode->dmPelsWidth = uint32_t(size.width);
  mode->dmPelsHeight = uint32_t(size.height);
  mode->dmDisplayFrequency = uint32_t(desktop.refresh_rate);
  return 1;
}

// A mode is set when it is one of the modes offered (a refresh rate, when
// one is given, must be the desktop's); CDS_FULLSCREEN or not, it lasts
// until a null mode puts the desktop's back.
long ChangeDisplaySettingsA(const DisplaySettings* mode, uint32_t) {
  if (mode == nullptr) return sdlwindow::SetDisplayMode(nullptr) ? DISP_CHANGE_SUCCESSFUL : DISP_CHANGE_FAILED;
  SDL_DisplayMode desktop;
  if (!DesktopMode(&desktop)) return DISP_CHANGE_FAILED;
  const uint32_t sized = DM_PELSWIDTH | DM_PELSHEIGHT;
  if ((mode->dmFields & sized) != sized) return DISP_CHANGE_FAILED;
  const ModeSize size{int(mode->dmPelsWidth), int(mode->dmPelsHeight)};
  const std::vector<ModeSize> sizes = OfferedSizes();
  if (std::find(sizes.begin(), sizes.end(), size) == sizes.end()) return DISP_CHANGE_FAILED;
  if ((mode->dmFields & DM_BITSPERPEL) &&
      std::find(std::begin(MODE_BITS), std::end(MODE_BITS), mode->dmBitsPerPel) == std::end(MODE_BITS))
    return DISP_CHANGE_FAILED;
  if ((mode->dmFields & DM_DISPLAYFREQUENCY) && mode->dmDisplayFrequency != 0 &&
      mode->dmDisplayFrequency != uint32_t(desktop.refresh_rate))
    return DISP_CHANGE_FAILED;
  const emulated::PictureSize picture{size.width, size.height};
  return sdlwindow::SetDisplayMode(&picture) ? DISP_CHANGE_SUCCESSFUL : DISP_CHANGE_FAILED;
}

}  // namespace port
